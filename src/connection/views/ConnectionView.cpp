#include "ConnectionView.h"
