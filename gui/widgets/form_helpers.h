// Small helpers the program's forms and dialogs share.
#pragma once

#include <QObject>
#include <QScrollArea>
#include <QString>

#include <cstdint>

class QWidget;
class QFont;
class QTableWidget;

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

// The scroll area a form sits in: as large as the whole form where there is
// room, so that it opens without scroll bars, and able to shrink to a few
// lines on a small screen, where the form scrolls inside its window and the
// window's buttons stay in view. The focus moving through the form brings
// the focused field into view.
class FormScrollArea final : public QScrollArea {
    Q_OBJECT
public:
    FormScrollArea(QWidget* form, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Tells screen readers where each cell of a table widget stands: "Row R,
// COLUMN", R being the row's header when the table shows one, else the text
// of its first column. Run again after the cells were made anew.
void DescribeTableCells(QTableWidget& table, const LanguageTable& language);

// Sizes a top-level window to `wanted`, but no larger than the free area of
// its screen with room for the window manager's frame (at a large scale or
// font the window's own layout then scrolls or shrinks), and keeps a window
// that places itself on that screen.
void FitToScreen(QWidget& window, QSize wanted);

// The text of a text ID as a QString (the language file is UTF-8).
QString LangText(const LanguageTable& language, std::uint32_t id);

// Menu and button captions carry "&" mnemonics; window titles and tree items
// show them without.
QString WithoutMnemonic(QString text);

}  // namespace vrm
