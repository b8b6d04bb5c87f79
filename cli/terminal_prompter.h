// The Prompter of vrm650t-cli: messages go to stderr; questions are answered
// by --yes when the command was given it, else asked on the terminal, else
// (no terminal: a script, a pipe) answered with the safe choice, Cancel or No.
// The data-file password comes from --password, else from the terminal with
// echo off, else the prompt gives up.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "core/base/prompter.h"

namespace vrm {
class LanguageTable;
}

namespace vrm::cli {

class TerminalPrompter : public Prompter {
public:
    // `language` gives the button and prompt texts (may be null: then the
    // answers are the plain letters y/n/o/c). `inputFd` is the terminal to
    // ask on when it is one (normally 0, stdin).
    TerminalPrompter(std::ostream& err, const LanguageTable* language, int inputFd = 0);

    // --yes: every question is answered OK or Yes.
    void SetAssumeYes(bool yes) { assumeYes_ = yes; }
    // --password DIGITS: the one entry the password prompt submits.
    void SetPassword(std::optional<std::string> password) { password_ = std::move(password); }
    // The name the password messages mention (the data file).
    void SetSubject(std::string subject) { subject_ = std::move(subject); }

    Answer Ask(const Message& message) override;
    PasswordResult AskPassword(PasswordGate& gate) override;

    // True when the input is a terminal one can ask on.
    bool Interactive() const;
    // How many messages and questions were shown (for callers that want to
    // know whether the user has already been told something).
    int Shown() const { return shown_; }

private:
    std::string Text(std::uint32_t id) const;
    bool ReadLine(std::string& line, bool echo) const;
    void Show(const Message& message);

    std::ostream& err_;
    const LanguageTable* language_;
    int inputFd_;
    bool assumeYes_ = false;
    std::optional<std::string> password_;
    std::string subject_;
    int shown_ = 0;
};

}  // namespace vrm::cli
