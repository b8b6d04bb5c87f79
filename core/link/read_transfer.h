// The read transfer: copies the radio's 1024-byte configuration memory into
// the transfer image, 64 blocks of 16 bytes, after the radio has been
// identified and accepted. Also the pieces the write and radio-information
// transfers share with it: what a transfer works with (TransferContext), how
// it ended (TransferResult), RetryPrompt and the progress caption.
//
// A transfer runs on the caller's thread as a chain of blocking protocol
// steps (the desktop program calls it on a worker thread). It reports
// through the context's TransferObserver (progress, window text, and
// PumpOneMessage between steps) and asks and tells the user through the
// Prompter. It opens the port at its start and always closes it again before
// it returns.
#pragma once

#include <cstdint>
#include <string>

#include "core/link/link_error.h"
#include "core/link/programming_port.h"
#include "core/link/transfer_observer.h"
#include "core/model/radio_image.h"

namespace vrm {

class LanguageTable;
class Prompter;
struct Message;

// What a transfer works with. The port is the transfer's own (closed
// between transfers; SetScrambling(false) for "noencryption"); the observer
// is installed on the port for the length of the transfer.
struct TransferContext {
    ProgrammingPort& port;
    Prompter& prompter;
    const LanguageTable& language;
    TransferObserver& observer;
};

// How a transfer ended. Every status but kOk is result 1 of the transfer
// (Code()); the status says which step stopped it, and the user has already
// been told.
enum class TransferStatus {
    kOk,
    kNoAnswer,          // no answer to "PROGRAM": no radio, cable or library
    kIdentifyFailed,    // the identification or the key exchange failed
    kSiblingProduct,    // read: an "LMX-7208"/"LMX7208A" radio (text 10007021)
    kModelRefused,      // the radio's model is not accepted (text 10007004)
    kCancelled,         // write: the user answered Cancel to text 10007007
    kPrepareFailed,     // write: the ','-command before the blocks failed
    kBlockFailed,       // a block read or write failed
    kInformationFailed, // radio information: a read of the information failed
    kStopped,           // a stop (a signal) ended it before it was complete; the radio
                        // was left as the stop found it (program mode left, a write abandoned)
};

struct TransferResult {
    TransferStatus status = TransferStatus::kOk;
    int failedBlock = -1;   // kBlockFailed: the block (address / 16)
    int blocksDone = 0;     // blocks read or written (the write: sent to the radio)
    LinkError link = LinkError::kNone;  // what the link reported when it failed
    bool refused = false;   // kBlockFailed: the radio answered the block, but not with ACK
                            // kStopped: failedBlock is the block the stop kept from being sent

    bool Ok() const { return status == TransferStatus::kOk; }
    // The transfer's result as the dialogs see it: 0 success, 1 failure.
    int Code() const { return Ok() ? 0 : 1; }
};

// Installs the context's observer on the port for the length of a transfer
// (the port's PumpOneMessage goes to it) and restores the one before. A port
// that a transfer left open by mistake is closed when the scope ends.
class TransferScope {
public:
    explicit TransferScope(const TransferContext& ctx) : port_(ctx.port), previous_(ctx.port.Observer()) {
        port_.SetObserver(&ctx.observer);
    }
    ~TransferScope() {
        if (port_.IsOpen()) port_.SetOpen(false);
        port_.SetObserver(previous_);
    }
    TransferScope(const TransferScope&) = delete;
    TransferScope& operator=(const TransferScope&) = delete;

private:
    ProgrammingPort& port_;
    TransferObserver* previous_;
};

inline constexpr int kTransferBlocks = 64;     // progress range 0-64
inline constexpr std::uint16_t kBlockSize = 16;

// "%s %d / %d" with text 10401004, `block` and 64 ("Block 12 / 64").
std::string ProgressCaption(const LanguageTable& language, int block);
// Shows progress `block` / 64 through the observer.
void ShowProgress(const TransferContext& ctx, int block);

// Builds the program's message boxes: an error box (caption 10006001), a
// warning question with OK/Cancel and Cancel the default (caption 10006002),
// an information box with the given caption.
Message TransferErrorMessage(const LanguageTable& language, std::uint32_t textId);
Message TransferQuestion(const LanguageTable& language, std::uint32_t textId);
Message TransferInformation(const LanguageTable& language, std::uint32_t textId, std::uint32_t captionId);

// RetryPrompt: text 10007003 in an error box (caption 10006001). When the
// link knows why the radio could not be reached (no cable, no permission, the
// cable busy or pulled, the library missing), its message follows the text,
// so that the user learns what to do. `partialWrite` adds that the radio now
// holds a partly written configuration. A failed block adds which block and
// why (refused by the radio, no answer, the cable unplugged) and that the
// document is unchanged; `backupPath` names where the radio's previous data
// is kept. Returns the link's reason.
//
// A transfer that failed because a stop refused its next step gets no word
// about the cable or the radio: text 19111001 (the transfer was stopped),
// then for a write how many blocks the radio took and what it now holds (or
// that nothing was written), for a read that the document is unchanged.
struct BlockFailure {
    int block = -1;        // address / 16; -1: not a block step
    bool refused = false;  // the radio answered, but not with ACK
    int written = -1;      // a write session: the blocks the radio has taken (-1: not a write)
};
LinkError RetryPrompt(const TransferContext& ctx, bool partialWrite = false, BlockFailure failure = {},
                      const std::string& backupPath = {});

// The status of a failed step: kStopped when a stop refused it, else `status`.
TransferStatus FailureStatus(const ProgrammingPort& port, TransferStatus status);

// The read acceptance check on a radio's identity: its name (bytes 0-7) is
// the name key of a catalogue model and a band record exists for its market
// and band codes, one of the pairs (1, 0), (1, 1), (0, 1), (5, 1), (6, 1).
bool IsReadableRadio(const ModelIdentity& radio);

// The start every program-mode session shares: pending events handled, the
// port opened, program mode entered and the radio identified. Ok() with
// `identity` set when the radio answered; otherwise the user has been told
// (RetryPrompt with `failure`), the radio has left program mode, the port is
// closed, and the status says which step failed (kNoAnswer,
// kIdentifyFailed, or kStopped).
TransferResult OpenProgramSession(const TransferContext& ctx, ModelIdentity& identity, BlockFailure failure = {});

// The read transfer. The radio's memory lands in `transferImage`, its bytes
// 0-15 replaced by the identity the radio reported and byte 12 set to 0xFF.
// A failed read leaves `transferImage` partly overwritten and nothing else
// changed; only after Ok() may the caller adopt it.
TransferResult RunReadTransfer(const TransferContext& ctx, ImageBuffer& transferImage);

// The blocks of a transfer after identification: reads `count` blocks from
// address 0 into `memory`, with progress, and on a failure the retry prompt
// naming the block; the radio then leaves program mode. Shared by the read,
// the backup and the verify.
TransferResult ReadBlocks(const TransferContext& ctx, ImageBuffer& memory, int count);

// The Read button's run: window text 10401002, the read transfer, then on
// success the information box 10401003 (caption 10401005); on failure window
// text 10401001 again. The dialog disables its controls around it and ends
// with OK only when the result is Ok(); the caller then adopts the data.
TransferResult ReadDataFromRadio(const TransferContext& ctx, ImageBuffer& transferImage);

}  // namespace vrm
