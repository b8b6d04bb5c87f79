#include "gui/widgets/editor_view.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace vrm {

namespace {

// True when `control` (an editor's focused control, or a part of it) holds
// typing that is not committed yet.
bool HoldsUncommittedTyping(const QWidget* control) {
    const QLineEdit* edit = qobject_cast<const QLineEdit*>(control);
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) edit = combo->lineEdit();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(control))
        edit = spin->findChild<const QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    // A commit or a reload sets the text and clears the flag; typing sets it.
    return edit && !edit->isReadOnly() && edit->isModified();
}

}  // namespace

EditorUndoKeys::EditorUndoKeys(QWidget* editors, QList<QAction*> actions, QObject* parent)
    : QObject(parent), editors_(editors), actions_(std::move(actions)) {}

bool EditorUndoKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() || !editors_) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!editors_->isAncestorOf(widget) || HoldsUncommittedTyping(widget)) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : actions_) {
        if (action->shortcuts().contains(pressed)) {
            event->ignore();  // not taken here: the key goes on to the action's shortcut
            return true;
        }
    }
    return false;
}

EditorView::EditorView(std::string viewClass, QWidget* parent) : QWidget(parent), viewClass_(std::move(viewClass)) {
    setObjectName(QString::fromStdString(viewClass_));
}

void EditorView::SetWindowText(const QString& title) {
    setWindowTitle(title);
    if (QWidget* frame = parentWidget()) frame->setWindowTitle(title);
}

QSize EditorView::WithTitleRoom(QSize size) const {
    QString title = windowTitle();
    if (const QWidget* frame = parentWidget(); frame && !frame->windowTitle().isEmpty()) title = frame->windowTitle();
    QFont bold = font();
    bold.setBold(true);
    // The window's icon and its three buttons take about 100 pixels.
    size.setWidth(std::max(size.width(), QFontMetrics(bold).horizontalAdvance(title) + 100));
    return size;
}

}  // namespace vrm
