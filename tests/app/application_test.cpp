// Start-up and exit steps of the application object on an in-memory
// settings store.
#include "core/document/application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "core/document/document.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrm-app-XXXXXX";
        temp_ = mkdtemp(pattern);
        defaultFolder_ = temp_ + "/default/";
        fs::create_directories(defaultFolder_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(temp_, ec);
    }
    // Start-up steps 1 and 5 as the program runs them.
    std::unique_ptr<Application> Start(MemorySettingsStore& settings, std::vector<std::string> args = {}) {
        auto app = std::make_unique<Application>(clock_);
        app->ReadCommandLine(args);
        app->SetProgramFolder(VRM_BIN_DIR);
        EXPECT_TRUE(app->LoadLanguageAtStartup(settings, prompter_));
        app->PrepareData(settings, defaultFolder_);
        app->ReadSecuritySettings(settings);
        return app;
    }
    static ImageBuffer DefaultImage() {
        RadioImage image;
        ModelCatalogue catalogue(image);
        image.Clear();
        image.InitialiseDefaults(catalogue, true);
        return image.Live();
    }

    std::string temp_, defaultFolder_;
    VirtualClock clock_;
    test::ScriptedPrompter prompter_;
};

TEST_F(ApplicationTest, LastModelThatDoesNotParseOrIsNotAcceptableGivesTheDefaultModel) {
    const ModelIdentity model2 = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFC, 0xFF, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF};
    const ModelIdentity model0 = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFF, 0xFF, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    for (const std::string& value : {std::string("50:48:52:56:2D:34:31:FF:FC:FF:00:01:FF:FF:FF"),  // 15 numbers
                                     FormatLastModel(model0), std::string("garbage"), std::string()}) {
        SCOPED_TRACE(value);
        MemorySettingsStore settings;
        settings.WriteString(kSettingLastModel, value);
        auto app = Start(settings);
        EXPECT_EQ(app->Image().Identity(), ModelCatalogue::DefaultIdentity());
        EXPECT_EQ(app->Image().Live(), DefaultImage());
        EXPECT_FALSE(app->Image().IsModified());
    }
    MemorySettingsStore settings;
    settings.WriteString(kSettingLastModel, FormatLastModel(model2));
    auto app = Start(settings);
    EXPECT_EQ(app->Image().Identity(), model2);
    EXPECT_EQ(app->EntryMode(), EntryMode::List99);
    EXPECT_EQ(app->Catalogue().FindModel(), 2);
}

TEST_F(ApplicationTest, CurrentFolderFromLastFilePathUnlessItIsGone) {
    const std::string kept = temp_ + "/radios";
    fs::create_directories(kept);
    MemorySettingsStore settings;
    settings.WriteString(kSettingLastFilePath, kept);
    EXPECT_EQ(Start(settings)->Document().Folder(), kept + "/");
    fs::remove_all(kept);
    EXPECT_EQ(Start(settings)->Document().Folder(), defaultFolder_);
    EXPECT_EQ(Start(settings)->Document().FileName(), "vrm650t.dat");
}

TEST_F(ApplicationTest, ProtectFallsBackToTheMachineValueThenToTheFixedDefault) {
    {
        MemorySettingsStore settings;
        auto app = Start(settings);
        EXPECT_EQ(app->Security().password, kDefaultSecurityPassword);
        EXPECT_TRUE(app->Security().programExecution);
        EXPECT_FALSE(app->Security().dataFile);
    }
    {
        MemorySettingsStore settings;
        settings.WriteString(kSettingProtect, "");
        settings.SetMachineString(kSettingProtect, ScrambleProtect(false, "246810"));
        auto app = Start(settings);
        EXPECT_EQ(app->Security().password, "246810");
        EXPECT_FALSE(app->Security().programExecution);
    }
    {
        MemorySettingsStore settings;
        settings.WriteString(kSettingProtect, ScrambleProtect(true, "135790"));
        settings.SetMachineString(kSettingProtect, ScrambleProtect(false, "246810"));
        settings.WriteInt(kSettingDataFile, 1);
        auto app = Start(settings);
        EXPECT_EQ(app->Security().password, "135790");
        EXPECT_TRUE(app->Security().programExecution);
        EXPECT_TRUE(app->Security().dataFile);
    }
    {
        // A damaged value is no value.
        MemorySettingsStore settings;
        settings.WriteString(kSettingProtect, "12:34");
        settings.WriteString(kSettingDataFile, "yes");
        auto app = Start(settings);
        EXPECT_EQ(app->Security().password, kDefaultSecurityPassword);
        EXPECT_FALSE(app->Security().dataFile);
    }
}

TEST_F(ApplicationTest, SettingsSurviveARestart) {
    MemorySettingsStore settings;
    const std::string folder = temp_ + "/fleet/";
    fs::create_directories(folder);
    {
        auto app = Start(settings);
        ASSERT_TRUE(app->Catalogue().SetModel(4));
        app->Catalogue().SetBandWord(0x0106);
        app->Document().SetFolder(folder);
        app->Security().dataFile = true;
        app->Security().password = "112233";
        app->Security().programExecution = false;
        ASSERT_TRUE(app->ChangeLanguage("vrm650t_de.lng", prompter_));
        app->WriteSettings(settings);
    }
    EXPECT_EQ(settings.ReadInt(kSettingComPort), 1);
    auto app = Start(settings);
    EXPECT_EQ(app->Catalogue().FindModel(), 4);
    EXPECT_EQ(app->Document().Folder(), folder);
    EXPECT_EQ(app->LanguageFile(), "vrm650t_de.lng");
    EXPECT_EQ(app->Language().Settings().displayLanguage, "Deutsch");
    EXPECT_TRUE(app->Security().dataFile);
    EXPECT_EQ(app->Security().password, "112233");
    EXPECT_FALSE(app->Security().programExecution);
    // The help pages follow the language.
    EXPECT_EQ(app->AdvancedHelpFile(), "vrm650t_de_adv.html");
}

TEST_F(ApplicationTest, LanguageFallsBackToEnglishAndEndsWhenThatIsMissingToo) {
    MemorySettingsStore settings;
    settings.WriteString(kSettingLanguageName, "vrm650t_xx.lng");
    auto app = Start(settings);
    EXPECT_EQ(app->LanguageFile(), "vrm650t_en.lng");
    EXPECT_TRUE(prompter_.asked.empty());  // the first try is silent
    EXPECT_EQ(app->HelpFiles()[static_cast<std::size_t>(HelpSlot::LMRESE)], "vrm650t_en_lmr.html");

    Application bare(clock_);
    bare.SetProgramFolder(temp_);
    EXPECT_FALSE(bare.LoadLanguageAtStartup(settings, prompter_));
    ASSERT_EQ(prompter_.asked.size(), 1u);
    EXPECT_EQ(prompter_.asked[0].text, LanguageTable::kCantReadMessage);
    EXPECT_EQ(prompter_.asked[0].caption, "VRM-650T");
}

TEST_F(ApplicationTest, AFailedLanguageChangeKeepsTheLanguageInUse) {
    MemorySettingsStore settings;
    auto app = Start(settings);
    const std::string before = app->Text(tid::kMenuFile);
    EXPECT_FALSE(app->ChangeLanguage("vrm650t_missing.lng", prompter_));
    EXPECT_EQ(app->LanguageFile(), "vrm650t_en.lng");
    EXPECT_EQ(app->Text(tid::kMenuFile), before);
    EXPECT_FALSE(prompter_.asked.empty());
}

TEST_F(ApplicationTest, TitleShowsModelFileAndNoEncryptionInAnyCase) {
    MemorySettingsStore settings;
    auto plain = Start(settings);
    EXPECT_EQ(plain->Title('.'), "VRM-650T  [ HRV-41A LMR : K UHF : 440-480 MHz ] [ File : vrm650t.dat ]");
    auto upper = Start(settings, {"NOENCRYPTION"});
    EXPECT_TRUE(upper->NoEncryption());
    EXPECT_TRUE(upper->Encryption());
    EXPECT_EQ(upper->Title(','),
              "VRM-650T  [ HRV-41A LMR : K UHF : 440-480 MHz ] [ File : vrm650t.dat ]          No Encryption");
}

}  // namespace
}  // namespace vrm
