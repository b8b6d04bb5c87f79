#include "app/compare_file_qt.h"

#include <string>

#include "app/application.h"
#include "app/command_tables.h"
#include "app/compare_file_dialog.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "editors/edit_session.h"
#include "model/model_catalogue.h"
#include "model/radio_image.h"

namespace vrm {

void RegisterCompareWithFileCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kCompareWithFile, [&frame] {
        Application& app = frame.App();
        RadioImage other;
        ModelCatalogue otherCatalogue(other);
        std::string path;
        if (app.Document().ReadOtherFile(frame.GetPrompter(), frame.GetFileDialogs(), other, otherCatalogue, path) !=
            DocResult::Done)
            return;  // cancelled, or refused with Open's message: nothing changed
        const FileComparison comparison = CompareFiles(app.Image().Live(), other.Live(), app.Language(),
                                                       app.Session().Context().separator);
        CCompareFileDlg dialog(app.Language(), comparison, app.Image().Live(), other.Live(), path, &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kCompareWithFile)); });
        dialog.exec();
    });
}

}  // namespace vrm
