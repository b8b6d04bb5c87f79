// Where the editor views and the transfer dialogs join the main frame. Each
// later piece adds its registration here, for example
//   frame.RegisterEditorView("CKeyView", [](CMainFrame& f, QWidget* parent) {
//       return new CKeyView(f, parent); });
//   frame.RegisterCommand(cmd::kReadData, [&frame] { ... });
// Until a view or a command is registered, its command stays greyed out.
#include "gui/app/channel_csv_commands_qt.h"
#include "gui/app/compare_file_qt.h"
#include "gui/app/main_frame.h"
#include "gui/app/print_commands_qt.h"
#include "gui/app/text_commands_qt.h"
#include "gui/app/transfer_commands_qt.h"
#include "gui/app/vrm_app.h"
#include "gui/editors/channel_edit_view.h"
#include "gui/editors/channel_info_view.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "gui/editors/key_view.h"
#include "gui/editors/special_view.h"
#include "gui/widgets/editor_views.h"

namespace vrm {

void RegisterViewsAndDialogs(CMainFrame& frame) {
    frame.RegisterEditorView("CChInfoView",
                             [](CMainFrame& f, QWidget* parent) { return new CChInfoView(f, parent); });
    frame.RegisterEditorView("CChEditView",
                             [](CMainFrame& f, QWidget* parent) { return new CChEditView(f, parent); });
    frame.RegisterEditorView("CFeatureView", [](CMainFrame& f, QWidget* parent) {
        return new FormEditorView(f, "CFeatureView", FeatureTable(), kFeatureHelp, {}, parent);
    });
    frame.RegisterEditorView("CKeyView", [](CMainFrame& f, QWidget* parent) { return new CKeyView(f, parent); });
    frame.RegisterEditorView("CKeyImageView",
                             [](CMainFrame& f, QWidget* parent) { return new CKeyImageView(f, parent); });
    frame.RegisterEditorView("CScanView", [](CMainFrame& f, QWidget* parent) {
        return new FormEditorView(f, "CScanView", ScanTable(), kScanHelp, {}, parent);
    });
    frame.RegisterEditorView("CTestFreqView", [](CMainFrame& f, QWidget* parent) {
        GridOptions cells;
        cells.records = false;
        cells.cells = true;
        return new GridEditorView(f, "CTestFreqView", TestFrequencyTable(),
                                  [&f] { return TestFrequencyGridColumns(f.Session().Context()); }, kTestFrequencyHelp,
                                  cells, parent);
    });
    frame.RegisterEditorView("CEmbView", [](CMainFrame& f, QWidget* parent) {
        auto* view = new FormEditorView(f, "CEmbView", MessageTable(), kMessageHelp, {}, parent);
        view->UseFixedPitch({"line1", "line2"}, f.Fonts().fixedPitch, static_cast<int>(kMessageLineChars));
        return view;
    });
    frame.RegisterEditorView("CCmqtdqtView", [](CMainFrame& f, QWidget* parent) {
        return new FormEditorView(f, "CCmqtdqtView", CustomCodeTable(), kCustomCodeHelp, {}, parent);
    });
    frame.RegisterEditorView("CSpecialView", [](CMainFrame& f, QWidget* parent) { return new CSpecialView(f, parent); });
    RegisterReadCommand(frame);
    RegisterWriteCommand(frame);
    RegisterMemoryMapCommand(frame);
    RegisterRadioInformationCommand(frame);
    RegisterTestModeCommand(frame);
    RegisterTuningDataCommand(frame);
    RegisterPrintCommands(frame);
    RegisterSafetyCommands(frame);
    RegisterTextCommands(frame);
    RegisterChannelCsvCommands(frame);
    RegisterCompareWithFileCommand(frame);
}

}  // namespace vrm
