// What the transfer dialogs work with, handed in by whoever opens them: the
// program's transfer gate (a port for each transfer, one transfer at a
// time), its radio data image and language, and the prompter that shows the
// transfer's messages. The caller owns them; they outlive the dialog.
#pragma once

namespace vrm {

class LanguageTable;
class Prompter;
class RadioImage;
class TransferGate;

struct TransferDialogContext {
    TransferGate& transfers;
    RadioImage& image;
    const LanguageTable& language;
    Prompter& prompter;
};

}  // namespace vrm
