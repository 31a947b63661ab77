#pragma once
// The Output viewer: the project's output text, always scrolled to its newest line.

#include <QPlainTextEdit>

class COutputView final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit COutputView(QWidget* parent = nullptr);
    void SetText(const std::string& text);
};
