#include "OutputView.h"

#include <QFontDatabase>
#include <QScrollBar>

COutputView::COutputView(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName("2312");
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

void COutputView::SetText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    setPlainText(shown);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
