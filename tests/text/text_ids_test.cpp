// Every text ID the code names must have a text in each shipped language
// file, and no two names may share one ID (two engineers taking the same
// number would show one message in place of another).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "core/base/language_table.h"

namespace vrm {
namespace {

std::map<std::string, std::uint32_t> NamedTextIds() {
    // The umbrella header and every area header beside it.
    std::stringstream ss;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VRM_SOURCE_DIR) + "/core/base")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("text_ids", 0) != 0 || entry.path().extension() != ".h") continue;
        std::ifstream in(entry.path());
        ss << in.rdbuf();
    }
    const std::string src = ss.str();
    std::map<std::string, std::uint32_t> ids;
    const std::regex row(R"(constexpr\s+TextId\s+(\w+)\s*=\s*(\d{8})\s*;)");
    for (auto it = std::sregex_iterator(src.begin(), src.end(), row); it != std::sregex_iterator(); ++it) {
        ids[(*it)[1].str()] = static_cast<std::uint32_t>(std::stoul((*it)[2].str()));
    }
    return ids;
}

TEST(TextIds, EveryNamedIdHasATextInEachShippedLanguage) {
    const auto ids = NamedTextIds();
    ASSERT_GT(ids.size(), 600u) << "core/base/text_ids*.h were not read";
    for (const char* file : {"vrm650t_en.lng", "vrm650t_de.lng"}) {
        LanguageTable table;
        table.SetProgramFolder(std::string(VRM_SOURCE_DIR) + "/lang/");
        ASSERT_TRUE(table.Load(file, false, nullptr)) << file;
        for (const auto& [name, id] : ids) {
            EXPECT_TRUE(table.HasText(id) && *table.Text(id) != '\0')
                << file << " has no text for " << name << " (" << id << ")";
        }
    }
}

TEST(TextIds, NoTwoNamesShareAnId) {
    std::map<std::uint32_t, std::string> seen;
    for (const auto& [name, id] : NamedTextIds()) {
        const auto [it, fresh] = seen.emplace(id, name);
        EXPECT_TRUE(fresh) << name << " and " << it->second << " are both " << id;
    }
}

}  // namespace
}  // namespace vrm
