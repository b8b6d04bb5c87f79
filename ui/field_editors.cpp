#include "ui/field_editors.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "editors/edit_session.h"
#include "model/entry_mode.h"
#include "text/language_table.h"
#include "text/prompter.h"
#include "text/text_ids.h"

namespace vrm {

FieldCombo::FieldCombo(QWidget* parent) : QComboBox(parent) {
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

void FieldCombo::showPopup() {
    open_ = true;
    QComboBox::showPopup();
}

void FieldCombo::hidePopup() {
    // A pick from the list closes the popup and then activates the entry:
    // the activation that follows at once counts as a choice.
    picked_ = true;
    open_ = false;
    QComboBox::hidePopup();
    QTimer::singleShot(0, this, [this] { picked_ = false; });
}

namespace fieldui {
namespace {

constexpr const char* kLoadedIndex = "vrmLoadedIndex";

QString Utf8(const std::string& s) { return QString::fromUtf8(s.c_str()); }

// A frequency in MHz: digits with one decimal point ("." or the user's
// separator), as many characters as the field takes.
QValidator* FrequencyValidator(const std::string& separator, QObject* parent) {
    QString sep = QRegularExpression::escape(Utf8(separator));
    if (sep != QLatin1String("\\.")) sep = QStringLiteral("(?:\\.|%1)").arg(sep);
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*(?:%1[0-9]*)?$").arg(sep)), parent);
}

// A QT/DQT code as it is typed: what the field takes, or the start of it.
class CodeValidator final : public QValidator {
public:
    CodeValidator(const EditContext& ctx, QObject* parent) : QValidator(parent), ctx_(ctx) {}

    State validate(QString& input, int&) const override {
        const std::string text = input.trimmed().toStdString();
        if (IsCodeText(ctx_, text)) return Acceptable;
        return IsStartOfCode(text) ? Intermediate : Invalid;
    }

private:
    bool IsStartOfCode(const std::string& text) const {
        auto startOf = [&text](const std::string& whole) {
            return text.size() <= whole.size() && EqualsIgnoringCase(text, whole.substr(0, text.size()));
        };
        if (startOf("off") || startOf(ctx_.tables.OffText()) || startOf(ctx_.tables.NoneText())) return true;
        // "D" and up to three digits on the way to "D023N".
        if ((text[0] == 'D' || text[0] == 'd') && text.size() <= 4 &&
            std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return true;
        if (!UsesPresetList(ctx_.Mode())) return false;
        return startOf("CQT") || startOf("CDT");
    }

    const EditContext& ctx_;
};

bool FromList(const EditSession& session, const FieldRef& ref) {
    return ref.field->kind == FieldKind::Frequency && UsesPresetList(session.Context().Mode());
}

}  // namespace

QWidget* CreateEditor(EditSession& session, const FieldRef& ref, QWidget* parent, bool inGridCell) {
    const FieldDef& f = *ref.field;
    QWidget* editor = nullptr;
    switch (f.kind) {
        case FieldKind::Check:
            if (inGridCell) {
                editor = new FieldCombo(parent);
            } else {
                editor = new QCheckBox(parent);
            }
            break;
        case FieldKind::List: editor = new FieldCombo(parent); break;
        case FieldKind::Code: {
            auto* combo = new FieldCombo(parent);
            combo->setEditable(true);
            // What is typed is what counts: no completion from the list.
            combo->setCompleter(nullptr);
            combo->lineEdit()->setMaxLength(8);
            combo->lineEdit()->setValidator(new CodeValidator(session.Context(), combo));
            editor = combo;
            break;
        }
        case FieldKind::Frequency:
            if (FromList(session, ref)) {
                editor = new FieldCombo(parent);
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setMaxLength(f.maxLength > 0 ? f.maxLength : 9);
                edit->setValidator(FrequencyValidator(session.Context().separator, edit));
                editor = edit;
            }
            break;
        case FieldKind::Number: {
            auto* spin = new QSpinBox(parent);
            spin->setRange(f.number.min - (f.number.hasOff ? f.number.step : 0), f.number.max);
            spin->setSingleStep(f.number.step);
            spin->setWrapping(true);
            if (f.number.hasOff) spin->setSpecialValueText(Utf8(session.Context().Text(tid::kCodeNone)));
            editor = spin;
            break;
        }
        default: {
            auto* edit = new QLineEdit(parent);
            if (f.maxLength > 0) edit->setMaxLength(f.maxLength);
            editor = edit;
            break;
        }
    }
    editor->setObjectName(QString::fromLatin1(f.key));
    return editor;
}

QString Load(QWidget* editor, EditSession& session, const FieldRef& ref) {
    const QString text = Utf8(session.Text(ref));
    if (auto* combo = qobject_cast<FieldCombo*>(editor)) {
        const QSignalBlocker block(combo);
        combo->clear();
        int current = -1;
        const std::vector<FieldOption> options = session.Options(ref);
        for (std::size_t i = 0; i < options.size(); ++i) {
            const QString line = Utf8(options[i].text);
            combo->addItem(line, Utf8(options[i].token));
            if (current < 0 && (line == text || (!text.isEmpty() && line.endsWith(QStringLiteral("  ") + text))))
                current = static_cast<int>(i);
        }
        // A blank frequency is the list's "none" line.
        if (current < 0 && text.isEmpty() && ref.field->kind == FieldKind::Frequency && combo->count() > 0) current = 0;
        combo->setCurrentIndex(combo->isEditable() ? -1 : current);
        if (combo->isEditable()) combo->setEditText(text);
        combo->setProperty(kLoadedIndex, current);
    } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
        const QSignalBlocker block(check);
        check->setChecked(text == Utf8(session.Context().Text(tid::kOnText)));
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        const QSignalBlocker block(spin);
        bool number = false;
        const int value = text.toInt(&number);
        spin->setValue(number ? value : spin->minimum());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
    }
    return text;
}

std::optional<FieldInput> Input(QWidget* editor, const QString& loaded) {
    if (auto* combo = qobject_cast<FieldCombo*>(editor)) {
        if (combo->isEditable()) {
            if (combo->PickedFromList() && combo->currentIndex() >= 0) return FieldInput::Chosen(combo->currentIndex());
            const QString text = combo->currentText();
            if (text == loaded) return std::nullopt;
            return FieldInput::Typed(text.toStdString());
        }
        const int index = combo->currentIndex();
        if (index < 0 || index == combo->property(kLoadedIndex).toInt()) return std::nullopt;
        return FieldInput::Chosen(index);
    }
    if (auto* check = qobject_cast<QCheckBox*>(editor)) return FieldInput::Checked(check->isChecked());
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        const QString text = spin->value() == spin->minimum() && !spin->specialValueText().isEmpty()
                                 ? spin->specialValueText()
                                 : QString::number(spin->value());
        if (text == loaded) return std::nullopt;
        return FieldInput::Typed(text.toStdString());
    }
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        if (edit->text() == loaded) return std::nullopt;
        return FieldInput::Typed(edit->text().toStdString());
    }
    return std::nullopt;
}

bool StartWithText(QWidget* editor, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(editor);
    if (auto* combo = qobject_cast<QComboBox*>(editor)) edit = combo->isEditable() ? combo->lineEdit() : nullptr;
    if (!edit) return false;
    if (const QValidator* v = edit->validator()) {
        QString probe = text;
        int pos = 0;
        if (v->validate(probe, pos) == QValidator::Invalid) return false;
    }
    if (edit->maxLength() < text.size()) return false;
    edit->setText(text);
    edit->deselect();
    edit->setCursorPosition(static_cast<int>(text.size()));
    return true;
}

void ShowWriteResult(Prompter& prompter, const LanguageTable& language, const WriteResult& result) {
    for (tid::TextId id : result.messages) {
        Message m;
        m.kind = MessageKind::Warning;
        m.caption = language.TextString(tid::kCaptionWarning);
        m.text = language.TextString(id);
        m.textId = static_cast<int>(id);
        prompter.Ask(m);
    }
    const std::string refusal = field::RefusalText(language, result);
    if (refusal.empty()) return;
    Message m;
    m.kind = MessageKind::Error;
    m.caption = language.TextString(tid::kCaptionError);
    m.text = refusal;
    m.textId = static_cast<int>(result.refusal);
    prompter.Ask(m);
}

}  // namespace fieldui
}  // namespace vrm
