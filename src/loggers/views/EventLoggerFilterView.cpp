#include "EventLoggerFilterView.h"
