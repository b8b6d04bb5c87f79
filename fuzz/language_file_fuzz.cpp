// A language file as the program loads it at start-up and from Language
// File Setup (within the bounds a load keeps: 4 MB, 16 KB a line, 256
// commas a row), and as the start-up scan of installed languages reads it.
//
// Properties:
// - a failed load keeps the table in use (texts, path, settings);
// - a loaded table has every required text, its header settings within
//   their ranges, a selected column it has, text 0 standing for 10000001,
//   and ascending IDs;
// - the scan lists a file that loads, under the name the load read.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"

namespace {

using namespace vrm;

void CheckLoaded(const LanguageTable& table) {
    const LanguageSettings& s = table.Settings();
    fuzz::Require(s.fontSize >= 1 && s.fontSize <= 99, "the font size is within 1-99");
    fuzz::Require(s.gridFontSize >= 1.0f && s.gridFontSize <= 99.99f, "the grid font size is within 1-99.99");
    fuzz::Require(s.fixedPitchFontSize >= 1 && s.fixedPitchFontSize <= 99, "the fixed-pitch size is within 1-99");
    fuzz::Require(s.displayLanguage.size() <= LanguageTable::kMaxDisplayLanguageBytes,
                  "the display name is at most 99 bytes");
    fuzz::Require(table.SelectedColumn() >= 0 &&
                      static_cast<std::size_t>(table.SelectedColumn()) < table.Columns().size(),
                  "the selected column is one of the file's");
    fuzz::Require(table.MissingRequiredIds().empty(), "a loaded file misses no required text");
    for (const std::uint32_t id : LanguageTable::RequiredIds())
        fuzz::Require(table.HasText(id), "every required text is there", std::to_string(id));
    fuzz::Require(std::string(table.Text(0)) == table.Text(10000001), "text 0 stands for 10000001");
    const auto& ids = table.TextIds();
    fuzz::Require(std::adjacent_find(ids.begin(), ids.end(), std::greater_equal<>()) == ids.end(),
                  "text IDs ascend without repeats");
    fuzz::Require(ids.size() == table.TextCount(), "the count is the number of IDs");
    for (const std::uint32_t id : ids) (void)table.Text(id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Named like the English file, so that its "*Language" column can match.
    static fuzz::ScratchFile scratch("vrm650t_en.lng");
    // One table for the whole run, as the program keeps one: each load is
    // made onto whatever the last successful one left.
    static LanguageTable table;
    static const bool started = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", false, nullptr);
    fuzz::Require(started, "the English file loads");

    const std::string path = scratch.Write(data, size);
    const std::string loadedBefore = table.LoadedPath();
    const std::size_t countBefore = table.TextCount();
    const std::string firstBefore = table.Text(10000001);
    const std::string fontBefore = table.Settings().FontName();

    if (!table.Load(path, false, nullptr)) {
        fuzz::Require(table.LastError() != LanguageTable::kNoError, "a failed load has an error code");
        fuzz::Require(table.LoadedPath() == loadedBefore && table.TextCount() == countBefore &&
                          firstBefore == table.Text(10000001) && fontBefore == table.Settings().FontName(),
                      "a failed load keeps the table in use");
    } else {
        CheckLoaded(table);
    }

    // The scan reads a file as the load does; it runs only for a file that
    // loaded, as each run costs a parse of up to some tens of kilobytes.
    if (table.LastError() == LanguageTable::kNoError) {
        LanguageTable scanner;
        fuzz::Require(scanner.ScanInstalledLanguages(scratch.Folder()) == 1 &&
                          scanner.InstalledLanguages().size() == 1 &&
                          scanner.InstalledLanguages().front().displayName == table.Settings().displayLanguage,
                      "a file that loads is listed under its display name");
    }
    return 0;
}
