#include "gui/transfer/transfer_thread.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

namespace vrm {

namespace {

bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

// Runs `call` on the user-interface thread and waits for it.
template <typename F>
void OnUiThreadAndWait(F call) {
    if (OnUiThread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
}

bool g_running = false;

// The longest the window waits for a transfer's first word.
constexpr int kFirstWordMs = 250;

}  // namespace

bool StepsRunning() { return g_running; }

bool FirstWord::Keep(std::function<void()> show) {
    const bool kept = static_cast<bool>(show);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (spoken_ || heard_) return false;
        spoken_ = true;
        show_ = std::move(show);
    }
    said_.notify_all();
    return kept;
}

void FirstWord::Hear(int ms) {
    std::function<void()> show;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        (void)said_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return spoken_; });
        heard_ = true;  // later words go the usual way
        show = std::move(show_);
    }
    if (show) show();
}

void FirstWord::Reset() {
    const std::lock_guard<std::mutex> lock(mutex_);
    spoken_ = heard_ = false;
    show_ = nullptr;
}

bool RunOffUiThread(const std::function<void()>& steps, WhileRunning wait, const std::function<void()>& started) {
    if (g_running) return false;
    g_running = true;
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        steps();
        done.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (started) started();
    const QEventLoop::ProcessEventsFlags flags =
        wait == WhileRunning::kNoUserInput ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    // A request to end the program ends every event loop; this one goes on
    // until the steps are done, so that the port is never waited on here.
    while (!done.load()) loop.exec(flags);
    worker.join();
    g_running = false;
    return true;
}

Answer UiThreadPrompter::Ask(const Message& message) {
    if (first_ && !OnUiThread()) first_->Say();
    Answer answer = message.defaultAnswer;
    OnUiThreadAndWait([&] { answer = inner_.Ask(message); });
    return answer;
}

PasswordResult UiThreadPrompter::AskPassword(PasswordGate& gate) {
    if (first_ && !OnUiThread()) first_->Say();
    PasswordResult result = PasswordResult::Cancelled;
    OnUiThreadAndWait([&] { result = inner_.AskPassword(gate); });
    return result;
}

void UiThreadObserver::OnProgress(int done, int total, const std::string& caption) {
    if (OnUiThread()) {
        inner_.OnProgress(done, total, caption);
        return;
    }
    TransferObserver* inner = &inner_;
    const auto show = [inner, done, total, caption] { inner->OnProgress(done, total, caption); };
    if (first_ && first_->Keep(show)) return;
    if (QObject* context = context_) QMetaObject::invokeMethod(context, show, Qt::QueuedConnection);
}

void UiThreadObserver::OnWindowText(const std::string& text) {
    if (OnUiThread()) {
        inner_.OnWindowText(text);
        return;
    }
    TransferObserver* inner = &inner_;
    const auto show = [inner, text] { inner->OnWindowText(text); };
    if (first_ && first_->Keep(show)) return;
    if (QObject* context = context_) QMetaObject::invokeMethod(context, show, Qt::QueuedConnection);
}

void UiThreadObserver::PumpOneMessage() {
    // On the worker nothing is to be done: the user-interface thread is not
    // held up by the transfer.
    if (OnUiThread()) inner_.PumpOneMessage();
    else if (first_) first_->Say();
}

DialogTransfer::DialogTransfer(TransferGate& gate, Prompter& prompter, const LanguageTable& language,
                               TransferObserver& observer, QObject* context)
    : gate_(gate),
      prompter_(prompter, &first_),
      language_(language),
      observer_(observer, context, &first_) {}

bool DialogTransfer::Run(const std::function<void(const TransferContext&)>& steps, WhileRunning wait) {
    if (claim_ != nullptr || StepsRunning()) return false;
    const std::unique_ptr<TransferGate::Claim> claim = gate_.Begin();
    if (!claim) return false;
    claim_ = claim.get();
    const TransferContext ctx{claim->Port(), prompter_, language_, observer_};
    first_.Reset();
    // What the transfer shows first is on the screen before anything else
    // is handled. It says it at once; the bound only keeps a starved worker
    // from holding the window.
    const auto started = [this] { first_.Hear(kFirstWordMs); };
    (void)RunOffUiThread(
        [&] {
            steps(ctx);
            first_.Say();
        },
        wait, started);
    claim_ = nullptr;
    return true;
}

void DialogTransfer::Stop() {
    if (claim_ != nullptr) claim_->Stop();
}

}  // namespace vrm
