#pragma once
// How core code asks the user something or tells them something: the application
// answers with message boxes, tests and the command-line tool with scripted answers.

#include <string>

enum EPromptKind { PROMPT_INFORMATION, PROMPT_WARNING, PROMPT_ERROR };

struct IPrompt {
    virtual void Show(EPromptKind kind, const std::string& text) = 0;
    // True for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;

protected:
    ~IPrompt() = default;
};
