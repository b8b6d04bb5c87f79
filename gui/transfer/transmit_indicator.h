// The transmitter's state line of the test mode and tuning dialogs.
#pragma once

#include <QLabel>

#include "core/link/test_mode.h"

class QAccessibleEvent;

namespace vrm {

class LanguageTable;

// The transmitter's state where nobody can miss it: a red line with the words
// while the radio transmits, an amber one while the radio has not confirmed
// that the transmitter is off, a quiet one while it is off. Screen readers
// meet it as an alert named by its words, announced at every change.
class TransmitIndicator final : public QLabel {
    Q_OBJECT
public:
    enum class State { kOff, kOn, kNotConfirmedOff };

    TransmitIndicator(const LanguageTable& language, QWidget* parent);
    // Shows what the session says of the transmitter.
    void Show(const TestModeSession& session);
    State Current() const { return state_; }

    // Where a change is announced: Qt's accessibility, which passes it on
    // while a screen reader listens. A test puts its own recorder here.
    using Announcer = void (*)(QAccessibleEvent* event);
    static void SetAnnouncer(Announcer announcer);

private:
    void Paint();

    static Announcer announcer_;
    const LanguageTable& language_;
    State state_ = State::kOff;
    State announced_ = State::kOff;  // the state screen readers were last told
};

}  // namespace vrm
