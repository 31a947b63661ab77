#include "EventLoggerView.h"

#include "EventLogger.h"

CEventLoggerView::CEventLoggerView(CQuorvelDoc& document, QWidget* parent)
    : CLoggerListView(document,
                      {1, 1, 9650, QV_COLUMN_MARGIN_LOGGER,
                       {"Empty Event History", "Empty list contol (only the screen will be deleted but not the history)",
                        "Refresh the list of events from history and NORV", "Disable the refresh of the list of events"},
                       [](const CInfoContainer& record, std::int32_t column) {
                           return EventCellText(static_cast<const CEventInfoContainer&>(record), column);
                       }},
                      parent) {}
