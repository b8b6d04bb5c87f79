// The program's settings in QSettings: the user's "Backup" section of
// "TREVONA" / "VRM650T", and the machine-wide "TREVONA Corporation" /
// "VRM-650T" settings for the read-only fallback.
#pragma once

#include <QSettings>
#include <memory>

#include "core/document/settings_store.h"

namespace vrm {

class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();

    std::optional<std::string> ReadString(const std::string& name) override;
    std::optional<int> ReadInt(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteInt(const std::string& name, int value) override;
    std::optional<std::string> ReadMachineString(const std::string& name) override;
    bool Flush() override;

    QString UserFileName() const { return user_->fileName(); }

private:
    std::unique_ptr<QSettings> user_;
    std::unique_ptr<QSettings> machine_;
};

}  // namespace vrm
