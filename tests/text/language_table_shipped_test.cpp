// The language files we ship: each passes every check the program makes, has
// a real text for every required ID, and the translations keep the
// placeholders of the English texts.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/language_table.h"
#include "core/base/text_format.h"

namespace vrm {
namespace {

const char* const kShipped[] = {"vrm650t_en.lng", "vrm650t_de.lng"};

std::string LangFolder() { return std::string(VRM_SOURCE_DIR) + "/lang"; }

bool LoadShipped(LanguageTable& t, const char* name) {
    t.SetProgramFolder(LangFolder());
    return t.Load(name, false, nullptr);
}

TEST(LanguageTableShipped, EachFilePassesEveryCheckWithARealTextForEveryRequiredId) {
    for (const char* name : kShipped) {
        SCOPED_TRACE(name);
        LanguageTable t;
        ASSERT_TRUE(LoadShipped(t, name)) << "load error " << t.LastError();
        EXPECT_EQ(t.LoadedPath(), LangFolder() + "/" + name);
        EXPECT_EQ(t.Columns()[static_cast<std::size_t>(t.SelectedColumn())], name);
        EXPECT_FALSE(t.Settings().displayLanguage.empty());
        for (std::uint32_t id : LanguageTable::RequiredIds()) EXPECT_STRNE(t.Text(id), "") << id;
        // Every help file the header names is a page we ship: the build
        // writes them beside the program.
        for (const std::string& help : t.Settings().helpFiles) {
            if (!help.empty()) {
                EXPECT_TRUE(std::filesystem::exists(std::string(VRM_BIN_DIR) + "/" + help)) << help;
            }
        }
        EXPECT_TRUE(std::filesystem::exists(std::string(VRM_BIN_DIR) + "/" + t.Settings().advancedHelpFile));
    }
}

TEST(LanguageTableShipped, TranslationsHaveTheSameTextsAndPlaceholders) {
    LanguageTable en, de;
    ASSERT_TRUE(LoadShipped(en, "vrm650t_en.lng"));
    ASSERT_TRUE(LoadShipped(de, "vrm650t_de.lng"));
    EXPECT_EQ(en.TextIds(), de.TextIds());
    for (std::uint32_t id : en.TextIds()) {
        if (!de.HasText(id)) continue;
        EXPECT_EQ(FormatPlaceholders(en.Text(id)), FormatPlaceholders(de.Text(id)))
            << id << ": \"" << en.Text(id) << "\" / \"" << de.Text(id) << "\"";
    }
}

TEST(LanguageTableShipped, BothAreListedAsInstalledLanguages) {
    LanguageTable t;
    ASSERT_EQ(t.ScanInstalledLanguages(LangFolder()), 1);
    std::vector<std::string> files;
    for (const auto& l : t.InstalledLanguages()) files.push_back(l.fileName);
    EXPECT_EQ(files, (std::vector<std::string>{"vrm650t_de.lng", "vrm650t_en.lng"}));  // "Deutsch" before "English"
}

}  // namespace
}  // namespace vrm
