// The program's stored settings: their names, how each value is parsed and
// formatted, the main window's placement, the scrambled security value and
// the folders the program starts in. Everything here is plain data and text;
// where the values are kept is the SettingsStore's business.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/safe_file.h"
#include "core/model/radio_image.h"

namespace vrm {

// Value names in the "Backup" section.
inline constexpr const char* kSettingLastModel = "LastModel";
inline constexpr const char* kSettingComPort = "ComPort";
inline constexpr const char* kSettingLastFilePath = "LastFilePath";
inline constexpr const char* kSettingLanguageName = "LanguageName";
inline constexpr const char* kSettingLastWinPos = "LastWinPos";
inline constexpr const char* kSettingDataFile = "DataFile";
inline constexpr const char* kSettingProtect = "Protect";
// Programming Options: backup before a write (and its folder, "" for the data
// folder's "backups"), verify after it, the programming log. All on by default.
inline constexpr const char* kSettingWriteBackup = "WriteBackup";
inline constexpr const char* kSettingBackupFolder = "BackupFolder";
inline constexpr const char* kSettingWriteVerify = "WriteVerify";
inline constexpr const char* kSettingProgrammingLog = "ProgrammingLog";
inline constexpr const char* kSettingProgrammingCable = "ProgrammingCable";

struct ProgrammingOptions {
    bool backup = true;
    std::string backupFolder;  // "" : "backups" in the data folder
    bool verify = true;
    bool log = true;
    std::string cable;  // the cable's port path or serial number; "": the first cable found
};

inline constexpr const char* kDefaultLanguageFile = "vrm650t_en.lng";

// "LastModel": 16 two-digit upper-case hex numbers joined by colons. Parsing
// accepts what "%02X:" read sixteen times accepts (one or two hex digits per
// number, either case, blanks before a number) and needs all sixteen.
std::string FormatLastModel(const ModelIdentity& identity);
std::optional<ModelIdentity> ParseLastModel(std::string_view text);

// The main window's placement, in the order "LastWinPos" stores it.
struct WindowPlacement {
    static constexpr int kRestoreToMaximized = 2;  // placement flag
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int flags = 0;
    int showCommand = kShowNormal;
    int minX = -1, minY = -1;
    int maxX = -1, maxY = -1;
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const WindowPlacement&) const = default;
};

// "LastWinPos": ten "%i" numbers joined by colons. Parsing needs all ten
// (each as "%i" reads it: optional sign, decimal, 0x hex or 0 octal).
std::string FormatLastWinPos(const WindowPlacement& placement);
std::optional<WindowPlacement> ParseLastWinPos(std::string_view text);

// The placement to store when the frame closes: a minimised window is stored
// with show command 3 when it would be restored maximised, else 1.
WindowPlacement PlacementToStore(WindowPlacement placement, bool minimised);

// The program's security settings: the six-character password and the two
// switches. The data-file writer uses the password and "Data File".
struct SecuritySettings {
    std::string password;           // up to six characters
    bool programExecution = false;  // "Program Execution"
    bool dataFile = false;          // "Data File"
};

// A password the security settings and the data-file writer take: 1 to 6
// digits (a data file keeps six places; a shorter password fills the rest
// with its padding).
bool IsSecurityPassword(std::string_view text);

// The fixed password used when neither the user's nor the machine-wide
// "Protect" value holds one.
inline constexpr const char* kDefaultSecurityPassword = "TRVMPW";

// "Protect": the "Program Execution" flag digit and the six password
// characters scrambled into seven bytes, written as seven "%02X" numbers
// joined by colons. Unscrambling fails (nullopt) for anything that was not
// written by ScrambleProtect.
std::string ScrambleProtect(bool programExecution, std::string_view password);
struct ProtectValue {
    bool programExecution = false;
    std::string password;
};
std::optional<ProtectValue> UnscrambleProtect(std::string_view text);

// Command-line switches. Every argument after the program name is compared,
// ignoring case.
struct CommandLineSwitches {
    bool noEncryption = false;  // "noencryption"
    bool idMode = false;        // "_db"
    bool continuous = false;    // "continuous": the write dialog starts in Continuous mode
};
CommandLineSwitches ParseCommandLine(const std::vector<std::string>& arguments);

// The default data folder: <documents>/Trevona/VRM-650T/ (each created when
// missing, the documents folder too when the folder above it exists); the
// documents folder itself when either cannot be created; when
// there is no documents folder, the program's folder, with "DATA/" appended
// when a folder "DATA" exists beside the program. Always ends with '/'.
std::string DefaultDataFolder(const std::string& documentsFolder, const std::string& programFolder);

// The current folder at start-up: "LastFilePath" when it names an existing
// folder, else the default data folder.
std::string StartFolder(const std::string& lastFilePath, const std::string& defaultFolder);

}  // namespace vrm
