// Small helpers the program's forms and dialogs share.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class QWidget;
class QFont;

namespace vrm {

class LanguageTable;

// Enter (Return or the keypad's Enter) on any control but a push button moves
// the focus to the next control, as Tab does. Install it on a dialog or form;
// it watches every child.
class EnterAsTab final : public QObject {
    Q_OBJECT
public:
    explicit EnterAsTab(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* form_;
};

// The text of a text ID as a QString (the language file is UTF-8).
QString LangText(const LanguageTable& language, std::uint32_t id);

// Menu and button captions carry "&" mnemonics; window titles and tree items
// show them without.
QString WithoutMnemonic(QString text);

}  // namespace vrm
