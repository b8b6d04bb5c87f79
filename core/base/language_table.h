// The language text table: every caption and message of the program, looked
// up by its eight-digit text ID in a language file (*.lng) that lies beside
// the program. The same file carries the user-interface fonts and the names of
// the help files.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vrm {

class Prompter;

// Settings taken from a language file's header rows.
struct LanguageSettings {
    static constexpr int kHelpFileSlots = 13;

    std::string fontName;                       // "*Font"; "Arial" when empty (see FontName())
    int fontSize = 14;                          // "*FontSize", 1-99
    float gridFontSize = 8.0f;                  // "*GridFontSize", 1-99.99
    std::string fixedPitchFont = "Courier";     // "*FPitchFont"
    std::string fixedPitchFont2 = "Courier New";// "*FPitchFont" (printing)
    int fixedPitchFontSize = 13;                // "*FPitchFontSize"
    std::string displayLanguage;                // "*DispLanguage"
    std::array<std::string, kHelpFileSlots> helpFiles;  // in slot order, see HelpSlot
    std::string advancedHelpFile;               // "*AdHelpFile"

    std::string FontName() const { return fontName.empty() ? "Arial" : fontName; }
};

// The thirteen help-file slots, in the order of their header keys.
enum class HelpSlot {
    LMR, LMRSE, BRS, BRSSE, BRSonly, LMRE, LMRESE, LMREonly, BRSE, BRSESE, GMRS, GMRSSE, GMRSonly
};

// One installed language: its display name and its file name (no folder).
struct InstalledLanguage {
    std::string displayName;
    std::string fileName;
};

// What the last load attempt found in its file, whether it succeeded or not
// (the table in use keeps the previous file when it failed). For checking a
// language file.
struct LanguageLoadReport {
    int error = -1;                          // LanguageTable::kNoError when it loaded
    std::string path;                        // where the file was found ("" when it was not)
    std::string displayLanguage;             // "*DispLanguage"
    std::vector<std::string> columns;        // "*Language" column names
    int selectedColumn = 0;
    std::size_t textCount = 0;               // distinct text IDs read
    std::vector<std::uint32_t> missingRequiredIds;
};

class LanguageTable {
public:
    // Load error codes.
    static constexpr int kNoError = -1;
    static constexpr int kNotFound = 0;
    static constexpr int kHeaderIncomplete = 1;
    static constexpr int kRequiredIdMissing = 3;
    static constexpr int kWouldNotOpen = 4;
    static constexpr int kQuoteInFirstField = 5;
    // The "*Language" row names no column: the load fails without a message.
    static constexpr int kNoColumns = 6;

    // The longest display language name kept, in bytes.
    static constexpr std::size_t kMaxDisplayLanguageBytes = 99;

    static constexpr std::size_t kMaxInstalledLanguages = 20;

    LanguageTable();
    ~LanguageTable();
    LanguageTable(const LanguageTable&) = delete;
    LanguageTable& operator=(const LanguageTable&) = delete;

    // The text of `id` in the selected column. ID 0 is taken as 10000001; an
    // absent ID gives "". The pointer stays valid until the next successful
    // load (in ID mode: until the next lookup).
    const char* Text(std::uint32_t id) const;
    std::string TextString(std::uint32_t id) const { return Text(id); }
    // True when the loaded file has a row for `id` (ID 0 is taken as 10000001).
    bool HasText(std::uint32_t id) const;
    // Number of distinct text IDs in the loaded file.
    std::size_t TextCount() const;
    // Every text ID of the loaded file, ascending.
    const std::vector<std::uint32_t>& TextIds() const;

    // Loads and checks `fileName` (searched beside the program, then in the
    // current folder, then in the folder of the previously found file). On
    // failure with `report` set, the failure is shown through `prompter`. A
    // failed load keeps the table that was loaded before.
    bool Load(const std::string& fileName, bool report, Prompter* prompter);

    // The last load's error code (kNoError when it succeeded) and its message.
    int ErrorText(std::string& out) const;
    int LastError() const;

    // Fills the installed-language list from the *.lng files in `folder`.
    // Returns 1 when at least one file was accepted, else -1.
    int ScanInstalledLanguages(const std::string& folder);
    const std::vector<InstalledLanguage>& InstalledLanguages() const;

    const LanguageSettings& Settings() const;
    // Back to the defaults, with the font name and help file names emptied.
    void ResetSettings();

    // ID mode (program started with "_db"): every present text reads "ID:%d"
    // and a load writes "LanguageAnalys.dump" in the current folder.
    void SetIdMode(bool on);
    bool IdMode() const;

    // The folder holding the program (first place a language file is looked
    // for); the program sets it at start-up.
    void SetProgramFolder(const std::string& folder);

    // Full path of the loaded file, the "*Language" column names and the
    // selected column.
    const std::string& LoadedPath() const;
    const std::vector<std::string>& Columns() const;
    int SelectedColumn() const;

    // The required text IDs that the last load did not find (empty after a
    // successful load), for translators.
    const std::vector<std::uint32_t>& MissingRequiredIds() const;
    const LanguageLoadReport& LastLoadReport() const;

    // True when `id` is one of the 1,108 IDs every language file must carry.
    static bool IsRequiredId(std::uint32_t id);
    static std::vector<std::uint32_t> RequiredIds();

    // The two messages shown for a failed load.
    static constexpr const char* kCantReadMessage =
        "Can't read language file.  Please install this software again.";
    static constexpr const char* kDamagedMessage =
        "Language file has been damaged.  Please install this software again.";

private:
    struct Table;
    struct State;
    // Where `fileName` is found ("" when nowhere).
    std::string FindFile(const std::string& fileName) const;
    std::unique_ptr<State> state_;
};

}  // namespace vrm
