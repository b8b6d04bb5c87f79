#include "gui/transfer/transmit_indicator.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// The indicator as screen readers see it: an alert named by its words.
class TransmitIndicatorAccessible final : public QAccessibleWidget {
public:
    explicit TransmitIndicatorAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* TransmitIndicatorFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("vrm::TransmitIndicator") && object && object->isWidgetType())
        return new TransmitIndicatorAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

// Red for on the air, amber for not known to be off, each with a text colour
// that reads on it; a quiet frame while the transmitter is off.
const char* const kOffStyle = "QLabel { border: 1px solid palette(mid); border-radius: 4px; padding: 6px; }";
const char* const kOnAirStyle = "QLabel { background-color: #c00000; color: #ffffff; border-radius: 4px; padding: 6px; }";
const char* const kNotOffStyle = "QLabel { background-color: #ffb000; color: #000000; border-radius: 4px; padding: 6px; }";

}  // namespace

TransmitIndicator::Announcer TransmitIndicator::announcer_ = &QAccessible::updateAccessibility;

TransmitIndicator::TransmitIndicator(const LanguageTable& language, QWidget* parent)
    : QLabel(parent), language_(language) {
    static const bool installed = [] {
        QAccessible::installFactory(TransmitIndicatorFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("transmitState"));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setAccessibleDescription(LangText(language_, tid::kTransmitStateName));
    Paint();
}

void TransmitIndicator::Show(const TestModeSession& session) {
    const State now = !session.Transmitting()            ? State::kOff
                      : session.TransmitOffUnconfirmed() ? State::kNotConfirmedOff
                                                         : State::kOn;
    if (now == state_) return;
    state_ = now;
    Paint();
    // Screen readers are told the line changed, as a message box tells them
    // it appeared: an alert of the line, whose name is now the new words.
    // A change made while the line was hidden and undone before it is seen
    // again is not news: the same words are never told twice in a row.
    if (!isVisible() || state_ == announced_) return;
    announced_ = state_;
    QAccessibleEvent alert(this, QAccessible::Alert);
    announcer_(&alert);
}

void TransmitIndicator::SetAnnouncer(Announcer announcer) {
    announcer_ = announcer ? announcer : &QAccessible::updateAccessibility;
}

void TransmitIndicator::Paint() {
    switch (state_) {
        case State::kOff:
            setStyleSheet(QString::fromLatin1(kOffStyle));
            setText(LangText(language_, tid::kTransmitOff));
            break;
        case State::kOn:
            setStyleSheet(QString::fromLatin1(kOnAirStyle));
            setText(LangText(language_, tid::kTransmitOnAir));
            break;
        case State::kNotConfirmedOff:
            setStyleSheet(QString::fromLatin1(kNotOffStyle));
            setText(LangText(language_, tid::kTransmitNotConfirmedOff));
            break;
    }
}

}  // namespace vrm
