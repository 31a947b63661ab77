#include "EventLoggerView.h"
