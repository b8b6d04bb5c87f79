// What the transfer dialogs work with, handed in by whoever opens them: the
// program's port, its radio data image and language, and the prompter that
// shows the transfer's messages. The caller owns them; they outlive the
// dialog.
#pragma once

namespace vrm {

class LanguageTable;
class ProgrammingPort;
class Prompter;
class RadioImage;

struct TransferDialogContext {
    ProgrammingPort& port;
    RadioImage& image;
    const LanguageTable& language;
    Prompter& prompter;
};

}  // namespace vrm
