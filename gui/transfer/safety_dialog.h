// Setup > Programming Options and Setup > Security Settings: the settings of
// a safe write (backup and its folder, verify, log) and the security
// password with its "Data File" and "Program Execution" switches.
#pragma once

#include <QDialog>
#include <functional>

#include "core/document/app_settings.h"
#include "core/link/station.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vrm {

class LanguageTable;

class ProgrammingOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    // `defaultFolder` shows (greyed) when no folder of its own is set;
    // `cables` are the present cables the "Programming cable" choice offers
    // after "First found" (a chosen cable that is not present stays offered).
    ProgrammingOptionsDialog(const LanguageTable& language, const ProgrammingOptions& options,
                           const QString& defaultFolder, const std::vector<StationCable>& cables, QWidget* parent);
    ProgrammingOptions Options() const;
    void SetHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

    QCheckBox* BackupBox() const { return backup_; }
    QLineEdit* FolderEdit() const { return folder_; }
    QCheckBox* VerifyBox() const { return verify_; }
    QCheckBox* LogBox() const { return log_; }
    QComboBox* CableBox() const { return cable_; }

private:
    QCheckBox* backup_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* browse_ = nullptr;
    QCheckBox* verify_ = nullptr;
    QCheckBox* log_ = nullptr;
    QComboBox* cable_ = nullptr;
    std::function<void()> help_;
};

class SecurityDialog final : public QDialog {
    Q_OBJECT
public:
    SecurityDialog(const LanguageTable& language, const SecuritySettings& security, QWidget* parent);
    // The settings as entered; the password field keeps the old password
    // when left as it was.
    SecuritySettings Settings() const;
    void SetHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

    QLineEdit* PasswordEdit() const { return password_; }
    QCheckBox* DataFileBox() const { return dataFile_; }
    QCheckBox* ProgramExecutionBox() const { return programExecution_; }

    void accept() override;

private:
    const LanguageTable& language_;
    SecuritySettings original_;
    QLineEdit* password_ = nullptr;
    QCheckBox* dataFile_ = nullptr;
    QCheckBox* programExecution_ = nullptr;
    std::function<void()> help_;
};

}  // namespace vrm
