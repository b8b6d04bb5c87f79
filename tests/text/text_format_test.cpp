#include <gtest/gtest.h>

#include "core/base/text_format.h"

namespace vrm {
namespace {

TEST(TextFormat, FormatsTheConversionsOurTextsUse) {
    EXPECT_EQ(FormatText("%s %d / %d", {"Block", 12, 64}), "Block 12 / 64");
    EXPECT_EQ(FormatText("%s \"%s\" ?", {"Save changes to", "vrm650t.dat"}),
              "Save changes to \"vrm650t.dat\" ?");
    EXPECT_EQ(FormatText("%02X:%02X", {0x0A, 255}), "0A:FF");
    EXPECT_EQ(FormatText("   %.3X_", {0x3F}), "   03F_");
    EXPECT_EQ(FormatText("%.1f", {88.5}), "88.5");
    EXPECT_EQ(FormatText("%10s%s", {"", "No Encryption"}), "          No Encryption");
    EXPECT_EQ(FormatText("(%03d)  %s (%s)", {169, "DQT", "D023N"}), "(169)  DQT (D023N)");
    EXPECT_EQ(FormatText("%c%c", {'A', 0x42}), "AB");
    EXPECT_EQ(FormatText("100%% done", {}), "100% done");
}

TEST(TextFormat, DamagedFormatsAreHandledSafely) {
    // Fewer arguments than conversions: the missing ones are empty or zero.
    EXPECT_EQ(FormatText("%s and %s / %d", {"one"}), "one and  / 0");
    // %n and unknown conversions are printed literally, never executed.
    EXPECT_EQ(FormatText("a%nb%qz", {1}), "a%nb%qz");
    // A text where a number is expected, and the other way round.
    EXPECT_EQ(FormatText("%d|%s", {"42", 7}), "42|7");
    // A huge width is capped instead of allocating without bound.
    EXPECT_LE(FormatText("%99999999s", {"x"}).size(), 600u);
    // A lone percent sign at the end.
    EXPECT_EQ(FormatText("50%", {}), "50%");
    // Surplus arguments are ignored.
    EXPECT_EQ(FormatText("plain", {1, 2, "three"}), "plain");
}

TEST(TextFormat, PlaceholdersListTheConversionsInOrder) {
    EXPECT_EQ(FormatPlaceholders("%s %d / %d"), "sdd");
    EXPECT_EQ(FormatPlaceholders("100%% of %s"), "s");
    EXPECT_EQ(FormatPlaceholders("%-5.2f and %03X"), "fX");
    EXPECT_EQ(FormatPlaceholders("no placeholders"), "");
}

}  // namespace
}  // namespace vrm
