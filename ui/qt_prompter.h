// The desktop program's Prompter: message boxes with the program's icons,
// captions and button texts from the language file, and the "Input Password"
// dialog.
#pragma once

#include <functional>

#include "text/prompter.h"

class QWidget;

namespace vrm {

class LanguageTable;

class QtPrompter final : public Prompter {
public:
    // `parent` gives the window the boxes belong to (may return null).
    QtPrompter(const LanguageTable& language, std::function<QWidget*()> parent);

    Answer Ask(const Message& message) override;
    PasswordResult AskPassword(PasswordGate& gate) override;

    // What the password dialog's Help button does.
    void SetPasswordHelp(std::function<void()> help) { passwordHelp_ = std::move(help); }

private:
    const LanguageTable& language_;
    std::function<QWidget*()> parent_;
    std::function<void()> passwordHelp_;
};

}  // namespace vrm
