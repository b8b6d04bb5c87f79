// CChInfoView: all channels in a grid, one row a channel, the main channel
// fields edited in place, whole channels copied, pasted and deleted, rows
// copied as text; the Channel Edit button (and F11) opens the channel edit
// form on the current row, and moving the row moves that form along.
#pragma once

#include <optional>

#include "gui/widgets/editor_view.h"

class QPushButton;

namespace vrm {

class RecordGridModel;
class RecordGridView;

class CChInfoView final : public EditorView {
    Q_OBJECT
public:
    CChInfoView(EditorHost& host, QWidget* parent = nullptr);

    void RefreshFromImage() override;
    bool HandleCommand(int command) override;
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;
    QSize sizeHint() const override;

    RecordGridView* Grid() const { return grid_; }
    QPushButton* ChannelEditButton() const { return editButton_; }
    int CurrentChannel() const;
    void OpenChannelEdit();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateTitle();
    void OnRowChanged(int row);

    EditorHost& host_;
    RecordGridModel* model_ = nullptr;
    RecordGridView* grid_ = nullptr;
    QPushButton* editButton_ = nullptr;
};

}  // namespace vrm
