#include "gui/editors/channel_info_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/editors/channel_edit_view.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_commands.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/record_grid.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

CChInfoView::CChInfoView(EditorHost& host, QWidget* parent) : EditorView("CChInfoView", parent), host_(host) {
    EditSession& session = host_.Session();
    model_ = new RecordGridModel(session, host_.Language(), ChannelTable(),
                                 [&session] { return ChannelGridColumns(session.Context()); }, this);
    grid_ = new RecordGridView(model_, host_.GetPrompter(), this);
    grid_->setObjectName(QStringLiteral("ChannelGrid"));
    grid_->setFont(host_.Fonts().grid);
    grid_->FitColumns();

    editButton_ = new QPushButton(LangText(host_.Language(), tid::kChannelEditButton), this);
    editButton_->setObjectName(QStringLiteral("ChannelEditButton"));
    editButton_->setAutoDefault(false);
    connect(editButton_, &QPushButton::clicked, this, &CChInfoView::OpenChannelEdit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(editButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(grid_, &RecordGridView::currentRowChanged, this, &CChInfoView::OnRowChanged);
    grid_->SetCurrentRow(0);
    setFocusProxy(grid_);
    UpdateTitle();
}

QSize CChInfoView::sizeHint() const {
    // Every column and every row of the model, with the button under them.
    const int width = grid_->frameWidth() * 2 + grid_->verticalScrollBar()->sizeHint().width() + grid_->FittedWidth();
    int height = grid_->frameWidth() * 2 + grid_->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < model_->rowCount(); ++r) height += grid_->rowHeight(r);
    const QMargins m = layout()->contentsMargins();
    return WithTitleRoom({width + m.left() + m.right(),
                          height + layout()->spacing() + editButton_->sizeHint().height() + m.top() + m.bottom()});
}

int CChInfoView::CurrentChannel() const { return grid_->CurrentRow(); }

void CChInfoView::showEvent(QShowEvent* event) {
    EditorView::showEvent(event);
    UpdateTitle();
}

void CChInfoView::UpdateTitle() {
    const LanguageTable& language = host_.Language();
    const std::string title = FormatText("%s [%s %s - %d ]", {language.TextString(tid::kEditorChannelInformation), "",
                                                             language.TextString(tid::kChannelLabel),
                                                             CurrentChannel() + 1});
    SetWindowText(WithoutMnemonic(QString::fromUtf8(title.c_str())));
}

void CChInfoView::OnRowChanged(int row) {
    UpdateTitle();
    if (auto* form = dynamic_cast<CChEditView*>(host_.FindOpenEditor("CChEditView"))) form->ShowChannel(row);
}

void CChInfoView::RefreshFromImage() {
    model_->Reload();
    UpdateTitle();
}

void CChInfoView::OpenChannelEdit() {
    const int row = CurrentChannel();
    if (auto* form = dynamic_cast<CChEditView*>(host_.OpenEditor("CChEditView"))) form->ShowChannel(row);
}

bool CChInfoView::HandleCommand(int command) {
    if (command == cmd::kChannelEdit) {
        OpenChannelEdit();
        return true;
    }
    return HandleGridCommand(*grid_, command);
}

std::optional<std::uint32_t> CChInfoView::HelpContext(bool& advanced) const {
    advanced = false;
    if (grid_->hasFocus() || grid_->isAncestorOf(QApplication::focusWidget())) {
        if (const auto help = grid_->CurrentHelp()) return help;
    }
    return kChannelInfoHelp;
}

}  // namespace vrm
