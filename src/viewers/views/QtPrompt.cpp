#include "QtPrompt.h"

#include <QMessageBox>

void CQtPrompt::Show(EPromptKind kind, const std::string& text) {
    const QString message = QString::fromStdString(text);
    switch (kind) {
        case PROMPT_INFORMATION: QMessageBox::information(m_pParent, "Quorvel", message); break;
        case PROMPT_WARNING: QMessageBox::warning(m_pParent, "Quorvel", message); break;
        case PROMPT_ERROR: QMessageBox::critical(m_pParent, "Quorvel", message); break;
    }
}

bool CQtPrompt::AskYesNo(const std::string& text) {
    return QMessageBox::question(m_pParent, "Quorvel", QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
