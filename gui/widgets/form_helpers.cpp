#include "gui/widgets/form_helpers.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QStyle>
#include <QWidget>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

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

FormScrollArea::FormScrollArea(QWidget* form, QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("FormScroll"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(form);
    // Tab goes from the last field to the window's buttons, not to the area.
    setFocusPolicy(Qt::NoFocus);
    // Extra room goes to the stretch below the form, not between its rows.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // A field that takes the focus comes into view, however it got it: Tab
    // from the window's buttons round to the first field, Enter, its label's
    // Alt key (the area scrolls by itself only for Tab within the form).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now)) ensureWidgetVisible(now);
    });
}

QSize FormScrollArea::sizeHint() const {
    const int frame = 2 * frameWidth();
    if (!widget()) return QScrollArea::sizeHint();
    // The form's size as it will show, with its fonts and style applied.
    widget()->ensurePolished();
    return widget()->sizeHint() + QSize(frame, frame);
}

bool FormScrollArea::eventFilter(QObject* watched, QEvent* event) {
    // The form's layout changed: the window around the area learns of it
    // (the area's viewport has no layout to pass it on).
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize FormScrollArea::minimumSizeHint() const {
    // As narrow as the form allows beside a vertical scroll bar; four lines
    // tall.
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int width = widget() ? widget()->minimumSizeHint().width() : 0;
    const int height = std::min(widget() ? widget()->minimumSizeHint().height() : 0, 4 * fontMetrics().height());
    return {width + bar + frame, height + frame};
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

namespace vrm {

void DescribeTableCells(QTableWidget& table, const LanguageTable& language) {
    const std::string format = language.TextString(tid::kAccGridCell);
    const bool rowHeaders = table.verticalHeader()->isVisibleTo(&table);
    for (int r = 0; r < table.rowCount(); ++r) {
        QString heading = QString::number(r + 1);
        if (const QTableWidgetItem* h = rowHeaders ? table.verticalHeaderItem(r) : table.item(r, 0)) heading = h->text();
        for (int c = 0; c < table.columnCount(); ++c) {
            QTableWidgetItem* item = table.item(r, c);
            const QTableWidgetItem* header = table.horizontalHeaderItem(c);
            if (!item) continue;
            const std::string place = FormatText(
                format, {heading.toStdString(), header ? header->text().toStdString() : std::to_string(c + 1)});
            item->setData(Qt::AccessibleDescriptionRole, QString::fromStdString(place));
        }
    }
}

}  // namespace vrm

namespace vrm {

void FitToScreen(QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(wanted);
        return;
    }
    // The title bar and borders a window manager puts around the window.
    const QSize decoration(8, 32);
    const QRect area = screen->availableGeometry();
    const QSize room = area.size() - decoration;
    window.resize(wanted.boundedTo(room));
    // Where the window would stand (a dialog centred over its parent), moved
    // as far as needed to keep it and its frame on the screen.
    QPoint at = window.pos();
    if (const QWidget* parent = window.parentWidget(); parent && qobject_cast<QDialog*>(&window))
        at = parent->window()->frameGeometry().center() - QPoint(window.width() / 2, window.height() / 2);
    const QSize whole = window.size() + decoration;
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - whole.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - whole.height())));
    window.move(at);
}

}  // namespace vrm
