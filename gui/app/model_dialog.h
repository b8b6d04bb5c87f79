// Model Information: choose the model and its band. The rules live in
// ModelChange; the dialog shows the lists, asks the warning that OK
// prepares, asks about unsaved changes before a change that resets or
// rebuilds data, and hands the choice over.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vrm {

class Application;
class FileDialogs;
class ModelChange;
class Prompter;

class ModelDialog final : public QDialog {
    Q_OBJECT
public:
    ModelDialog(Application& app, Prompter& prompter, FileDialogs& fileDialogs, QWidget* parent);
    ~ModelDialog() override;

    // After OK: whether the identity (and so the data) changed.
    bool Changed() const { return changed_; }

    QComboBox* ModelList() const { return models_; }
    QComboBox* BandList() const { return bands_; }
    QPushButton* OkButton() const { return ok_; }
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

private:
    void FillBands(int model, int select);
    void OnModelSelected(int index);
    void OnOk();

    Application& app_;
    Prompter& prompter_;
    FileDialogs& fileDialogs_;
    std::unique_ptr<ModelChange> rules_;
    QComboBox* models_ = nullptr;
    QComboBox* bands_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool changed_ = false;
    std::function<void()> helpHandler_;
};

}  // namespace vrm
