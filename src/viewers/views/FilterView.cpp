#include "FilterView.h"
