#include "gui/widgets/field_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <map>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "core/fields/edit_session.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// The line edit a control types into, if any.
QLineEdit* TextEdit(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->isEditable() ? combo->lineEdit() : nullptr;
    if (auto* spin = qobject_cast<QSpinBox*>(control)) return spin->findChild<QLineEdit*>();
    return qobject_cast<QLineEdit*>(control);
}

}  // namespace

FieldForm::FieldForm(EditSession& session, Prompter& prompter, const LanguageTable& language,
                     const FieldTable& table, std::vector<std::string> keys, QWidget* parent)
    : QWidget(parent), session_(session), prompter_(prompter), language_(language), table_(table) {
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setColumnStretch(1, 1);
    if (keys.empty()) {
        for (const FieldDef& f : table.fields) keys.emplace_back(f.key);
    }
    // Rows go into the form's grid, or into the box of the group they belong to.
    std::map<QGridLayout*, int> lines;
    QGridLayout* target = grid_;
    QWidget* owner = this;
    int inGroup = 0;
    for (const std::string& key : keys) {
        const FieldDef* f = table.Find(key);
        if (!f) continue;
        Entry entry;
        entry.field = f;
        if (f->kind == FieldKind::Group) {
            entry.group = new QGroupBox(LangText(language_, f->label), this);
            entry.group->setObjectName(QString::fromLatin1(f->key));
            grid_->addWidget(entry.group, lines[grid_]++, 0, 1, 2);
            target = new QGridLayout(entry.group);
            target->setColumnStretch(1, 1);
            owner = entry.group;
            inGroup = f->groupSize;
            entries_.push_back(entry);
            continue;
        }
        entry.layout = target;
        entry.line = lines[target]++;
        entry.label = new QLabel(LangText(language_, f->label), owner);
        entry.label->setObjectName(QString::fromLatin1(f->key) + QStringLiteral("_label"));
        target->addWidget(entry.label, entry.line, 0);
        entries_.push_back(entry);
        if (inGroup > 0 && --inGroup == 0) {
            target = grid_;
            owner = this;
        }
    }
    BuildControls();
    // One label column for the form and its groups.
    int widest = 0;
    for (const Entry& e : entries_)
        if (e.label && e.label->isVisibleTo(this) != false) widest = std::max(widest, e.label->sizeHint().width());
    for (const Entry& e : entries_) {
        if (!e.layout) continue;
        const int inset = e.layout == grid_ ? 0 : e.layout->contentsMargins().left() + e.label->parentWidget()->contentsMargins().left();
        e.layout->setColumnMinimumWidth(0, std::max(0, widest - inset));
    }
    new EnterAsTab(this);
}

void FieldForm::BuildControls() {
    builtMode_ = static_cast<int>(session_.Context().Mode());
    QWidget* previous = nullptr;
    for (Entry& entry : entries_) {
        if (entry.group) continue;
        delete entry.control;
        entry.control =
            fieldui::CreateEditor(session_, FieldRef{&table_, entry.field, row_}, entry.label->parentWidget(), false);
        entry.loaded.clear();
        if (auto* check = qobject_cast<QCheckBox*>(entry.control)) {
            // A check box carries its caption itself.
            check->setText(entry.label->text());
            entry.label->hide();
            entry.label->setEnabled(false);
        } else {
            entry.label->setBuddy(entry.control);
        }
        // A screen reader names the control by its label's text.
        fieldui::SetAccessibleName(entry.control, WithoutMnemonic(entry.label->text()));
        entry.layout->addWidget(entry.control, entry.line, 1);
        entry.control->show();
        Connect(entry);
        // The tab order follows the rows.
        if (previous) setTabOrder(previous, entry.control);
        previous = entry.control;
    }
}

void FieldForm::Connect(Entry& entry) {
    const std::size_t index = static_cast<std::size_t>(&entry - entries_.data());
    auto commit = [this, index] { Commit(entries_[index]); };
    QWidget* control = entry.control;
    if (auto* combo = qobject_cast<FieldCombo*>(control)) {
        connect(combo, qOverload<int>(&QComboBox::activated), this, commit);
        if (combo->isEditable()) {
            connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, index, combo] {
                if (!combo->PopupOpen()) Commit(entries_[index]);
            });
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        connect(check, &QCheckBox::clicked, this, commit);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setKeyboardTracking(false);
        connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, commit);
        connect(spin, &QSpinBox::editingFinished, this, commit);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::editingFinished, this, commit);
    }
    if (QLineEdit* edit = TextEdit(control)) {
        control->installEventFilter(this);
        if (edit != control) edit->installEventFilter(this);
    }
}

bool FieldForm::eventFilter(QObject* watched, QEvent* event) {
    // Tab (and Enter, which moves on as Tab) commits typing before the focus
    // moves, not as the field loses it: the focus then goes on to the fields
    // the commit enabled (a receive frequency typed into an empty channel
    // enables the rest of it) instead of past them.
    if (event->type() != QEvent::KeyPress || committing_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) || (key->modifiers() & ~Qt::ShiftModifier))
        return false;
    for (Entry& entry : entries_) {
        if (entry.control != watched && TextEdit(entry.control) != watched) continue;
        if (QLineEdit* edit = TextEdit(entry.control); edit && edit->isModified()) Commit(entry);
        break;
    }
    return false;
}

void FieldForm::SetRow(int row) {
    row_ = row;
    for (Entry& entry : entries_) entry.loaded.clear();
    Load();
}

void FieldForm::Load() {
    if (builtMode_ != static_cast<int>(session_.Context().Mode())) BuildControls();
    QWidget* focus = QApplication::focusWidget();
    for (Entry& entry : entries_) {
        const FieldRef ref{&table_, entry.field, row_};
        if (entry.group) {
            entry.group->setVisible(session_.Shown(ref));
            continue;
        }
        const bool shown = session_.Shown(ref);
        const bool check = qobject_cast<QCheckBox*>(entry.control) != nullptr;
        entry.control->setVisible(shown);
        entry.label->setVisible(shown && !check);
        const bool enabled = session_.Enabled(ref);
        entry.control->setEnabled(enabled);
        entry.label->setEnabled(enabled);
        // Text the user is typing stays until it is committed.
        QLineEdit* edit = TextEdit(entry.control);
        const bool editing = edit && focus == edit && edit->isModified() && edit->text() != entry.loaded;
        if (!editing) {
            entry.loaded = fieldui::Load(entry.control, session_, ref);
            if (edit) edit->setModified(false);
        }
    }
}

void FieldForm::Commit(Entry& entry) {
    if (committing_) return;  // a message box took the focus: no second commit
    const std::optional<FieldInput> input = fieldui::Input(entry.control, entry.loaded);
    if (!input) return;
    committing_ = true;
    const WriteResult result = session_.Commit(FieldRef{&table_, entry.field, row_}, *input);
    if (QLineEdit* edit = TextEdit(entry.control)) edit->setModified(false);
    Load();
    fieldui::ShowWriteResult(prompter_, language_, result);
    if (!result.Ok()) {
        if (QLineEdit* edit = TextEdit(entry.control)) edit->selectAll();
    }
    committing_ = false;
    emit committed();
}

QWidget* FieldForm::Control(const std::string& key) const {
    for (const Entry& e : entries_)
        if (key == e.field->key) return e.group ? static_cast<QWidget*>(e.group) : e.control;
    return nullptr;
}

QLabel* FieldForm::Label(const std::string& key) const {
    for (const Entry& e : entries_)
        if (key == e.field->key && !e.group && !qobject_cast<QCheckBox*>(e.control)) return e.label;
    return nullptr;
}

std::optional<std::uint32_t> FieldForm::FocusedHelp() const {
    QWidget* focus = QApplication::focusWidget();
    for (const Entry& e : entries_) {
        if (e.control && focus && (focus == e.control || e.control->isAncestorOf(focus))) return e.field->help;
    }
    return std::nullopt;
}

}  // namespace vrm
