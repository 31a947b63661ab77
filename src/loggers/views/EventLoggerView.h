#pragma once
// The event logger's list: every sound event the game triggers, newest on top.

#include "LoggerListView.h"

class CEventLoggerView final : public CLoggerListView {
    Q_OBJECT
public:
    explicit CEventLoggerView(CQuorvelDoc& document, QWidget* parent = nullptr);
};
