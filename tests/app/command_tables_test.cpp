#include "core/document/command_tables.h"
#include "core/document/frame_text.h"

#include <gtest/gtest.h>

#include <set>

namespace vrm {
namespace {

std::vector<int> Commands(const MenuTable& table) {
    std::vector<int> out;
    for (const CommandEntry& e : table.entries) out.push_back(e.command);
    return out;
}

const MenuTable& Menu(const std::vector<MenuTable>& bar, MenuId id) {
    for (const MenuTable& t : bar) {
        if (t.id == id) return t;
    }
    static const MenuTable none{MenuId::Help, 0, {}};
    ADD_FAILURE() << "menu missing";
    return none;
}

TEST(MenuBar, EditMenuFollowsTheEntryMode) {
    const std::vector<int> withQt = {cmd::kUndo, cmd::kRedo, 0, cmd::kChannelInformation, 0, cmd::kOptionalFeatures, cmd::kKeyAssignment,
                                     cmd::kScanInformation, 0, cmd::kTestFrequency, cmd::kEmbeddedMessage, 0,
                                     cmd::kQtDqtCustomization, 0, cmd::kAdvancedSettings};
    // Leaving QT/DQT Customization out must not leave two separators together.
    const std::vector<int> withoutQt = {cmd::kUndo, cmd::kRedo, 0, cmd::kChannelInformation, 0, cmd::kOptionalFeatures, cmd::kKeyAssignment,
                                        cmd::kScanInformation, 0, cmd::kTestFrequency, cmd::kEmbeddedMessage, 0,
                                        cmd::kAdvancedSettings};
    for (EntryMode mode : {EntryMode::List99, EntryMode::List22, EntryMode::Typed}) {
        const auto bar = BuildMenuBar(mode, false);
        EXPECT_EQ(Commands(Menu(bar, MenuId::Edit)), mode == EntryMode::Typed ? withoutQt : withQt)
            << EntryModeValue(mode);
    }
}

TEST(MenuBar, StatusTextsOfEditEntriesAreTheEditorCaptions) {
    const auto bar = BuildMenuBar(EntryMode::List99, false);
    const MenuTable& edit = Menu(bar, MenuId::Edit);
    EXPECT_EQ(edit.entries[3].caption, 10003305u);
    EXPECT_EQ(edit.entries[3].status, 10305000u);
    EXPECT_EQ(edit.entries[10].caption, 10003302u);
    EXPECT_EQ(edit.entries[10].status, 10403002u);
}

TEST(MenuBar, WindowMenuOnlyWhenAskedForAndCaptionsInOrder) {
    std::vector<tid::TextId> captions;
    for (const MenuTable& t : BuildMenuBar(EntryMode::Typed, true)) captions.push_back(t.caption);
    EXPECT_EQ(captions, (std::vector<tid::TextId>{10003001, 10003002, 10003003, 10003004, 10003005, 10003006,
                                                   10003007, 10003008, 10003009}));
    for (const MenuTable& t : BuildMenuBar(EntryMode::Typed, false)) EXPECT_NE(t.id, MenuId::Window);
    EXPECT_EQ(BuildMenuBar(EntryMode::Typed, false).size(), 8u);
}

TEST(MenuBar, NoMenuStartsOrEndsWithASeparatorOrRepeatsOne) {
    for (EntryMode mode : {EntryMode::List99, EntryMode::List22, EntryMode::Typed}) {
        for (const MenuTable& t : BuildMenuBar(mode, true)) {
            ASSERT_FALSE(t.entries.empty());
            EXPECT_FALSE(t.entries.front().IsSeparator());
            EXPECT_FALSE(t.entries.back().IsSeparator());
            for (std::size_t i = 1; i < t.entries.size(); ++i)
                EXPECT_FALSE(t.entries[i].IsSeparator() && t.entries[i - 1].IsSeparator());
        }
    }
}

TEST(Tree, ChildrenFollowTheEntryMode) {
    const auto all = TreeChildren(EntryMode::List99);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[0], (TreeChild{10305000, cmd::kChannelInformation}));
    EXPECT_EQ(all[5], (TreeChild{10403002, cmd::kEmbeddedMessage}));
    EXPECT_EQ(all[6], (TreeChild{10319000, cmd::kQtDqtCustomization}));
    EXPECT_EQ(all[7], (TreeChild{10313000, cmd::kAdvancedSettings}));
    const auto typed = TreeChildren(EntryMode::Typed);
    ASSERT_EQ(typed.size(), 7u);
    for (const TreeChild& c : typed) EXPECT_NE(c.command, cmd::kQtDqtCustomization);
    EXPECT_EQ(TreeChildren(EntryMode::List22).size(), 8u);
}

TEST(Accelerators, EachKeyOnceAndTreeKeysOnBothZeroKeys) {
    std::set<std::string> keys;
    int tree = 0, focus = 0;
    for (const Accelerator& a : Accelerators()) {
        EXPECT_TRUE(keys.insert(a.keys).second) << a.keys;
        if (a.command == cmd::kTreeView) ++tree;
        if (a.command == cmd::kFocusTree) ++focus;
    }
    EXPECT_EQ(tree, 2);
    EXPECT_EQ(focus, 2);
    EXPECT_FALSE(keys.count("Ctrl+Tab"));
}

TEST(Templates, RegistrationOrderAndFrames) {
    const auto& t = DocumentTemplates();
    ASSERT_EQ(t.size(), 11u);
    EXPECT_EQ(t[0].resourceId, 129);
    EXPECT_STREQ(t[0].viewClass, "CZVQView");
    for (std::size_t i = 1; i < t.size(); ++i) EXPECT_EQ(t[i].resourceId, 130);
    EXPECT_EQ(FrameClassForView("CChInfoView"), "CZnInfoFrm");
    EXPECT_EQ(FrameClassForView("CKeyImageView"), "CSpecialFrame");
    EXPECT_EQ(FrameClassForView("CKeyView"), "CSpecialFrame");
    EXPECT_EQ(FrameClassForView("CScanView"), "CChildFrame");
    // Every editor command opens a registered view.
    for (const TreeChild& c : TreeChildren(EntryMode::List99)) {
        const std::string view = ViewClassForCommand(c.command);
        EXPECT_FALSE(FrameClassForView(view).empty()) << view;
        EXPECT_EQ(EditorCaption(view), c.caption);
    }
    EXPECT_EQ(ViewClassForCommand(cmd::kOpen), "");
}

TEST(Help, ContextsAnchorsAndFiles) {
    EXPECT_EQ(HelpForCommand(cmd::kNew)->context, 0x11000u);
    EXPECT_FALSE(HelpForCommand(cmd::kNew)->advanced);
    EXPECT_EQ(HelpForCommand(cmd::kAdvancedSettings)->context, 0xF1000u);
    EXPECT_TRUE(HelpForCommand(cmd::kAdvancedSettings)->advanced);
    EXPECT_EQ(HelpForCommand(cmd::kStatusBar)->context, 0x83000u);
    EXPECT_FALSE(HelpForCommand(cmd::kAbout));
    EXPECT_FALSE(HelpForCommand(cmd::kHelpTopics));
    EXPECT_EQ(HelpTopics().context, 0u);
    EXPECT_TRUE(HelpTopicsAdvanced().advanced);
    EXPECT_EQ(HelpAnchor(0x11000), "h11000");
    EXPECT_EQ(HelpAnchor(0), "h0");
    EXPECT_EQ(HelpAnchor(340228), "h53104");
    EXPECT_EQ(HelpAnchor(0xF0000), "hF0000");

    LanguageSettings s;
    s.helpFiles[static_cast<std::size_t>(HelpSlot::LMRESE)] = "lmr.html";
    s.helpFiles[static_cast<std::size_t>(HelpSlot::GMRSSE)] = "gmrs.html";
    s.helpFiles[static_cast<std::size_t>(HelpSlot::BRSESE)] = "brs.html";
    s.helpFiles[static_cast<std::size_t>(HelpSlot::LMR)] = "wrong.html";
    s.advancedHelpFile = "adv.html";
    EXPECT_EQ(HelpFileName(s, EntryMode::Typed, HelpTopics()), "lmr.html");
    EXPECT_EQ(HelpFileName(s, EntryMode::List22, HelpTopics()), "gmrs.html");
    EXPECT_EQ(HelpFileName(s, EntryMode::List99, HelpTopics()), "brs.html");
    EXPECT_EQ(HelpFileName(s, EntryMode::Unused1, HelpTopics()), "brs.html");
    EXPECT_EQ(HelpFileName(s, EntryMode::Typed, HelpTopicsAdvanced()), "adv.html");
    EXPECT_EQ(HelpFileName(s, EntryMode::Typed, *HelpForCommand(cmd::kAdvancedSettings)), "adv.html");
}

TEST(Title, WithAndWithoutNoEncryption) {
    EXPECT_EQ(MainFrameTitle("HRV-41 LMR : K UHF : 440-480 MHz", "File", "vrm650t.dat", false),
              "VRM-650T  [ HRV-41 LMR : K UHF : 440-480 MHz ] [ File : vrm650t.dat ]");
    EXPECT_EQ(MainFrameTitle("S", "File", "a.dat", true),
              "VRM-650T  [ S ] [ File : a.dat ]          No Encryption");
    // A file name with a percent sign is shown as it is.
    EXPECT_EQ(MainFrameTitle("S", "F", "100%s.dat", false), "VRM-650T  [ S ] [ F : 100%s.dat ]");
}

}  // namespace
}  // namespace vrm
