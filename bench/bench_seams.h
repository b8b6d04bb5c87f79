// The seams the desktop benchmarks hand the program in place of a user: every
// question answered with its default, every file dialog cancelled.
#pragma once

#include <optional>
#include <string>

#include "core/base/prompter.h"
#include "core/document/file_dialogs.h"

namespace vrm::bench {

class DefaultAnswers : public Prompter {
public:
    Answer Ask(const Message& m) override { return m.defaultAnswer; }
    PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
};

class NoFileDialogs : public FileDialogs {
public:
    std::optional<std::string> AskOpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> AskSaveFile(const FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace vrm::bench
