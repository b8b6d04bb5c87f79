// "Input Password": asks for the password of a protected data file. The
// PasswordGate holds the rule; the dialog collects entries until the gate
// accepts or refuses one, or the user cancels.
#pragma once

#include <QDialog>
#include <functional>

#include "core/base/prompter.h"

class QLineEdit;
class QPushButton;

namespace vrm {

class LanguageTable;

class PasswordDialog final : public QDialog {
    Q_OBJECT
public:
    // Wrong entries are reported through `prompter` (the gate's message).
    PasswordDialog(const LanguageTable& language, PasswordGate& gate, Prompter& prompter, QWidget* parent);

    PasswordResult Run();
    // The result after the dialog closed (without running it modally).
    PasswordResult Result() const { return result_; }

    QLineEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* HelpButton() const { return help_; }

    // Called by the Help button.
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

private:
    void OnOk();

    PasswordGate& gate_;
    Prompter& prompter_;
    QLineEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* help_ = nullptr;
    PasswordResult result_ = PasswordResult::Cancelled;
    std::function<void()> helpHandler_;
};

}  // namespace vrm
