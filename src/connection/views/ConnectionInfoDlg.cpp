#include "ConnectionInfoDlg.h"
