// The main frame's commands as data: the menu bar's command tables and the
// rules that rebuild it for a model, the tool bar, the accelerators, the tree
// of editors, the editor windows' document templates and the help contexts
// of F1. The desktop front end builds its widgets from these tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/fields/editor_commands.h"
#include "core/model/entry_mode.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"

namespace vrm {

// Command identifiers.
namespace cmd {
inline constexpr int kNone = 0;  // a separator in the tables
inline constexpr int kNew = 200;
inline constexpr int kOpen = 201;
inline constexpr int kSave = 202;
inline constexpr int kSaveAs = 203;
inline constexpr int kExit = 207;
inline constexpr int kModelInformation = 32771;
inline constexpr int kTestFrequency = 32787;
inline constexpr int kEmbeddedMessage = 32788;
inline constexpr int kPrint = 32794;
inline constexpr int kLanguageFileSetup = 32815;
inline constexpr int kRadioInformation = 32816;
inline constexpr int kFocusTree = 32846;
inline constexpr int kTuningData = 32882;
inline constexpr int kHelpTopicsAdvanced = 32890;
inline constexpr int kAdvancedSettings = 32895;
inline constexpr int kOptionalFeatures = 32896;
inline constexpr int kKeyAssignment = 32897;
inline constexpr int kScanInformation = 32898;
inline constexpr int kChannelInformation = 32904;
inline constexpr int kQtDqtCustomization = 32919;
inline constexpr int kMemoryMap = 40006;
inline constexpr int kTreeView = 40008;
inline constexpr int kCloseAllWindow = 40012;
inline constexpr int kReadData = 40060;
inline constexpr int kWriteData = 40061;
inline constexpr int kTestMode = 40064;
inline constexpr int kHelpTopics = 40069;
inline constexpr int kAbout = 40096;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kArrange = 57649;
inline constexpr int kCascade = 57650;
inline constexpr int kTileHorizontally = 57651;
inline constexpr int kTileVertically = 57652;
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;
// Programming radios safely.
inline constexpr int kCompareWithRadio = 33100;
inline constexpr int kProgrammingOptions = 33101;
inline constexpr int kSecuritySettings = 33102;
// Program > Programming Station.
inline constexpr int kProgrammingStation = 33917;
// Text export and import.
inline constexpr int kExportText = 33400;
inline constexpr int kImportText = 33401;
// Channel CSV.
inline constexpr int kImportChannels = 33402;
inline constexpr int kExportChannels = 33403;
inline constexpr int kCompareWithFile = 33404;  // File > Compare With...
}  // namespace cmd

// One entry of a command table: command, caption text, status text. A
// command of cmd::kNone is a separator.
struct CommandEntry {
    int command = cmd::kNone;
    tid::TextId caption = 0;
    tid::TextId status = 0;

    bool IsSeparator() const { return command == cmd::kNone; }
    bool operator==(const CommandEntry&) const = default;
};

enum class MenuId { File, Model, Edit, Program, Tool, Setup, View, Window, Help };

struct MenuTable {
    MenuId id;
    tid::TextId caption;
    std::vector<CommandEntry> entries;
};

// The command tables in menu-bar order, as written (all Edit entries).
const std::vector<MenuTable>& MenuBarTables();

// Whether an Edit entry appears for a model with this frequency-entry mode
// (QT/DQT Customization is left out for typed-frequency models).
bool EditEntryShown(int command, EntryMode entryMode);

// The menu bar for a model: each pop-up rebuilt from its table, Edit entries
// only where shown, a separator only after an item that is not one, no
// trailing separator. The Window pop-up is included only when asked for.
std::vector<MenuTable> BuildMenuBar(EntryMode entryMode, bool withWindowMenu);

// The position of the first pop-up in the frame's menu bar: 1 when a
// maximised editor window's system-menu icon occupies position 0.
inline int FirstPopupPosition(bool childMaximised) { return childMaximised ? 1 : 0; }

// Tool bar: New, Open, Save, gap, Print, gap, Read, Write, gap, About.
struct ToolButton {
    int command = cmd::kNone;  // kNone: a gap
    tid::TextId toolTip = 0;
};
const std::vector<ToolButton>& ToolBarButtons();

// Accelerators. Keys are written as Qt's portable key sequence text
// ("Ctrl+N", "Num+0" for the numeric pad's 0, "F11").
struct Accelerator {
    std::string keys;
    int command = cmd::kNone;
};
const std::vector<Accelerator>& Accelerators();

// The tree of editors: the children under the model-name root.
struct TreeChild {
    tid::TextId caption = 0;
    int command = cmd::kNone;
    bool operator==(const TreeChild&) const = default;
};
std::vector<TreeChild> TreeChildren(EntryMode entryMode);

// Document templates: resource ID, document class, frame class, view class,
// in registration order. The editor commands open the view of their entry.
struct DocumentTemplateInfo {
    int resourceId = 0;
    const char* documentClass = "";
    const char* frameClass = "";
    const char* viewClass = "";
};
const std::vector<DocumentTemplateInfo>& DocumentTemplates();

// The view class an editor command opens ("" for other commands).
std::string ViewClassForCommand(int command);
// The frame class a view class is shown in ("" when unknown).
std::string FrameClassForView(const std::string& viewClass);
// The caption text of an editor window.
tid::TextId EditorCaption(const std::string& viewClass);

// Help. The help file slot for the current model's entry mode (for Help
// Topics and F1), the context number that F1 gives a command (nullopt: F1
// does nothing for it), and the anchor name that a context number has in a
// help page ("h" + upper-case hex).
struct HelpRequest {
    bool advanced = false;  // the advanced help file instead of the model's
    std::uint32_t context = 0;
};
HelpSlot HelpSlotForEntryMode(EntryMode entryMode);
std::optional<HelpRequest> HelpForCommand(int command);
HelpRequest HelpTopics();
HelpRequest HelpTopicsAdvanced();
std::string HelpAnchor(std::uint32_t context);
// The help file name for a request, from the language settings ("" when the
// language file names none).
std::string HelpFileName(const LanguageSettings& settings, EntryMode entryMode, const HelpRequest& request);
// Where a help file lies: beside the program, else in the current folder (a
// name with a '/' is taken as a path). "" when it does not exist: no help.
std::string LocateHelpFile(const std::string& fileName, const std::string& programFolder);

}  // namespace vrm
