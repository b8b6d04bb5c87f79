#include "gui/widgets/qt_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "core/base/language_table.h"
#include "gui/widgets/password_dialog.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

QString Text(const LanguageTable& language, tid::TextId id) { return QString::fromUtf8(language.Text(id)); }

QMessageBox::Icon IconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error: return QMessageBox::Critical;
        case MessageKind::Warning: return QMessageBox::Warning;
        case MessageKind::Information: return QMessageBox::Information;
        case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtPrompter::QtPrompter(const LanguageTable& language, std::function<QWidget*()> parent)
    : language_(language), parent_(std::move(parent)) {}

namespace {
const volatile std::sig_atomic_t* unattended = nullptr;
}  // namespace

void QtPrompter::SetUnattendedFlag(const volatile std::sig_atomic_t* flag) { unattended = flag; }

Answer QtPrompter::Ask(const Message& message) {
    if (unattended != nullptr && *unattended != 0) {
        if (message.buttons == Buttons::Ok) return Answer::Ok;
        return message.defaultAnswer;
    }
    QWidget* parent = parent_ ? parent_() : nullptr;
    QMessageBox box(IconFor(message.kind), QString::fromUtf8(message.caption.c_str()),
                    QString::fromUtf8(message.text.c_str()), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    // A screen reader reads the box's text with its title when it opens.
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(box.text());
    struct Choice {
        Answer answer;
        tid::TextId text;
        QMessageBox::ButtonRole role;
        QMessageBox::StandardButton standard;  // when the language file has no text
    };
    std::vector<Choice> choices;
    const Choice ok{Answer::Ok, tid::kButtonOk, QMessageBox::AcceptRole, QMessageBox::Ok};
    const Choice cancel{Answer::Cancel, tid::kButtonCancel, QMessageBox::RejectRole, QMessageBox::Cancel};
    const Choice yes{Answer::Yes, tid::kButtonYes, QMessageBox::YesRole, QMessageBox::Yes};
    const Choice no{Answer::No, tid::kButtonNo, QMessageBox::NoRole, QMessageBox::No};
    switch (message.buttons) {
        case Buttons::Ok: choices = {ok}; break;
        case Buttons::OkCancel: choices = {ok, cancel}; break;
        case Buttons::YesNoCancel: choices = {yes, no, cancel}; break;
        case Buttons::YesNo: choices = {yes, no}; break;
    }
    // Captions of the message's own, where it brings them.
    std::vector<QString> captions;
    if (!message.choices.empty()) {
        const auto role = [](Answer a) {
            return a == Answer::Cancel ? QMessageBox::RejectRole
                   : a == Answer::No   ? QMessageBox::ActionRole
                                       : QMessageBox::AcceptRole;
        };
        choices.clear();
        for (const auto& [answer, caption] : message.choices) {
            choices.push_back({answer, 0, role(answer), QMessageBox::NoButton});
            captions.push_back(QString::fromUtf8(caption.c_str()));
        }
    }
    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const Choice& c = choices[i];
        const QString caption = i < captions.size() ? captions[i] : Text(language_, c.text);
        QAbstractButton* b = caption.isEmpty() ? static_cast<QAbstractButton*>(box.addButton(c.standard))
                                               : box.addButton(caption, c.role);
        buttons.push_back(b);
        if (c.answer == message.defaultAnswer) box.setDefaultButton(qobject_cast<QPushButton*>(b));
    }
    // Escape answers Cancel when there is one, else the last button.
    box.setEscapeButton(buttons.back());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i]) return choices[i].answer;
    }
    return choices.back().answer;
}

PasswordResult QtPrompter::AskPassword(PasswordGate& gate) {
    QWidget* parent = parent_ ? parent_() : nullptr;
    PasswordDialog dialog(language_, gate, *this, parent);
    dialog.SetHelpHandler(passwordHelp_);
    return dialog.Run();
}

}  // namespace vrm
