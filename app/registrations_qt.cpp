// Where the editor views and the transfer dialogs join the main frame. Each
// later piece adds its registration here, for example
//   frame.RegisterEditorView("CKeyView", [](CMainFrame& f, QWidget* parent) {
//       return new CKeyView(f, parent); });
//   frame.RegisterCommand(cmd::kReadData, [&frame] { ... });
// Until a view or a command is registered, its command stays greyed out.
#include "app/main_frame.h"
#include "app/transfer_commands_qt.h"
#include "app/vrm_app.h"

namespace vrm {

void RegisterViewsAndDialogs(CMainFrame& frame) {
    RegisterReadCommand(frame);
    RegisterWriteCommand(frame);
    RegisterMemoryMapCommand(frame);
    RegisterRadioInformationCommand(frame);
}

}  // namespace vrm
