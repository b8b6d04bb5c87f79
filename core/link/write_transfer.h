// The write transfer: sends the document's live image into the radio after
// the write acceptance check, in 16-byte blocks: every block below 0x3F0
// except the radio settings block 0x060, then block 0x060 last. The last 16
// bytes (0x3F0-0x3FF) are never written: 63 blocks go to the radio.
//
// A block that fails abandons the write with AbortWrite (0xE7); the radio
// then holds a partly written configuration, and the user is told so.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/link/read_transfer.h"

namespace vrm {

// The write dialog's two settings, remembered for the program run (not
// stored): "Adjust Time" is only remembered; "Continuous" keeps the dialog
// open for the next radio after a successful write.
struct WriteSettings {
    bool adjustTime = false;
    bool continuous = false;
};

// How the write acceptance check judges a radio R for the document's data D.
enum class WriteAcceptance {
    kAccepted,   // same model and identity (bytes 0-11), or a sibling radio within the market rule
    kConfirm,    // same market class, other identity: ask text 10007007 (OK writes)
    kRefused,        // not a radio of the catalogue, or a sibling radio of the other market class: text 10007004
    kRefusedMarket,  // a catalogue radio of the other market class: text 10007004
};

// The write acceptance check without the questions: `document` is D's
// identity, `radio` R's.
WriteAcceptance JudgeWrite(const ModelIdentity& document, const ModelIdentity& radio);

// The market rule: both market codes 0, or both non-zero.
bool SameMarketClass(int documentMarket, int radioMarket);

// The blocks in the order the write sends them (addresses 0x000-0x3E0
// without 0x060, then 0x060).
std::array<std::uint16_t, kTransferBlocks - 1> WriteBlockOrder();

// The write transfer of `liveImage`; asks text 10007007 through the
// prompter when the radio reports another identity of the same market class.
// `backupPath` (when not empty) is named in the message of a failed block.
TransferResult RunWriteTransfer(const TransferContext& ctx, const ImageBuffer& liveImage,
                                const std::string& backupPath = {});

// The Write button's run: window text 10402002, the write transfer, then on
// success the information box 10402003 (caption 10402005) and, when
// `continuous`, progress 0 / 64 and window text 10402001 again for the next
// radio; on failure window text 10402001. The dialog disables its controls
// around it, and after a success stays open only when `continuous`.
TransferResult WriteDataToRadio(const TransferContext& ctx, const ImageBuffer& liveImage, bool continuous);

}  // namespace vrm
