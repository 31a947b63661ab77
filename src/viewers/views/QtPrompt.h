#pragma once
// The prompt of the desktop application: message boxes over a parent window.

#include <QWidget>

#include "Prompt.h"

class CQtPrompt final : public IPrompt {
public:
    explicit CQtPrompt(QWidget* parent = nullptr) : m_pParent(parent) {}
    void SetParent(QWidget* parent) { m_pParent = parent; }
    void Show(EPromptKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    QWidget* m_pParent;
};
