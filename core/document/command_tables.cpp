#include "core/document/command_tables.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vrm {
namespace {

using namespace tid;

const CommandEntry kSeparator{};

CommandEntry Same(int command, TextId text) { return {command, text, text}; }

std::vector<MenuTable> MakeTables() {
    return {
        {MenuId::File,
         kMenuFile,
         {Same(cmd::kNew, kCmdNew), Same(cmd::kOpen, kCmdOpen), Same(cmd::kSave, kCmdSave),
          Same(cmd::kSaveAs, kCmdSaveAs), kSeparator, Same(cmd::kImportText, kCmdImportText),
          Same(cmd::kExportText, kCmdExportText), Same(cmd::kImportChannels, kCmdImportChannels),
          Same(cmd::kExportChannels, kCmdExportChannels), kSeparator,
          {cmd::kCompareWithFile, kCompareFileMenu, kCompareFileStatus}, kSeparator, Same(cmd::kPrint, kCmdPrint),
          Same(cmd::kPrintPreview, kCmdPrintPreview), kSeparator, Same(cmd::kExit, kCmdExit)}},
        {MenuId::Model, kMenuModel, {Same(cmd::kModelInformation, kCmdModelInformation)}},
        {MenuId::Edit,
         kMenuEdit,
         {{cmd::kUndo, kCmdUndo, kStatusUndo},
          {cmd::kRedo, kCmdRedo, kStatusRedo},
          kSeparator,
          {cmd::kChannelInformation, kCmdChannelInformation, kEditorChannelInformation},
          kSeparator,
          {cmd::kOptionalFeatures, kCmdOptionalFeatures, kEditorOptionalFeatures},
          {cmd::kKeyAssignment, kCmdKeyAssignment, kEditorKeyAssignment},
          {cmd::kScanInformation, kCmdScanInformation, kEditorScanInformation},
          kSeparator,
          {cmd::kTestFrequency, kCmdTestFrequency, kEditorTestFrequency},
          {cmd::kEmbeddedMessage, kCmdEmbeddedMessage, kEditorEmbeddedMessage},
          kSeparator,
          {cmd::kQtDqtCustomization, kCmdQtDqtCustomization, kEditorQtDqtCustomization},
          kSeparator,
          {cmd::kAdvancedSettings, kCmdAdvancedSettings, kEditorAdvancedSettings}}},
        {MenuId::Program,
         kMenuProgram,
         {Same(cmd::kReadData, kCmdReadData), Same(cmd::kWriteData, kCmdWriteData),
          Same(cmd::kCompareWithRadio, kCompareMenu), Same(cmd::kProgrammingStation, kStationMenu),
          Same(cmd::kTestMode, kCmdTestMode), Same(cmd::kTuningData, kCmdTuningData),
          Same(cmd::kMemoryMap, kCmdMemoryMap)}},
        {MenuId::Tool, kMenuTool, {Same(cmd::kRadioInformation, kCmdRadioInformation)}},
        {MenuId::Setup,
         kMenuSetup,
         {Same(cmd::kLanguageFileSetup, kCmdLanguageFileSetup), kSeparator,
          Same(cmd::kProgrammingOptions, kProgOptionsMenu), Same(cmd::kSecuritySettings, kSecurityMenu)}},
        {MenuId::View,
         kMenuView,
         {Same(cmd::kTreeView, kCmdTreeView), kSeparator, Same(cmd::kToolBar, kCmdToolBar),
          Same(cmd::kStatusBar, kCmdStatusBar)}},
        {MenuId::Window,
         kMenuWindow,
         {Same(cmd::kCascade, kCmdCascade), Same(cmd::kTileHorizontally, kCmdTileHorizontally),
          Same(cmd::kTileVertically, kCmdTileVertically), Same(cmd::kArrange, kCmdArrange), kSeparator,
          Same(cmd::kCloseAllWindow, kCmdCloseAllWindow)}},
        {MenuId::Help,
         kMenuHelp,
         {Same(cmd::kHelpTopics, kCmdHelpTopics), Same(cmd::kHelpTopicsAdvanced, kCmdHelpTopicsAdvanced),
          kSeparator, Same(cmd::kAbout, kCmdAbout)}},
    };
}

struct HelpContextRow {
    int command;
    std::uint32_t context;
    bool advanced;
};

constexpr HelpContextRow kHelpContexts[] = {
    {cmd::kNew, 0x11000, false},
    {cmd::kOpen, 0x12000, false},
    {cmd::kSave, 0x13000, false},
    {cmd::kSaveAs, 0x14000, false},
    {cmd::kExit, 0x17000, false},
    {cmd::kModelInformation, 0x20000, false},
    {cmd::kTestFrequency, 0x41000, false},
    {cmd::kEmbeddedMessage, 0x42000, false},
    {cmd::kPrint, 0x15000, false},
    {cmd::kLanguageFileSetup, 0x72000, false},
    {cmd::kRadioInformation, 0x63000, false},
    {cmd::kPrintPreview, 0x16000, false},
    {cmd::kTuningData, 0x54000, false},
    {cmd::kAdvancedSettings, 0xF1000, true},
    {cmd::kOptionalFeatures, 0x32000, false},
    {cmd::kKeyAssignment, 0x33000, false},
    {cmd::kToolBar, 0x82000, false},
    {cmd::kScanInformation, 0x34000, false},
    {cmd::kChannelInformation, 0x31000, false},
    {cmd::kQtDqtCustomization, 0x43000, false},
    {cmd::kTreeView, 0x81000, false},
    {cmd::kCloseAllWindow, 0x95000, false},
    {cmd::kReadData, 0x51000, false},
    {cmd::kWriteData, 0x52000, false},
    {cmd::kCompareWithRadio, 0x55000, false},
    {cmd::kProgrammingStation, 0x56000, false},
    {cmd::kCompareWithFile, 0x1C000, false},
    {cmd::kProgrammingOptions, 0x73000, false},
    {cmd::kSecuritySettings, 0x74000, false},
    {cmd::kTestMode, 0x53000, false},
    {cmd::kArrange, 0x94000, false},
    {cmd::kCascade, 0x91000, false},
    {cmd::kTileHorizontally, 0x92000, false},
    {cmd::kTileVertically, 0x93000, false},
    {cmd::kStatusBar, 0x83000, false},
    {cmd::kExportText, 0x18000, false},
    {cmd::kImportText, 0x19000, false},
    {cmd::kImportChannels, 0x1C200, false},
    {cmd::kExportChannels, 0x1C300, false},
};

struct EditorRow {
    int command;
    const char* viewClass;
    TextId caption;
};

constexpr EditorRow kEditors[] = {
    {cmd::kChannelInformation, "CChInfoView", kEditorChannelInformation},
    {cmd::kOptionalFeatures, "CFeatureView", kEditorOptionalFeatures},
    {cmd::kKeyAssignment, "CKeyView", kEditorKeyAssignment},
    {cmd::kScanInformation, "CScanView", kEditorScanInformation},
    {cmd::kTestFrequency, "CTestFreqView", kEditorTestFrequency},
    {cmd::kEmbeddedMessage, "CEmbView", kEditorEmbeddedMessage},
    {cmd::kQtDqtCustomization, "CCmqtdqtView", kEditorQtDqtCustomization},
    {cmd::kAdvancedSettings, "CSpecialView", kEditorAdvancedSettings},
};

}  // namespace

const std::vector<MenuTable>& MenuBarTables() {
    static const std::vector<MenuTable> tables = MakeTables();
    return tables;
}

bool EditEntryShown(int command, EntryMode entryMode) {
    return !(command == cmd::kQtDqtCustomization && entryMode == EntryMode::Typed);
}

std::vector<MenuTable> BuildMenuBar(EntryMode entryMode, bool withWindowMenu) {
    std::vector<MenuTable> bar;
    for (const MenuTable& table : MenuBarTables()) {
        if (table.id == MenuId::Window && !withWindowMenu) continue;
        MenuTable rebuilt{table.id, table.caption, {}};
        for (const CommandEntry& entry : table.entries) {
            if (entry.IsSeparator()) {
                if (!rebuilt.entries.empty() && !rebuilt.entries.back().IsSeparator())
                    rebuilt.entries.push_back(entry);
                continue;
            }
            if (table.id == MenuId::Edit && !EditEntryShown(entry.command, entryMode)) continue;
            rebuilt.entries.push_back(entry);
        }
        if (!rebuilt.entries.empty() && rebuilt.entries.back().IsSeparator()) rebuilt.entries.pop_back();
        bar.push_back(std::move(rebuilt));
    }
    return bar;
}

const std::vector<ToolButton>& ToolBarButtons() {
    static const std::vector<ToolButton> buttons = {
        {cmd::kNew, kTipNew},        {cmd::kOpen, kTipOpen},   {cmd::kSave, kTipSave}, {},
        {cmd::kPrint, kTipPrint},    {},                        {cmd::kReadData, kTipRead},
        {cmd::kWriteData, kTipWrite}, {},                       {cmd::kAbout, kAboutTitle},
    };
    return buttons;
}

const std::vector<Accelerator>& Accelerators() {
    static const std::vector<Accelerator> accelerators = {
        {"Ctrl+N", cmd::kNew},          {"Ctrl+O", cmd::kOpen},          {"Ctrl+S", cmd::kSave},
        {"Ctrl+P", cmd::kPrint},        {"Ctrl+R", cmd::kReadData},      {"Ctrl+W", cmd::kWriteData},
        {"Ctrl+T", cmd::kTestMode},     {"Ctrl+M", cmd::kMemoryMap},     {"Ctrl+0", cmd::kTreeView},
        {"Ctrl+Num+0", cmd::kTreeView}, {"Alt+0", cmd::kFocusTree},      {"Alt+Num+0", cmd::kFocusTree},
        {"Ctrl+C", cmd::kGridCopy},     {"Ctrl+V", cmd::kGridPaste},     {"F11", cmd::kChannelEdit},
        {"Ctrl+Z", cmd::kUndo},         {"Ctrl+Y", cmd::kRedo},          {"Ctrl+Shift+Z", cmd::kRedo},
    };
    return accelerators;
}

std::vector<TreeChild> TreeChildren(EntryMode entryMode) {
    std::vector<TreeChild> children;
    for (const EditorRow& row : kEditors) {
        if (!EditEntryShown(row.command, entryMode)) continue;
        children.push_back({row.caption, row.command});
    }
    return children;
}

const std::vector<DocumentTemplateInfo>& DocumentTemplates() {
    static const std::vector<DocumentTemplateInfo> templates = {
        {129, "CZVQDoc", "CChildFrame", "CZVQView"},      {130, "CZVQDoc", "CZnInfoFrm", "CChInfoView"},
        {130, "CZVQDoc", "CChildFrame", "CChEditView"},   {130, "CZVQDoc", "CSpecialFrame", "CFeatureView"},
        {130, "CZVQDoc", "CSpecialFrame", "CKeyView"},    {130, "CZVQDoc", "CSpecialFrame", "CKeyImageView"},
        {130, "CZVQDoc", "CChildFrame", "CScanView"},     {130, "CZVQDoc", "CChildFrame", "CTestFreqView"},
        {130, "CZVQDoc", "CChildFrame", "CEmbView"},      {130, "CZVQDoc", "CChildFrame", "CSpecialView"},
        {130, "CZVQDoc", "CChildFrame", "CCmqtdqtView"},
    };
    return templates;
}

std::string ViewClassForCommand(int command) {
    for (const EditorRow& row : kEditors) {
        if (row.command == command) return row.viewClass;
    }
    return {};
}

std::string FrameClassForView(const std::string& viewClass) {
    for (const DocumentTemplateInfo& t : DocumentTemplates()) {
        if (viewClass == t.viewClass) return t.frameClass;
    }
    return {};
}

TextId EditorCaption(const std::string& viewClass) {
    for (const EditorRow& row : kEditors) {
        if (viewClass == row.viewClass) return row.caption;
    }
    return 0;
}

HelpSlot HelpSlotForEntryMode(EntryMode entryMode) {
    if (entryMode == EntryMode::Typed) return HelpSlot::LMRESE;
    if (entryMode == EntryMode::List22) return HelpSlot::GMRSSE;
    return HelpSlot::BRSESE;
}

std::optional<HelpRequest> HelpForCommand(int command) {
    for (const HelpContextRow& row : kHelpContexts) {
        if (row.command == command) return HelpRequest{row.advanced, row.context};
    }
    return std::nullopt;
}

HelpRequest HelpTopics() { return {false, 0}; }
HelpRequest HelpTopicsAdvanced() { return {true, 0xF0000}; }

std::string HelpAnchor(std::uint32_t context) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "h%X", static_cast<unsigned>(context));
    return buffer;
}

std::string HelpFileName(const LanguageSettings& settings, EntryMode entryMode, const HelpRequest& request) {
    if (request.advanced) return settings.advancedHelpFile;
    return settings.helpFiles[static_cast<std::size_t>(HelpSlotForEntryMode(entryMode))];
}

}  // namespace vrm

namespace vrm {

std::string LocateHelpFile(const std::string& fileName, const std::string& programFolder) {
    if (fileName.empty()) return {};
    std::error_code ec;
    auto isFile = [&ec](const std::filesystem::path& p) { return std::filesystem::is_regular_file(p, ec); };
    if (fileName.find('/') != std::string::npos) return isFile(fileName) ? fileName : std::string();
    if (!programFolder.empty()) {
        const std::filesystem::path beside = std::filesystem::path(programFolder) / fileName;
        if (isFile(beside)) return beside.string();
    }
    const std::filesystem::path here = std::filesystem::current_path(ec) / fileName;
    if (!ec && isFile(here)) return here.string();
    return {};
}

}  // namespace vrm
