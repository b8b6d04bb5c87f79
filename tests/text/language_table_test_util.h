// Small language files written inside the tests.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/base/language_table.h"
#include "text/scripted_prompter.h"

namespace vrm::test {

// A folder under /tmp that is removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vrm-lang-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        path_ = made ? made : "/tmp";
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string p = File(name);
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
        return p;
    }

private:
    std::string path_;
};

// Changes the current folder for the lifetime of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }

private:
    std::filesystem::path previous_;
};

// Builds a language file: the header rows, then a text row for every required
// ID ("T<id>", or a replacement), then any extra rows, all with CR LF.
struct LangFileBuilder {
    std::string languageRow = "*Language,test.lng";
    std::string fontRow = "*Font,DejaVu Sans";
    std::string displayLanguage = "Testish";
    std::vector<std::string> extraHeader;            // e.g. "*FontSize,20"
    std::vector<std::string> leaveOutHeaderKeys;     // e.g. "*AdHelpFile"
    std::map<std::uint32_t, std::string> texts;      // replacement rest of row (after the first comma)
    std::vector<std::uint32_t> leaveOutIds;
    std::vector<std::string> extraRows;              // written before the required rows
    std::string columnsSuffix;                       // appended to every generated text row

    static const std::vector<std::string>& HelpKeys() {
        static const std::vector<std::string> keys = {
            "*LMRHelpFile",  "*LMRSEHelpFile",  "*BRSHelpFile",      "*BRSSEHelpFile", "*BRSonlyHelpFile",
            "*LMREHelpFile", "*LMRESEHelpFile", "*LMREonlyHelpFile", "*BRSEHelpFile",  "*BRSESEHelpFile",
            "*GMRSHelpFile", "*GMRSSEHelpFile", "*GMRSonlyHelpFile"};
        return keys;
    }

    bool LeftOut(const std::string& key) const {
        for (const auto& k : leaveOutHeaderKeys)
            if (k == key) return true;
        return false;
    }

    std::string Build() const {
        std::string s;
        auto row = [&s](const std::string& r) { s += r + "\r\n"; };
        row("; test language file");
        if (!LeftOut("*Language")) row(languageRow);
        if (!LeftOut("*Font")) row(fontRow);
        if (!LeftOut("*DispLanguage")) row("*DispLanguage," + displayLanguage);
        for (std::size_t i = 0; i < HelpKeys().size(); ++i)
            if (!LeftOut(HelpKeys()[i])) row(HelpKeys()[i] + ",help" + std::to_string(i) + ".html");
        if (!LeftOut("*AdHelpFile")) row("*AdHelpFile,adv.html");
        for (const auto& h : extraHeader) row(h);
        row("");
        for (const auto& r : extraRows) row(r);
        for (std::uint32_t id : LanguageTable::RequiredIds()) {
            bool skip = false;
            for (std::uint32_t l : leaveOutIds) skip = skip || l == id;
            if (skip) continue;
            const auto it = texts.find(id);
            row("^#" + std::to_string(id) + "," +
                (it != texts.end() ? it->second : "T" + std::to_string(id) + columnsSuffix));
        }
        return s;
    }
};

// Loads `file` (written into a fresh folder as test.lng) and returns the table.
struct Loaded {
    TempFolder folder;
    LanguageTable table;
    ScriptedPrompter prompter;
    bool ok = false;

    explicit Loaded(const std::string& file, const std::string& name = "test.lng") {
        folder.Write(name, file);
        table.SetProgramFolder(folder.Path());
        ok = table.Load(name, true, &prompter);
    }
};

}  // namespace vrm::test
