// The cable's udev rule must name exactly the IDs the transport looks for,
// and in a form udev accepts (no comment after a rule on its line).
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "pipelink/cable_ids.h"

namespace {

// The IDs a rule file names, each line matching `grant`.
void ExpectEveryCableId(const std::string& file, const std::string& grant) {
    std::ifstream in(std::string(VRM_SOURCE_DIR) + "/pipelink/" + file);
    ASSERT_TRUE(in) << "rule file missing";
    const std::regex rule(
        R"re(^SUBSYSTEM=="usb", ENV\{DEVTYPE\}=="usb_device", ATTR\{idVendor\}=="([0-9a-f]{4})", ATTR\{idProduct\}=="([0-9a-f]{4})", )re" +
        grant + "$");
    std::set<std::pair<unsigned, unsigned>> inRule;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, rule)) << "not a well-formed rule line: " << line;
        inRule.insert({std::stoul(m[1].str(), nullptr, 16), std::stoul(m[2].str(), nullptr, 16)});
    }
    std::set<std::pair<unsigned, unsigned>> inTable;
    for (const auto& id : kPipelinkCableIds) inTable.insert({id.vendor, id.product});
    EXPECT_EQ(inRule, inTable) << file;
}

TEST(CableRule, GrantsTheLoggedInUserEveryCableIdOfTheTransport) {
    ExpectEveryCableId("60-vrm650t-cable.rules", R"re(TAG\+="uaccess")re");
    // The alternative for logins without a seat: the plugdev group.
    ExpectEveryCableId("61-vrm650t-cable-plugdev.rules", R"re(GROUP="plugdev", MODE="0660")re");
}

}  // namespace
