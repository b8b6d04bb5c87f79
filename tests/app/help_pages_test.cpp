// Every help request the program can make lands on a page we ship, at an
// anchor that page has: F1 on each command, Help Topics and Help Topics
// Advanced, for each frequency-entry mode, in each shipped language.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/document/command_tables.h"
#include "core/fields/channel_fields.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_registry.h"
#include "core/base/language_table.h"

namespace vrm {
namespace {

std::string ReadPage(const std::string& name) {
    // The pages as the build writes them beside the program.
    std::ifstream in(std::string(VRM_BIN_DIR) + "/" + name);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void ExpectAnchor(const LanguageSettings& settings, EntryMode entryMode, const HelpRequest& request,
                  const std::string& what) {
    const std::string file = HelpFileName(settings, entryMode, request);
    ASSERT_FALSE(file.empty()) << what;
    const std::string page = ReadPage(file);
    ASSERT_FALSE(page.empty()) << what << ": no page " << file;
    const std::string anchor = HelpAnchor(request.context);
    EXPECT_NE(page.find("id=\"" + anchor + "\""), std::string::npos) << what << ": " << file << " lacks " << anchor;
    EXPECT_NE(page.find("name=\"" + anchor + "\""), std::string::npos) << what << ": " << file << " lacks " << anchor;
}

// Runs `check` for each shipped language and each frequency-entry mode.
template <typename Check>
void ForEachPage(Check check) {
    for (const char* lang : {"vrm650t_en.lng", "vrm650t_de.lng"}) {
        LanguageTable table;
        table.SetProgramFolder(std::string(VRM_SOURCE_DIR) + "/lang/");
        ASSERT_TRUE(table.Load(lang, false, nullptr));
        for (EntryMode mode : {EntryMode::List99, EntryMode::List22, EntryMode::Typed})
            check(table.Settings(), mode, std::string(lang) + " mode " + std::to_string(EntryModeValue(mode)));
    }
}

TEST(HelpPages, EveryHelpRequestHasItsPageAndAnchor) {
    int f1Commands = 0;
    ForEachPage([&](const LanguageSettings& settings, EntryMode mode, const std::string& where) {
        ExpectAnchor(settings, mode, HelpTopics(), where + " Help Topics");
        ExpectAnchor(settings, mode, HelpTopicsAdvanced(), where + " Help Topics Advanced");
        for (int command = 0; command < 65536; ++command) {
            if (const auto request = HelpForCommand(command)) {
                ++f1Commands;
                ExpectAnchor(settings, mode, *request, where + " F1 on " + std::to_string(command));
            }
        }
    });
    EXPECT_EQ(f1Commands, 6 * 39);  // the 39 commands of the F1 table, six times
}

TEST(HelpPages, F1OnEveryEditorFieldHasItsAnchor) {
    ForEachPage([](const LanguageSettings& settings, EntryMode mode, const std::string& where) {
        for (std::uint32_t context : {kChannelEditHelp, kChannelInfoHelp, ChannelItemHelp(2), kFeatureHelp, kKeyHelp,
                                      kKeyListHelp, kScanHelp, kTestFrequencyHelp, kMessageHelp, kCustomCodeHelp})
            ExpectAnchor(settings, mode, HelpRequest{false, context}, where);
        ExpectAnchor(settings, mode, HelpRequest{true, kAdvancedHelp}, where);
        for (const FieldTable* fields : AllFieldTables())
            for (const FieldDef& f : fields->fields)
                if (f.kind != FieldKind::Group)
                    ExpectAnchor(settings, mode, HelpRequest{fields->advancedHelp, f.help}, where + " " + f.key);
    });
}

}  // namespace
}  // namespace vrm
