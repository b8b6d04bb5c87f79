#include "gui/widgets/editor_views.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "core/fields/edit_session.h"
#include "core/fields/editor_commands.h"
#include "core/base/text_ids.h"
#include "gui/widgets/field_form.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

QWidget* CloseHelpButtons(EditorView& view, EditorHost& host, std::uint32_t help, bool advanced) {
    auto* row = new QWidget(&view);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto* close = new QPushButton(LangText(host.Language(), tid::kButtonClose), row);
    close->setObjectName(QStringLiteral("CloseButton"));
    auto* helpButton = new QPushButton(LangText(host.Language(), tid::kButtonHelp), row);
    helpButton->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton* b : {close, helpButton}) {
        b->setAutoDefault(false);
        layout->addWidget(b);
    }
    QObject::connect(close, &QPushButton::clicked, &view, [&view] {
        if (QWidget* frame = view.parentWidget()) frame->close();
    });
    QObject::connect(helpButton, &QPushButton::clicked, &view,
                     [&host, help, advanced] { host.ShowEditorHelp(help, advanced); });
    return row;
}

// ---------------------------------------------------------------------------

FormEditorView::FormEditorView(EditorHost& host, std::string viewClass, const FieldTable& table, std::uint32_t help,
                               std::vector<std::string> keys, QWidget* parent)
    : EditorView(std::move(viewClass), parent), host_(host), table_(table), help_(help) {
    form_ = new FieldForm(host_.Session(), host_.GetPrompter(), host_.Language(), table_, std::move(keys), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new FormScrollArea(form_, this));
    layout->addStretch(1);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addWidget(CloseHelpButtons(*this, host_, help_, table_.advancedHelp));
    form_->Load();
}

void FormEditorView::RefreshFromImage() { form_->Load(); }

std::optional<std::uint32_t> FormEditorView::HelpContext(bool& advanced) const {
    advanced = table_.advancedHelp;
    if (const auto help = form_->FocusedHelp()) return help;
    return help_;
}

void FormEditorView::UseFixedPitch(const std::vector<std::string>& keys, const QFont& font, int characters) {
    for (const std::string& key : keys) {
        auto* edit = qobject_cast<QLineEdit*>(form_->Control(key));
        if (!edit) continue;
        edit->setFont(font);
        const QMargins m = edit->textMargins();
        const int frame = 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
        const int width = QFontMetrics(font).horizontalAdvance(QString(characters, QLatin1Char(' '))) + m.left() +
                          m.right() + 2 * frame + 8;
        edit->setMinimumWidth(width);
    }
}

// ---------------------------------------------------------------------------

QSize GridSizeHint(const RecordGridView& grid) {
    const int width = grid.frameWidth() * 2 + grid.FittedWidth();
    int height = grid.frameWidth() * 2 + grid.horizontalHeader()->sizeHint().height();
    for (int r = 0; r < grid.model()->rowCount(); ++r) height += grid.rowHeight(r);
    return {width, height};
}

GridEditorView::GridEditorView(EditorHost& host, std::string viewClass, const FieldTable& table,
                               std::function<std::vector<GridColumn>()> columns, std::uint32_t help,
                               GridOptions options, QWidget* parent)
    : EditorView(std::move(viewClass), parent), host_(host), table_(table), help_(help) {
    model_ = new RecordGridModel(host_.Session(), host_.Language(), table_, std::move(columns), this);
    grid_ = new RecordGridView(model_, host_.GetPrompter(), this, options);
    grid_->setObjectName(QString::fromLatin1(table_.prefix) + QStringLiteral("Grid"));
    grid_->setFont(host_.Fonts().grid);
    grid_->FitColumns();
    grid_->SetCurrentRow(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(CloseHelpButtons(*this, host_, help_, table_.advancedHelp));
    setFocusProxy(grid_);
}

QSize GridEditorView::sizeHint() const {
    const QSize grid = GridSizeHint(*grid_);
    const QMargins m = layout()->contentsMargins();
    return WithTitleRoom({std::max(grid.width(), layout()->itemAt(1)->sizeHint().width()) + m.left() + m.right(),
                          grid.height() + layout()->spacing() + layout()->itemAt(1)->sizeHint().height() + m.top() +
                              m.bottom()});
}

void GridEditorView::RefreshFromImage() { model_->Reload(); }

bool GridEditorView::HandleCommand(int command) { return HandleGridCommand(*grid_, command); }

std::optional<std::uint32_t> GridEditorView::HelpContext(bool& advanced) const {
    advanced = table_.advancedHelp;
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) {
        if (const auto help = grid_->CurrentHelp()) return help;
    }
    return help_;
}

}  // namespace vrm
