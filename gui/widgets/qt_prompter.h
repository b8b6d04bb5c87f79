// The desktop program's Prompter: message boxes with the program's icons,
// captions and button texts from the language file, and the "Input Password"
// dialog.
#pragma once

#include <csignal>
#include <functional>

#include "core/base/prompter.h"

class QWidget;

namespace vrm {

class LanguageTable;

class QtPrompter final : public Prompter {
public:
    // `parent` gives the window the boxes belong to (may return null).
    QtPrompter(const LanguageTable& language, std::function<QWidget*()> parent);

    Answer Ask(const Message& message) override;
    PasswordResult AskPassword(PasswordGate& gate) override;

    // While the flag is set (the desktop session is ending) nobody is there
    // to answer: every question takes its default answer without a box, so
    // that a transfer stopped for the end of the session can finish its
    // closing steps. One flag for the process.
    static void SetUnattendedFlag(const volatile std::sig_atomic_t* flag);

    // What the password dialog's Help button does.
    void SetPasswordHelp(std::function<void()> help) { passwordHelp_ = std::move(help); }

private:
    const LanguageTable& language_;
    std::function<QWidget*()> parent_;
    std::function<void()> passwordHelp_;
};

}  // namespace vrm
