#include "gui/widgets/field_editors.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>

#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/entry_mode.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_ids.h"

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

FieldSpin::FieldSpin(QWidget* parent) : QSpinBox(parent) {
    setWrapping(true);
    setKeyboardTracking(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { blank_ = false; });
}

void FieldSpin::SetRule(int min, int max, int step, bool hasOff, const QString& offText) {
    hasOff_ = hasOff;
    fieldMin_ = min;
    offText_ = offText;
    // Off sits one step below the minimum.
    setRange(hasOff ? min - step : min, std::max(min, max));
    setSingleStep(step);
    setSpecialValueText(hasOff ? offText : QString());
}

void FieldSpin::SetBlank(bool blank) {
    blank_ = blank;
    lineEdit()->setText(blank ? QString() : Off() ? offText_ : textFromValue(value()));
}

QString FieldSpin::FieldText() const {
    if (blank_) return {};
    return Off() ? offText_ : QString::number(value());
}

QString FieldSpin::textFromValue(int v) const { return blank_ ? QString() : QString::number(v); }

int FieldSpin::valueFromText(const QString& text) const {
    if (hasOff_ && (text.isEmpty() || offText_.startsWith(text, Qt::CaseInsensitive))) return minimum();
    const int value = text.toInt();
    // A typed negative number is the field's minimum, never its off value.
    if (value < 0) return std::max(fieldMin_, minimum());
    return std::clamp(value, minimum(), maximum());
}

QValidator::State FieldSpin::validate(QString& input, int&) const {
    if (input.isEmpty()) return QValidator::Intermediate;
    if (hasOff_ && offText_.startsWith(input, Qt::CaseInsensitive))
        return input.size() == offText_.size() ? QValidator::Acceptable : QValidator::Intermediate;
    // A leading minus is taken (the rule clamps it to the minimum), so that
    // "-5" is not read as "5".
    const qsizetype sign = input.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (sign == input.size()) return QValidator::Intermediate;
    for (qsizetype i = sign; i < input.size(); ++i)
        if (!input.at(i).isDigit()) return QValidator::Invalid;
    return input.size() - sign <= 4 ? QValidator::Acceptable : QValidator::Invalid;
}

void FieldSpin::stepBy(int steps) {
    if (blank_) {
        blank_ = false;
        setValue(steps > 0 ? (hasOff_ ? minimum() + singleStep() : minimum()) : maximum());
        lineEdit()->setText(Off() ? offText_ : textFromValue(value()));
        emit valueChanged(value());
        return;
    }
    QSpinBox::stepBy(steps);
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

// A frequency or a code chosen from a list (the channel fields); the other
// frequencies and codes are typed.
bool FromList(const EditSession& session, const FieldRef& ref) { return !session.Options(ref).empty(); }

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
            if (!FromList(session, ref)) {
                auto* edit = new QLineEdit(parent);
                edit->setMaxLength(8);
                edit->setValidator(new CodeValidator(session.Context(), edit));
                editor = edit;
                break;
            }
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
        case FieldKind::Number: editor = new FieldSpin(parent); break;
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

namespace {

// The line edit inside a spin box or an editable combo.
QLineEdit* InnerEdit(QWidget* editor) {
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->isEditable() ? combo->lineEdit() : nullptr;
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) return spin->findChild<QLineEdit*>();
    return nullptr;
}

// What the field takes (its range or forms) as the control's accessible
// description; the range may change with other fields, so it is set at
// every load.
void Describe(QWidget* editor, const QString& description) {
    if (editor->accessibleDescription() != description) editor->setAccessibleDescription(description);
    if (QLineEdit* inner = InnerEdit(editor); inner && inner->accessibleDescription() != description)
        inner->setAccessibleDescription(description);
}

}  // namespace

void SetAccessibleName(QWidget* editor, const QString& name) {
    editor->setAccessibleName(name);
    if (QLineEdit* inner = InnerEdit(editor)) inner->setAccessibleName(name);
}

QString Load(QWidget* editor, EditSession& session, const FieldRef& ref) {
    Describe(editor, Utf8(FieldDescription(session.Context(), ref)));
    // A record's field shows what its grid cell shows: nothing on an empty
    // row of a table that leaves such rows blank (an empty channel).
    const QString text = Utf8(ref.table && ref.table->IsRecordTable()
                                  ? GridCellText(session.Context(), *ref.table, GridColumn{ref.field}, ref.row)
                                  : session.Text(ref));
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
    } else if (auto* spin = qobject_cast<FieldSpin*>(editor)) {
        const QSignalBlocker block(spin);
        const NumberRule& rule = ref.field->number;
        const NumberRange range = field::Range(session.Context(), ref);
        spin->SetRule(range.min, range.max, rule.step, rule.hasOff, Utf8(session.Context().Text(tid::kCodeNone)));
        bool number = false;
        const int value = text.toInt(&number);
        spin->SetBlank(false);
        spin->setValue(number ? value : spin->minimum());
        spin->SetBlank(!number && !(rule.hasOff && text == Utf8(session.Context().Text(tid::kCodeNone))));
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
    if (auto* spin = qobject_cast<FieldSpin*>(editor)) {
        const QString text = spin->FieldText();
        if (text == loaded || (spin->Blank() && text.isEmpty())) return std::nullopt;
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
    edit->setModified(true);  // typed by the user: Ctrl+Z takes it back first
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
