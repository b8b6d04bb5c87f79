// What a screen reader is told about fields and grid cells: the range or
// forms a field takes follow the field's rule as it stands now, in the
// user's decimal separator; a grid cell names its row and column.
#include <gtest/gtest.h>

#include "core/fields/editor_tables.h"
#include "editors/editor_fixture.h"

namespace vrm::test {
namespace {

std::string Described(EditorFixture& f, const std::string& key) {
    const auto ref = FindField(f.session.Context(), key);
    return ref ? FieldDescription(f.session.Context(), *ref) : "<no field>";
}

TEST(SpokenTexts, NumberRangesFollowTheRuleWithStepAndOff) {
    EditorFixture f(3);
    EXPECT_EQ(Described(f, "features.tot"), "15 to 600 in steps of 15");
    EXPECT_EQ(Described(f, "features.tot_pre_alert"), "1 to 10, or Off");
    // The minimum volume reaches only up to the maximum volume as it is now.
    ASSERT_TRUE(f.Set("features.max_volume", "5").Ok());
    const auto range = field::Range(f.session.Context(), *FindField(f.session.Context(), "features.min_volume"));
    EXPECT_EQ(Described(f, "features.min_volume"),
              std::to_string(range.min) + " to " + std::to_string(range.max));
    EXPECT_LE(range.max, 5);
}

TEST(SpokenTexts, FrequenciesCodesAndTexts) {
    EditorFixture typed(3);
    EXPECT_EQ(Described(typed, "channel.1.rx"), "440.00000 to 480.00000 MHz");
    typed.session.SetDecimalSeparator(",");
    EXPECT_EQ(Described(typed, "channel.1.rx"), "440,00000 to 480,00000 MHz");
    EXPECT_NE(Described(typed, "channel.1.decode").find("67,0 to 254,1 Hz"), std::string::npos);
    EXPECT_EQ(Described(typed, "message.line1"), "Up to 32 characters");
    // A frequency chosen from the preset list: the list says it itself.
    EditorFixture varitel(2);
    EXPECT_EQ(Described(varitel, "channel.1.rx"), "");
}

TEST(SpokenTexts, GridCellsNameTheirRowAndColumnAndTheKeyRowIsSpokenWhole) {
    EditorFixture f(3);
    const EditContext& ctx = f.session.Context();
    const auto columns = ChannelGridColumns(ctx);
    ASSERT_GT(columns.size(), 2u);
    const std::string header = ctx.Text(columns[1].header);
    EXPECT_EQ(GridCellPlace(ctx, ChannelTable(), columns, 2, 1), "Row 3, " + header);
    EXPECT_EQ(GridCellPlace(ctx, ChannelTable(), columns, 2, static_cast<int>(columns.size())), "");

    const auto keys = KeyGridColumns(ctx);
    const std::string spoken = GridRowSpoken(ctx, KeyTable(), keys, 0);
    EXPECT_EQ(spoken.rfind(GridCellText(ctx, KeyTable(), keys[0], 0) + ": ", 0), 0u) << spoken;
    for (std::size_t c = 1; c < keys.size(); ++c)
        EXPECT_NE(spoken.find(ctx.Text(keys[c].header) + ": " + GridCellText(ctx, KeyTable(), keys[c], 0)),
                  std::string::npos)
            << spoken;
}

}  // namespace
}  // namespace vrm::test
