#pragma once
// The context bar's content: the panes that the selected viewer contributes (its
// filter pane, for a logger), one tab each.

#include <QTabWidget>

class CContextBar final : public QTabWidget {
public:
    explicit CContextBar(QWidget* parent = nullptr) : QTabWidget(parent) { setDocumentMode(true); }
    void RemoveAllPanes() {
        while (count() > 0) {
            QWidget* pane = widget(0);
            removeTab(0);
            delete pane;
        }
    }
    void AddPane(const QString& title, QWidget* pane) {
        addTab(pane, title);
        setCurrentIndex(0);
    }
};
