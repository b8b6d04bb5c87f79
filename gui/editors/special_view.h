// CSpecialView: the advanced settings on three tabs: the QT reverse burst
// phase, the tuning frequencies (band points) in a grid, and USB charging.
// Help opens the advanced help file.
#pragma once

#include "gui/widgets/editor_view.h"

class QTabWidget;

namespace vrm {

class FieldForm;
class RecordGridModel;
class RecordGridView;

class CSpecialView final : public EditorView {
    Q_OBJECT
public:
    CSpecialView(EditorHost& host, QWidget* parent = nullptr);

    void RefreshFromImage() override;
    bool HandleCommand(int command) override;
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;

    QTabWidget* Tabs() const { return tabs_; }
    FieldForm* SignalingForm() const { return signaling_; }
    FieldForm* UsbForm() const { return usb_; }
    RecordGridView* BandPointGrid() const { return grid_; }

private:
    EditorHost& host_;
    QTabWidget* tabs_ = nullptr;
    FieldForm* signaling_ = nullptr;
    FieldForm* usb_ = nullptr;
    RecordGridModel* model_ = nullptr;
    RecordGridView* grid_ = nullptr;
};

}  // namespace vrm
