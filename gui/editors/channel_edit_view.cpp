#include "gui/editors/channel_edit_view.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/fields/channel_fields.h"
#include "gui/editors/channel_info_view.h"
#include "core/fields/channel_model.h"
#include "core/fields/edit_session.h"
#include "core/model/entry_mode.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/field_form.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

// ---------------------------------------------------------------------------
// Channel number

ChannelNumberSpin::ChannelNumberSpin(QWidget* parent) : QSpinBox(parent) {
    setWrapping(true);
    setKeyboardTracking(false);
    setObjectName(QStringLiteral("channel"));
    SetChannelCount(16);
}

void ChannelNumberSpin::SetChannelCount(int count) {
    setRange(1, std::max(count, 1));
    if (QLineEdit* edit = lineEdit()) edit->setMaxLength(count < 10 ? 1 : 2);
}

QValidator::State ChannelNumberSpin::validate(QString& input, int&) const {
    if (input.isEmpty()) return QValidator::Intermediate;
    for (QChar c : input)
        if (!c.isDigit()) return QValidator::Invalid;
    return QValidator::Acceptable;
}

int ChannelNumberSpin::valueFromText(const QString& text) const {
    return std::clamp(text.toInt(), minimum(), maximum());
}

// ---------------------------------------------------------------------------
// Form

namespace {

// The channel items in the form's order.
const std::vector<std::string> kFormKeys = {"rx",  "tx",       "decode",  "encode",   "power",
                                            "bcl", "scan_add", "vox",     "repeater", "freq_scan"};

}  // namespace

// The channel number above the items, then Close and Help.
void CChEditView::BuildForm(const LanguageTable& language) {
    EditSession& session = host_.Session();
    auto* numberLabel = new QLabel(LangText(language, tid::kChannelLabel), this);
    numberLabel->setObjectName(QStringLiteral("channel_label"));
    number_ = new ChannelNumberSpin(this);
    numberLabel->setBuddy(number_);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    form_ = new FieldForm(session, host_.GetPrompter(), language, ChannelTable(), kFormKeys, this);
    // The number and the items share one grid, so their columns line up.
    QGridLayout* grid = form_->Grid();
    auto* top = new QGridLayout;
    top->addWidget(numberLabel, 0, 0);
    top->addWidget(number_, 0, 1, Qt::AlignLeft);

    close_ = new QPushButton(LangText(language, tid::kButtonClose), this);
    close_->setObjectName(QStringLiteral("CloseButton"));
    help_ = new QPushButton(LangText(language, tid::kButtonHelp), this);
    help_->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {close_, help_}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    buttons->addWidget(help_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addWidget(new FormScrollArea(form_, this));
    layout->addStretch(1);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(buttons);
    // The number's label column as wide as the items' labels.
    int widest = numberLabel->sizeHint().width();
    for (const std::string& key : kFormKeys)
        if (QLabel* l = form_->Label(key)) widest = std::max(widest, l->sizeHint().width());
    top->setColumnMinimumWidth(0, widest);
    grid->setColumnMinimumWidth(0, widest);
    // Room for the longest list line ("(045)  QT (254.1)") beside the arrow.
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QStringLiteral("(045)  QT (254.1)")) + 48);
    grid->setHorizontalSpacing(top->horizontalSpacing());
}

void CChEditView::ConnectCommands() {
    connect(number_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) { ShowChannel(value - 1); });
    connect(close_, &QPushButton::clicked, this, [this] {
        if (QWidget* frame = parentWidget()) frame->close();
    });
    connect(help_, &QPushButton::clicked, this, [this] { host_.ShowEditorHelp(kChannelEditHelp, false); });
    connect(form_, &FieldForm::committed, this, &CChEditView::UpdateTabOrder);

    auto key = [this](QKeySequence seq, auto slot) {
        auto* s = new QShortcut(seq, this, slot);
        s->setContext(Qt::WidgetWithChildrenShortcut);
    };
    key(QKeySequence(Qt::Key_PageUp), [this] { StepChannel(1); });
    key(QKeySequence(Qt::Key_PageDown), [this] { StepChannel(-1); });
    key(QKeySequence(Qt::Key_Escape), [this] {
        if (QWidget* frame = parentWidget()) frame->close();
    });
}

CChEditView::CChEditView(EditorHost& host, QWidget* parent) : EditorView("CChEditView", parent), host_(host) {
    const LanguageTable& language = host_.Language();
    BuildForm(language);
    ConnectCommands();

    setWindowTitle(WithoutMnemonic(LangText(language, tid::kChannelEditTitle)));
    // The channel of the grid's current row, when the grid is open.
    int start = 0;
    if (auto* info = dynamic_cast<CChInfoView*>(host_.FindOpenEditor("CChInfoView"))) start = info->CurrentChannel();
    channel_ = start;
    Load();
    setFocusProxy(number_);
    // Enter moves on like Tab on the channel number too.
    new EnterAsTab(this);
}

void CChEditView::Load() {
    const int count = host_.Session().Context().image.ChannelCount();
    channel_ = std::clamp(channel_, 0, count - 1);
    {
        const QSignalBlocker block(number_);
        number_->SetChannelCount(count);
        number_->setValue(channel_ + 1);
    }
    form_->SetRow(channel_);
    UpdateTabOrder();
}

void CChEditView::UpdateTabOrder() {
    // On the preset-list models transmit frequency and encode follow receive
    // frequency and decode unless repeater mode is on: only then are they
    // in the tab order.
    const EditSession& session = host_.Session();
    if (!UsesPresetList(session.Context().Mode())) return;
    const bool repeater = ChannelReader(session.Context()).Exists(channel_) &&
                          (session.Context().image.Byte(kChannelTable.offset + kChannelRecordSize * channel_ + 13) &
                           ChannelModel::kRepeaterBit);
    for (const char* key : {"tx", "encode"}) {
        if (QWidget* w = form_->Control(key)) w->setFocusPolicy(repeater ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void CChEditView::ShowChannel(int channel) {
    if (channel < 0 || channel >= host_.Session().Context().image.ChannelCount()) return;
    if (channel == channel_ && number_->value() == channel + 1) return;
    channel_ = channel;
    Load();
}

void CChEditView::StepChannel(int delta) {
    const int count = host_.Session().Context().image.ChannelCount();
    channel_ = ((channel_ + delta) % count + count) % count;
    Load();
    number_->setFocus(Qt::OtherFocusReason);
    number_->selectAll();
}

void CChEditView::RefreshFromImage() { Load(); }

std::optional<std::uint32_t> CChEditView::HelpContext(bool& advanced) const {
    advanced = false;
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == number_ || number_->isAncestorOf(focus))) return ChannelItemHelp(ChannelModel::kItemChannel);
    if (const auto help = form_->FocusedHelp()) return help;
    return kChannelEditHelp;
}

}  // namespace vrm
