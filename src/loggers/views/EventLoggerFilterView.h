#pragma once
// The event logger's filter pane: the common pane with the eight event criteria.

#include "FilterView.h"

class CEventLoggerFilterView final : public CFilterView {
    Q_OBJECT
public:
    using CFilterView::CFilterView;

protected:
    void AddDescriptorRows(CFilterDescriptor& descriptor, QTreeWidgetItem* group) override;
    void OnDescriptorRowChanged(CFilterDescriptor& descriptor, QTreeWidgetItem* row) override;
};
