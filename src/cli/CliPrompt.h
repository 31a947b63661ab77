#pragma once
// Questions answered from the command line: the text goes to stderr with the
// answer chosen by an option.

#include <cstdio>
#include <string>

#include "Prompt.h"

class CCliPrompt final : public IPrompt {
public:
    explicit CCliPrompt(bool answerYes) : m_bAnswerYes(answerYes) {}
    void Show(EPromptKind, const std::string& text) override { std::fprintf(stderr, "quorvel-cli: %s\n", text.c_str()); }
    bool AskYesNo(const std::string& text) override {
        std::fprintf(stderr, "quorvel-cli: %s\nquorvel-cli: answered %s\n", text.c_str(), m_bAnswerYes ? "Yes" : "No");
        return m_bAnswerYes;
    }

private:
    bool m_bAnswerYes;
};
