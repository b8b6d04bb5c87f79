#include "gui/app/compare_file_qt.h"

#include <string>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "gui/app/compare_file_dialog.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {

void RegisterCompareWithFileCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kCompareWithFile, [&frame] {
        Application& app = frame.App();
        Document other(app.Language());
        std::string path;
        if (app.Document().ReadOtherFile(frame.GetPrompter(), frame.GetFileDialogs(), other, path) != DocResult::Done)
            return;  // cancelled, or refused with Open's message: nothing changed
        const ImageBuffer& otherImage = other.Image().Live();
        const FileComparison comparison =
            CompareFiles(app.Image().Live(), otherImage, app.Language(), app.Session().Context().separator);
        CompareFileDialog dialog(app.Language(), comparison, app.Image().Live(), otherImage, path, &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kCompareWithFile)); });
        dialog.exec();
    });
}

}  // namespace vrm
