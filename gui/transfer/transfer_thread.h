// Radio transfers off the user-interface thread.
//
// RunOffUiThread runs a transfer's steps on a worker thread while the
// user-interface thread goes on handling its events (painting, timers, the
// questions the transfer asks), so that the window never stops answering
// while the program waits on the radio. It returns when the steps are done:
// the code around it reads as if the transfer ran in place.
//
// What a transfer says while it runs reaches the window through the two
// adapters below: progress and window texts as queued calls, questions as
// calls that block the worker until the user has answered on the
// user-interface thread. No widget is ever made or touched off that thread.
#pragma once

#include <QEventLoop>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "core/base/prompter.h"
#include "core/link/read_transfer.h"
#include "core/link/transfer_gate.h"
#include "core/link/transfer_observer.h"

namespace vrm {

// How the user-interface thread waits for the worker: handling every event
// (a transfer dialog whose controls are disabled) or every event but the
// user's input, which waits until the steps are done (a command of test mode,
// whose controls stay enabled).
enum class WhileRunning { kAllEvents, kNoUserInput };

// Runs `steps` on a worker thread and returns when they have ended; false
// (and nothing run) when called again while steps run. Called on the
// user-interface thread. `started` (when given) runs on that thread once the
// worker has started, before any other event is handled.
bool RunOffUiThread(const std::function<void()>& steps, WhileRunning wait = WhileRunning::kAllEvents,
                    const std::function<void()>& started = {});

// The first word a transfer says (progress, a window text, a pause between
// steps or a question), or its end. A dialog waits for it as the transfer
// starts and shows it at once, so that what the transfer shows first (its
// window text) is on the screen before anything else is handled; a transfer
// says it before it sends anything to the radio.
class FirstWord {
public:
    // The worker: true when `show` is kept for the window to run as the
    // transfer starts (it then must not be sent as well).
    bool Keep(std::function<void()> show);
    // The worker: a word with nothing to show.
    void Say() { (void)Keep({}); }
    // The window: waits at most `ms` for the first word and shows it.
    void Hear(int ms);
    void Reset();

private:
    std::mutex mutex_;
    std::condition_variable said_;
    bool spoken_ = false;
    bool heard_ = false;
    std::function<void()> show_;
};
// True while steps run.
bool StepsRunning();

// A prompter usable from the worker: each question is asked by `inner` on
// the user-interface thread while the worker waits for the answer.
class UiThreadPrompter final : public Prompter {
public:
    explicit UiThreadPrompter(Prompter& inner, FirstWord* first = nullptr) : inner_(inner), first_(first) {}
    Answer Ask(const Message& message) override;
    PasswordResult AskPassword(PasswordGate& gate) override;

private:
    Prompter& inner_;
    FirstWord* first_;
};

// An observer usable from the worker: progress and window texts reach
// `inner` on the user-interface thread, in order, as long as `context`
// lives. Pending events need no pumping: the user-interface thread handles
// them itself.
class UiThreadObserver final : public TransferObserver {
public:
    UiThreadObserver(TransferObserver& inner, QObject* context, FirstWord* first = nullptr)
        : inner_(inner), context_(context), first_(first) {}
    void OnProgress(int done, int total, const std::string& caption) override;
    void OnWindowText(const std::string& text) override;
    void PumpOneMessage() override;

private:
    TransferObserver& inner_;
    QObject* context_;  // outlives the steps; a call queued for it after its end is dropped
    FirstWord* first_;
};

// One transfer of a dialog: claims the program's transfer gate for it and
// runs its steps off the user-interface thread on the claim's own port, with
// the dialog's prompter and observer reached through the adapters above.
class DialogTransfer final {
public:
    DialogTransfer(TransferGate& gate, Prompter& prompter, const LanguageTable& language,
                   TransferObserver& observer, QObject* context);

    // False (nothing run) while another transfer holds the gate.
    bool Run(const std::function<void(const TransferContext&)>& steps,
             WhileRunning wait = WhileRunning::kAllEvents);
    // Asks the running transfer to stop at its next step, as the user's
    // stop: the radio is left as a stopped transfer leaves it.
    void Stop();
    bool Running() const { return claim_ != nullptr; }

private:
    TransferGate& gate_;
    FirstWord first_;
    UiThreadPrompter prompter_;
    const LanguageTable& language_;
    UiThreadObserver observer_;
    TransferGate::Claim* claim_ = nullptr;
};

}  // namespace vrm
