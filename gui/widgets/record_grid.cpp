#include "gui/widgets/record_grid.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <set>

#include "core/fields/edit_session.h"
#include "core/fields/editor_commands.h"
#include "core/fields/field_registry.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {
constexpr const char* kLoadedText = "vrmLoadedText";
constexpr const char* kEditEnded = "vrmEditEnded";  // the grid closed this editor
}

// ---------------------------------------------------------------------------
// Model

RecordGridModel::RecordGridModel(EditSession& session, const LanguageTable& language, const FieldTable& table,
                                 std::function<std::vector<GridColumn>()> columns, QObject* parent)
    : QAbstractTableModel(parent), session_(session), language_(language), table_(table),
      columnSource_(std::move(columns)) {
    columns_ = columnSource_();
    rows_ = session_.RowCount(table_);
}

int RecordGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

FieldRef RecordGridModel::Ref(const QModelIndex& index) const {
    if (!index.isValid() || index.column() >= static_cast<int>(columns_.size())) return {};
    return FieldRef{&table_, columns_[static_cast<std::size_t>(index.column())].field, index.row()};
}

bool RecordGridModel::CellEnabled(const QModelIndex& index) const {
    const FieldRef ref = Ref(index);
    return ref.Valid() && session_.Enabled(ref);
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromUtf8(GridCellText(session_.Context(), table_, column, index.row()).c_str());
        case Qt::AccessibleDescriptionRole:
            // A screen reader hears where the cell stands with its text.
            return QString::fromUtf8(
                GridCellPlace(session_.Context(), table_, columns_, index.row(), index.column()).c_str());
        case Qt::TextAlignmentRole:
            return column.field ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (!column.field) return QApplication::palette().button();
            return {};
        case Qt::ForegroundRole:
            if (column.field && !CellEnabled(index))
                return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            return {};
        default: return {};
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) return {};
    if (role == Qt::DisplayRole) return LangText(language_, columns_[static_cast<std::size_t>(section)].header);
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (columns_[static_cast<std::size_t>(index.column())].field) f |= Qt::ItemIsEditable;
    return f;
}

void RecordGridModel::Reload() {
    std::vector<GridColumn> columns = columnSource_();
    const int rows = session_.RowCount(table_);
    const bool sameShape = rows == rows_ && columns.size() == columns_.size() &&
                           std::equal(columns.begin(), columns.end(), columns_.begin(),
                                      [](const GridColumn& a, const GridColumn& b) { return a.field == b.field; });
    if (!sameShape) {
        beginResetModel();
        columns_ = std::move(columns);
        rows_ = rows;
        endResetModel();
        return;
    }
    columns_ = std::move(columns);
    if (rows_ > 0 && !columns_.empty()) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

WriteResult RecordGridModel::Commit(const QModelIndex& index, const FieldInput& input) {
    const FieldRef ref = Ref(index);
    if (!ref.Valid()) return WriteResult::Refuse();
    const WriteResult result = session_.Commit(ref, input);
    // The session's listener reloads every view; a grid on its own reloads here.
    Reload();
    return result;
}

// ---------------------------------------------------------------------------
// Delegate

RecordGridDelegate::RecordGridDelegate(RecordGridView* view) : QStyledItemDelegate(view), view_(view) {}

QWidget* RecordGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    RecordGridModel* model = view_->GridModel();
    const FieldRef ref = model->Ref(index);
    if (!ref.Valid()) return nullptr;
    QWidget* editor = fieldui::CreateEditor(model->Session(), ref, parent, true);
    editor->setAutoFillBackground(true);
    // The cell's editor keeps the cell's place as its name.
    fieldui::SetAccessibleName(editor, index.data(Qt::AccessibleDescriptionRole).toString());
    lastEditor_ = editor;
    if (auto* combo = qobject_cast<FieldCombo*>(editor)) {
        // A pick from the list ends the cell's edit at once.
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo] {
            // Ending a cell's edit takes the focus from its combo, and an
            // editable combo then reports a text that matches an entry as
            // activated once more. The grid has let that editor go by then:
            // it is not committed or closed a second time.
            if (combo->isHidden() || combo->property(kEditEnded).toBool()) return;
            view_->EndCellEdit(combo, QAbstractItemDelegate::NoHint, true);
        });
    }
    return editor;
}

bool RecordGridDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* combo = qobject_cast<FieldCombo*>(object);
        if (combo && !combo->PopupOpen() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            emit commitData(combo);
            emit closeEditor(combo, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void RecordGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    RecordGridModel* model = view_->GridModel();
    const QString loaded = fieldui::Load(editor, model->Session(), model->Ref(index));
    editor->setProperty(kLoadedText, loaded);
    if (!startText_) return;
    const QString text = *startText_;
    startText_.reset();
    if (!fieldui::StartWithText(editor, text)) {
        // A key the editor's filter refuses does nothing: the edit ends unchanged.
        QTimer::singleShot(0, editor, [view = view_, editor] {
            view->EndCellEdit(editor, QAbstractItemDelegate::RevertModelCache, false);
        });
    }
}

void RecordGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    const std::optional<FieldInput> input = fieldui::Input(editor, editor->property(kLoadedText).toString());
    if (!input) return;
    const WriteResult result = view_->GridModel()->Commit(index, *input);
    editor->setProperty(kLoadedText, fieldui::Load(editor, view_->GridModel()->Session(), view_->GridModel()->Ref(index)));
    // The messages come once the cell's editor has closed.
    QTimer::singleShot(0, view_, [view = view_, result, index = QPersistentModelIndex(index)] {
        view->AnnounceCell(index);
        view->ReportCommit(result);
    });
    emit view_->dataEdited();
}

// ---------------------------------------------------------------------------
// View

RecordGridView::RecordGridView(RecordGridModel* model, Prompter& prompter, QWidget* parent, GridOptions options)
    : QTableView(parent), options_(options), model_(model), delegate_(new RecordGridDelegate(this)), prompter_(prompter) {
    setModel(model_);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        OpenEditor(EditTarget(index), std::nullopt);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        FitColumns();
        SetCurrentRow(0);
    });
    FitColumns();
}

void RecordGridView::AnnounceCell(const QModelIndex& index) {
    if (!index.isValid() || !QAccessible::isActive()) return;
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface* table = grid ? grid->tableInterface() : nullptr;
    QAccessibleInterface* cell = table ? table->cellAt(index.row(), index.column()) : nullptr;
    if (!cell) return;
    QAccessibleEvent event(cell, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

int RecordGridView::CurrentRow() const { return currentIndex().isValid() ? currentIndex().row() : 0; }

void RecordGridView::SetCurrentRow(int row) {
    if (model_->rowCount() == 0) return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    const int column = currentIndex().isValid() ? std::max(currentIndex().column(), 1) : 1;
    setCurrentIndex(model_->index(row, std::min(column, model_->columnCount() - 1)));
}

std::vector<int> RecordGridView::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.insert(i.row());
    if (rows.empty()) rows.insert(CurrentRow());
    return {rows.begin(), rows.end()};
}

bool RecordGridView::SelectionHasSeveralCells() const { return selectionModel()->selectedIndexes().size() > 1; }

QModelIndex RecordGridView::EditTarget(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    int column = std::max(index.column(), 1);
    if (!model_->Session().RowExists(model_->Table(), index.row())) column = 1;
    QModelIndex target = model_->index(index.row(), column);
    if (!model_->CellEnabled(target)) {
        const int fallback = model_->Columns()[static_cast<std::size_t>(column)].whenDisabled;
        if (fallback < 0) return {};
        target = model_->index(index.row(), fallback);
        if (!model_->CellEnabled(target)) return {};
    }
    return target;
}

bool RecordGridView::OpenEditor(const QModelIndex& index, std::optional<QString> startText) {
    if (!index.isValid()) return false;
    setCurrentIndex(index);
    const bool typed = startText.has_value();
    delegate_->SetStartText(std::move(startText));
    if (!edit(index, QAbstractItemView::AllEditTriggers, nullptr)) {
        delegate_->SetStartText(std::nullopt);
        return false;
    }
    // The view selects an editor's whole text as it opens; a typed start
    // goes on after the key instead.
    QWidget* editor = delegate_->LastEditor();
    QLineEdit* line = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) line = combo->lineEdit();
    if (typed && line) {
        line->deselect();
        line->end(false);
    }
    return true;
}

void RecordGridView::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (mods == Qt::NoModifier) {
                OpenEditor(EditTarget(currentIndex()), std::nullopt);
                return;
            }
            break;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            if (options_.clearToFirstEntry) {
                // The cell's first entry, stored at once (a fixed cell stays as it is).
                const WriteResult r = model_->Commit(currentIndex(), FieldInput::Chosen(0));
                if (r.Ok()) {
                    AnnounceCell(currentIndex());
                    emit dataEdited();
                }
            } else if (SelectionHasSeveralCells() && (event->key() == Qt::Key_Delete || options_.cells)) {
                DeleteRows();
            } else {
                OpenEditor(EditTarget(currentIndex()), QString());
            }
            return;
        case Qt::Key_Menu:
            ShowContextMenu(viewport()->mapToGlobal(visualRect(currentIndex()).center()));
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (mods & Qt::ControlModifier) {
                event->ignore();
                return;
            }
            break;
        default: break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        StartEditWithKey(*event);
        return;
    }
    QTableView::keyPressEvent(event);
}

void RecordGridView::StartEditWithKey(const QKeyEvent& event) {
    const QString text = event.text();
    const QModelIndex target = EditTarget(currentIndex());
    if (!target.isValid()) return;
    const FieldRef ref = model_->Ref(target);
    const bool typed = ref.field->kind == FieldKind::Code ||
                       (ref.field->kind == FieldKind::Frequency && model_->Session().Options(ref).empty());
    if (typed) {
        // A key the cell's filter refuses opens nothing.
        const std::unique_ptr<QWidget> probe(fieldui::CreateEditor(model_->Session(), ref, nullptr, true));
        if (fieldui::StartWithText(probe.get(), text)) OpenEditor(target, text);
    } else if (OpenEditor(target, std::nullopt)) {
        // A list column: its drop-down opens and takes the key.
        if (auto* combo = qobject_cast<FieldCombo*>(delegate_->LastEditor())) {
            combo->showPopup();
            QKeyEvent key(QEvent::KeyPress, event.key(), event.modifiers(), text);
            QApplication::sendEvent(combo->view(), &key);
        }
    }
}

QModelIndex RecordGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex at = currentIndex();
    if (options_.wrapLeftRight && at.isValid()) {
        const int last = model_->columnCount() - 1;
        // From a row's first cell back to the previous row's last, and on from
        // its last to the next row's first; the grid's ends stop.
        if (action == MoveLeft && at.column() <= 1)
            return at.row() > 0 ? model_->index(at.row() - 1, last) : at;
        if (action == MoveRight && at.column() >= last)
            return at.row() + 1 < model_->rowCount() ? model_->index(at.row() + 1, 1) : at;
    }
    QModelIndex index = QTableView::moveCursor(action, modifiers);
    // The number column is fixed: the cursor stays right of it.
    if (index.isValid() && index.column() == 0 && model_->columnCount() > 1) index = model_->index(index.row(), 1);
    return index;
}

void RecordGridView::EndCellEdit(QWidget* editor, QAbstractItemDelegate::EndEditHint hint, bool commit) {
    if (commit) emit delegate_->commitData(editor);
    emit delegate_->closeEditor(editor, hint);
}

void RecordGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor) {
        if (editor->property(kEditEnded).toBool()) return;  // closed already
        editor->setProperty(kEditEnded, true);
    }
    QTableView::closeEditor(editor, hint);
}

void RecordGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && (!previous.isValid() || current.row() != previous.row())) emit currentRowChanged(current.row());
}

void RecordGridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    emit currentRowChanged(CurrentRow());
}

void RecordGridView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    QWidget* now = QApplication::focusWidget();
    if (!now || (now != this && !isAncestorOf(now))) emit gridLeft();
}

void RecordGridView::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex at = indexAt(event->pos());
    // Only over the selected cells, as the grid's own menu.
    if (event->reason() == QContextMenuEvent::Mouse && (!at.isValid() || !selectionModel()->isSelected(at))) return;
    ShowContextMenu(event->globalPos());
}

void RecordGridView::ShowContextMenu(const QPoint& globalPos) {
    if (!options_.records && !options_.cells) return;
    const LanguageTable& language = model_->Language();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GridMenu"));
    auto add = [&](tid::TextId text, const char* name, auto slot) {
        QAction* a = menu.addAction(LangText(language, text));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add(tid::kGridMenuCopy, "gridCopy", [this] { Copy(); });
    add(tid::kGridMenuPaste, "gridPaste", [this] { Paste(); })->setEnabled(CanPaste());
    add(tid::kGridMenuDelete, "gridDelete", [this] { DeleteRows(); });
    if (options_.records) {
        menu.addSeparator();
        add(tid::kGridMenuToClip, "gridToClip", [this] { CopyAsText(false); });
        add(tid::kGridMenuToClipWithTitle, "gridToClipWithTitle", [this] { CopyAsText(true); });
    }
    menu.exec(globalPos);
}

void RecordGridView::Copy() {
    if (options_.cells) return CopyCells();
    if (!options_.records) return;
    const std::vector<int> rows = SelectedRows();
    model_->Session().CopyRows(model_->Table(), rows.front(), rows.back());
}

bool RecordGridView::CanPaste() const {
    if (options_.cells) return !model_->Session().CellClipboard().empty();
    return options_.records && model_->Session().CanPaste(model_->Table());
}

void RecordGridView::Paste() {
    if (options_.cells) return PasteCells();
    if (!options_.records) return;
    const int row = selectionModel()->selectedIndexes().isEmpty() ? CurrentRow() : SelectedRows().front();
    if (model_->Session().PasteRows(model_->Table(), row)) {
        model_->Reload();
        emit dataEdited();
    }
}

void RecordGridView::CopyCells() {
    QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty()) cells.push_back(currentIndex());
    int top = model_->rowCount(), left = model_->columnCount(), bottom = -1, right = -1;
    for (const QModelIndex& i : cells) {
        top = std::min(top, i.row()), bottom = std::max(bottom, i.row());
        left = std::min(left, std::max(i.column(), 1)), right = std::max(right, i.column());
    }
    std::vector<std::vector<std::string>> block;
    for (int r = top; r <= bottom; ++r) {
        block.emplace_back();
        for (int c = left; c <= right; ++c) block.back().push_back(model_->index(r, c).data().toString().toStdString());
    }
    model_->Session().CellClipboard() = std::move(block);
}

void RecordGridView::PasteCells() {
    const auto& block = model_->Session().CellClipboard();
    QModelIndexList cells = selectionModel()->selectedIndexes();
    QModelIndex from = currentIndex();
    for (const QModelIndex& i : cells)
        if (i.row() < from.row() || (i.row() == from.row() && i.column() < from.column())) from = i;
    if (block.empty() || !from.isValid()) return;
    // Each text through its cell's rule, as if typed there; one step to undo.
    std::vector<WriteResult> results;
    const bool changed = model_->Session().Change([&](EditContext& ctx) {
        for (std::size_t r = 0; r < block.size(); ++r)
            for (std::size_t c = 0; c < block[r].size(); ++c) {
                const QModelIndex cell = model_->index(from.row() + static_cast<int>(r), std::max(from.column(), 1) + static_cast<int>(c));
                const FieldRef ref = model_->Ref(cell);
                if (!ref.Valid() || !field::Enabled(ctx, ref)) continue;
                results.push_back(field::Write(ctx, ref, FieldInput::Typed(block[r][c])));
            }
        return true;
    });
    model_->Reload();
    if (changed) emit dataEdited();
    for (const WriteResult& r : results) ReportCommit(r);
}

void RecordGridView::DeleteCells() {
    QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty()) cells.push_back(currentIndex());
    // Frequency 1 before frequency 0, so that each pair is blanked whole.
    std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return a.row() != b.row() ? a.row() < b.row() : a.column() > b.column();
    });
    const bool changed = model_->Session().Change([&](EditContext& ctx) {
        for (const QModelIndex& cell : cells) {
            const FieldRef ref = model_->Ref(cell);
            if (ref.Valid() && field::Enabled(ctx, ref)) field::Write(ctx, ref, FieldInput::Typed(""));
        }
        return true;
    });
    model_->Reload();
    if (changed) emit dataEdited();
}

void RecordGridView::DeleteRows() {
    if (options_.cells) return DeleteCells();
    if (!options_.records) return;
    if (model_->Session().DeleteRows(model_->Table(), SelectedRows())) {
        model_->Reload();
        emit dataEdited();
    }
}

void RecordGridView::CopyAsText(bool withTitle) {
    const std::string text =
        GridRowsText(model_->Session().Context(), model_->Table(), model_->Columns(), SelectedRows(), withTitle);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.c_str()));
}

std::optional<std::uint32_t> RecordGridView::CurrentHelp() const {
    const FieldRef ref = model_->Ref(currentIndex());
    if (!ref.Valid()) return std::nullopt;
    return ref.field->help;
}

void RecordGridView::FitColumns() {
    const QFontMetrics metrics(font());
    const double scale = std::max(1.0, metrics.averageCharWidth() / 6.0);
    const QFontMetrics headerMetrics(horizontalHeader()->font());
    fittedWidth_ = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = static_cast<int>(model_->Columns()[static_cast<std::size_t>(c)].width * scale);
        width = std::max(width, headerMetrics.horizontalAdvance(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 16);
        for (int r = 0; r < model_->rowCount(); ++r)
            width = std::max(width, metrics.horizontalAdvance(model_->index(r, c).data().toString()) + 12);
        setColumnWidth(c, width);
        fittedWidth_ += width;
    }
}

bool HandleGridCommand(RecordGridView& grid, int command) {
    switch (command) {
        case cmd::kGridCopy: grid.Copy(); return true;
        case cmd::kGridPaste:
            // Paste works on the grid only while it has the focus.
            if (grid.hasFocus()) grid.Paste();
            return true;
        default: return false;
    }
}

void RecordGridView::ReportCommit(const WriteResult& result) {
    fieldui::ShowWriteResult(prompter_, model_->Language(), result);
}

}  // namespace vrm
