#include "link/write_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "app/application.h"
#include "app/command_tables.h"
#include "app/main_frame.h"
#include "text/language_table.h"
#include "text/text_ids.h"
#include "model/radio_image.h"
#include "ui/form_helpers.h"

namespace vrm {

CWriteDlg::CWriteDlg(Application& app, ProgrammingPort& port, Prompter& prompter, WriteSettings& settings,
                     QWidget* parent)
    : CTransferDlg(app, port, prompter, parent), settings_(settings) {
    setObjectName(QStringLiteral("CWriteDlg"));
    BuildTransferArea(tid::kWriteWindowTitle, tid::kWriteWindowRunning, tid::kButtonWrite);
    const LanguageTable& language = app_.Language();

    separator_ = new QFrame(this);
    separator_->setObjectName(QStringLiteral("separator"));
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);

    lower_ = new QWidget(this);
    adjustTime_ = new QCheckBox(LangText(language, tid::kWriteAdjustTime), lower_);
    adjustTime_->setObjectName(QStringLiteral("adjustTime"));
    continuous_ = new QCheckBox(LangText(language, tid::kWriteContinuous), lower_);
    continuous_->setObjectName(QStringLiteral("continuous"));
    adjustTime_->setChecked(settings_.adjustTime);
    continuous_->setChecked(settings_.continuous);
    // "Adjust Time" has no effect on the radio: it stays hidden.
    adjustTime_->hide();
    auto* row = new QHBoxLayout(lower_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(adjustTime_);
    row->addWidget(continuous_);
    row->addStretch(1);

    layout()->addWidget(separator_);
    layout()->addWidget(lower_);

    connect(adjustTime_, &QCheckBox::toggled, this, [this](bool on) { settings_.adjustTime = on; });
    connect(continuous_, &QCheckBox::toggled, this, [this](bool on) { settings_.continuous = on; });
    ShowContinuousArea(settings_.continuous);
}

void CWriteDlg::ShowContinuousArea(bool shown) {
    // The dialog ends at the separator unless "Continuous" is on.
    separator_->setVisible(shown);
    lower_->setVisible(shown);
}

void CWriteDlg::OnStart() {
    BeginRunning({adjustTime_, continuous_});
    repaint();
    if (QWidget* frame = parentWidget()) frame->window()->repaint();
    const bool continuous = settings_.continuous;
    result_ = WriteDataToRadio(Context(), app_.Image().Live(), continuous);
    if (result_.Ok()) ++written_;
    if (result_.Ok() && continuous) {
        // Ready for the next radio: progress 0 / 64 and the window text are
        // back (the transfer set them); the controls follow.
        EndRunning();
        StartButton()->setFocus();
        return;
    }
    Finish(result_.Ok() ? QDialog::Accepted : QDialog::Rejected);
}

void RegisterWriteCommand(CMainFrame& frame) {
    auto settings = std::make_shared<WriteSettings>();
    settings->continuous = frame.App().Switches().continuous;
    frame.RegisterCommand(cmd::kWriteData, [&frame, settings] {
        Application& app = frame.App();
        if (app.Port().IsOpen()) return;  // a transfer runs already
        CWriteDlg dialog(app, app.Port(), frame.GetPrompter(), *settings, &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kWriteData)); });
        dialog.exec();
    });
}

}  // namespace vrm
