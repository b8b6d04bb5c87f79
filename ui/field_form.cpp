#include "ui/field_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "editors/edit_session.h"
#include "ui/field_editors.h"
#include "ui/form_helpers.h"

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
    for (const std::string& key : keys) {
        const FieldDef* f = table.Find(key);
        if (!f) continue;
        Entry entry;
        entry.field = f;
        entry.line = static_cast<int>(entries_.size());
        entry.label = new QLabel(LangText(language_, f->label), this);
        entry.label->setObjectName(QString::fromLatin1(f->key) + QStringLiteral("_label"));
        grid_->addWidget(entry.label, entry.line, 0);
        entries_.push_back(entry);
    }
    BuildControls();
    new EnterAsTab(this);
}

void FieldForm::BuildControls() {
    builtMode_ = static_cast<int>(session_.Context().Mode());
    for (Entry& entry : entries_) {
        delete entry.control;
        entry.control = fieldui::CreateEditor(session_, FieldRef{&table_, entry.field, row_}, this, false);
        entry.loaded.clear();
        if (auto* check = qobject_cast<QCheckBox*>(entry.control)) {
            // A check box carries its caption itself.
            check->setText(entry.label->text());
            entry.label->hide();
            entry.label->setEnabled(false);
        } else {
            entry.label->setBuddy(entry.control);
        }
        grid_->addWidget(entry.control, entry.line, 1);
        entry.control->show();
        Connect(entry);
    }
    // The tab order follows the rows.
    for (std::size_t i = 1; i < entries_.size(); ++i) setTabOrder(entries_[i - 1].control, entries_[i].control);
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
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::editingFinished, this, commit);
    }
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
        if (key == e.field->key) return e.control;
    return nullptr;
}

QLabel* FieldForm::Label(const std::string& key) const {
    for (const Entry& e : entries_)
        if (key == e.field->key && !qobject_cast<QCheckBox*>(e.control)) return e.label;
    return nullptr;
}

std::optional<std::uint32_t> FieldForm::FocusedHelp() const {
    QWidget* focus = QApplication::focusWidget();
    for (const Entry& e : entries_) {
        if (focus && (focus == e.control || e.control->isAncestorOf(focus))) return e.field->help;
    }
    return std::nullopt;
}

}  // namespace vrm
