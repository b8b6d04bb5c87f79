// CChEditView: one channel at a time with all its items. The channel number
// has a spin button that wraps, Page Up shows the next channel and Page Down
// the previous one, Escape closes the form, Enter moves on like Tab. The
// items are the channel table's fields, built by the form builder.
#pragma once

#include <QSpinBox>
#include <optional>

#include "gui/widgets/editor_view.h"

class QPushButton;

namespace vrm {

class FieldForm;

// The channel number: digits only (one or two), a typed number beyond the
// channel count shows the last channel.
class ChannelNumberSpin final : public QSpinBox {
    Q_OBJECT
public:
    explicit ChannelNumberSpin(QWidget* parent = nullptr);
    void SetChannelCount(int count);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

class CChEditView final : public EditorView {
    Q_OBJECT
public:
    CChEditView(EditorHost& host, QWidget* parent = nullptr);

    void RefreshFromImage() override;
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;

    // Shows channel `channel` (0-based); a number outside the model's
    // channels is ignored.
    void ShowChannel(int channel);
    int Channel() const { return channel_; }
    // Page Up (+1) and Page Down (-1), wrapping, with the focus on the number.
    void StepChannel(int delta);

    FieldForm* Form() const { return form_; }
    ChannelNumberSpin* NumberSpin() const { return number_; }

private:
    void BuildForm(const LanguageTable& language);
    // Spin, buttons, Page Up/Down and Escape.
    void ConnectCommands();
    void Load();
    void UpdateTabOrder();

    EditorHost& host_;
    ChannelNumberSpin* number_ = nullptr;
    FieldForm* form_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    int channel_ = 0;
};

}  // namespace vrm
