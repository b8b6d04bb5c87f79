// Test doubles for the shell's seams: a Prompter that answers from a script
// and records every message, and FileDialogs that answer from a script and
// record every request.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/document/file_dialogs.h"
#include "core/base/prompter.h"

namespace vrm::test {

class ScriptedPrompter final : public Prompter {
public:
    // Answers given in order; when the script runs out, the message's
    // default answer (Ok for a box with only OK).
    std::deque<Answer> answers;
    // Password entries submitted in order; std::nullopt is Cancel. When the
    // script runs out the prompt is cancelled.
    std::deque<std::optional<std::string>> passwords;

    std::vector<Message> asked;
    int passwordPrompts = 0;

    Answer Ask(const Message& message) override {
        asked.push_back(message);
        if (message.buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return message.defaultAnswer;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    PasswordResult AskPassword(PasswordGate& gate) override {
        ++passwordPrompts;
        for (;;) {
            if (passwords.empty()) return PasswordResult::Cancelled;
            const std::optional<std::string> entry = passwords.front();
            passwords.pop_front();
            if (!entry) return PasswordResult::Cancelled;
            switch (gate.Submit(*entry)) {
                case PasswordGate::Verdict::Accepted: return PasswordResult::Accepted;
                case PasswordGate::Verdict::Refused: return PasswordResult::Refused;
                case PasswordGate::Verdict::TryAgain: Ask(gate.WrongEntryMessage()); break;
            }
        }
    }

    std::vector<int> TextIds() const {
        std::vector<int> ids;
        for (const Message& m : asked) ids.push_back(m.textId);
        return ids;
    }
};

class ScriptedFileDialogs final : public FileDialogs {
public:
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

    std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override {
        openRequests.push_back(request);
        if (openAnswers.empty()) return std::nullopt;
        auto a = openAnswers.front();
        openAnswers.pop_front();
        return a;
    }
    std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) return std::nullopt;
        auto a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
};

}  // namespace vrm::test
