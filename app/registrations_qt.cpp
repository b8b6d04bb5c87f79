// Where the editor views and the transfer dialogs join the main frame. Each
// later piece adds its registration here, for example
//   frame.RegisterEditorView("CKeyView", [](CMainFrame& f, QWidget* parent) {
//       return new CKeyView(f, parent); });
//   frame.RegisterCommand(cmd::kReadData, [&frame] { ... });
// Until a view or a command is registered, its command stays greyed out.
#include "app/main_frame.h"
#include "app/transfer_commands_qt.h"
#include "app/vrm_app.h"
#include "editors/channel_edit_view.h"
#include "editors/channel_info_view.h"

namespace vrm {

void RegisterViewsAndDialogs(CMainFrame& frame) {
    frame.RegisterEditorView("CChInfoView",
                             [](CMainFrame& f, QWidget* parent) { return new CChInfoView(f, parent); });
    frame.RegisterEditorView("CChEditView",
                             [](CMainFrame& f, QWidget* parent) { return new CChEditView(f, parent); });
    RegisterReadCommand(frame);
    RegisterWriteCommand(frame);
    RegisterMemoryMapCommand(frame);
    RegisterRadioInformationCommand(frame);
}

}  // namespace vrm
