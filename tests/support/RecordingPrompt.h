#pragma once
// A prompt that remembers what it was asked to show and answers Yes or No as told.

#include <string>
#include <vector>

#include "Prompt.h"

struct CRecordingPrompt final : IPrompt {
    void Show(EPromptKind, const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        shown.push_back(text);
        return answerYes;
    }
    std::string Last() const { return shown.empty() ? std::string() : shown.back(); }

    std::vector<std::string> shown;
    bool answerYes = true;
};
