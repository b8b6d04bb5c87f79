// Where the program keeps its settings between runs. The desktop program
// keeps them in the user's QSettings ("TREVONA" / "VRM650T", section
// "Backup") with a machine-wide read-only fallback; tests use the in-memory
// store below.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vrm {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Values of the user's "Backup" section; nullopt when absent (or, for
    // integers, not a number).
    virtual std::optional<std::string> ReadString(const std::string& name) = 0;
    virtual std::optional<int> ReadInt(const std::string& name) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInt(const std::string& name, int value) = 0;

    // A text value of the machine-wide settings (read only).
    virtual std::optional<std::string> ReadMachineString(const std::string& name) = 0;

    // Makes what was written permanent; false when that failed.
    virtual bool Flush() { return true; }
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadString(const std::string& name) override {
        const auto it = strings_.find(name);
        if (it != strings_.end()) return it->second;
        const auto n = ints_.find(name);
        if (n != ints_.end()) return std::to_string(n->second);
        return std::nullopt;
    }
    std::optional<int> ReadInt(const std::string& name) override {
        const auto it = ints_.find(name);
        if (it != ints_.end()) return it->second;
        return std::nullopt;
    }
    void WriteString(const std::string& name, const std::string& value) override { strings_[name] = value; }
    void WriteInt(const std::string& name, int value) override { ints_[name] = value; }
    std::optional<std::string> ReadMachineString(const std::string& name) override {
        const auto it = machine_.find(name);
        if (it != machine_.end()) return it->second;
        return std::nullopt;
    }

    void SetMachineString(const std::string& name, const std::string& value) { machine_[name] = value; }
    void Remove(const std::string& name) {
        strings_.erase(name);
        ints_.erase(name);
    }

private:
    std::map<std::string, std::string> strings_;
    std::map<std::string, int> ints_;
    std::map<std::string, std::string> machine_;
};

}  // namespace vrm
