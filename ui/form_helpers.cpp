#include "ui/form_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "text/language_table.h"

namespace vrm {

EnterAsTab::EnterAsTab(QWidget* form) : QObject(form), form_(form) {
    // Child widgets receive key events first; the filter on the application
    // sees them, and only those of this form are handled.
    qApp->installEventFilter(this);
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == form_ || !form_->isAncestorOf(widget)) return false;
    if (qobject_cast<QAbstractButton*>(widget)) return false;
    if (!widget->isEnabled() || !widget->isVisible()) return false;
    // A Tab press moves the focus along the form's tab order.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
    return true;
}

QString LangText(const LanguageTable& language, std::uint32_t id) { return QString::fromUtf8(language.Text(id)); }

QString WithoutMnemonic(QString text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    // A shortcut text after a tab is not part of a title.
    const qsizetype tab = out.indexOf(QLatin1Char('\t'));
    if (tab >= 0) out.truncate(tab);
    return out.trimmed();
}

}  // namespace vrm
