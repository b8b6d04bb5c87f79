#include "gui/app/settings_store_qt.h"

namespace vrm {
namespace {

const QString kSection = QStringLiteral("Backup");

QString Key(const std::string& name) { return kSection + QLatin1Char('/') + QString::fromStdString(name); }

}  // namespace

QtSettingsStore::QtSettingsStore()
    : user_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TREVONA"),
                                        QStringLiteral("VRM650T"))),
      machine_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                           QStringLiteral("TREVONA Corporation"), QStringLiteral("VRM-650T"))) {
    // The machine-wide value is a fallback only: it never falls back itself.
    user_->setFallbacksEnabled(false);
    machine_->setFallbacksEnabled(false);
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& name) {
    const QVariant value = user_->value(Key(name));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

std::optional<int> QtSettingsStore::ReadInt(const std::string& name) {
    const QVariant value = user_->value(Key(name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return number;
}

void QtSettingsStore::WriteString(const std::string& name, const std::string& value) {
    user_->setValue(Key(name), QString::fromStdString(value));
}

void QtSettingsStore::WriteInt(const std::string& name, int value) { user_->setValue(Key(name), value); }

std::optional<std::string> QtSettingsStore::ReadMachineString(const std::string& name) {
    const QVariant value = machine_->value(QString::fromStdString(name));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

bool QtSettingsStore::Flush() {
    user_->sync();
    return user_->status() == QSettings::NoError;
}

}  // namespace vrm
