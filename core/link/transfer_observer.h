// What a transfer tells its front end while it runs: progress, the window
// text, and the moment between protocol steps where a front end that runs
// the transfer on its own thread may handle its pending events. The desktop
// program runs transfers on a worker thread and has nothing to pump; the
// calls it receives there are handed on to its user-interface thread.
#pragma once

#include <string>

namespace vrm {

class TransferObserver {
public:
    virtual ~TransferObserver() = default;

    // Block `done` of `total` (the caption text is already formatted).
    virtual void OnProgress(int done, int total, const std::string& caption) {
        (void)done; (void)total; (void)caption;
    }
    // The transfer dialog's window text changes.
    virtual void OnWindowText(const std::string& text) { (void)text; }
    // Handle at most one pending event; never block.
    virtual void PumpOneMessage() {}
};

// An observer that ignores everything.
class NullTransferObserver final : public TransferObserver {};

}  // namespace vrm
