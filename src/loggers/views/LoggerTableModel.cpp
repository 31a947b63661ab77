#include "LoggerTableModel.h"
