// The text IDs of the program's title, the About box, the menu bar, the tool
// bar and the editors' captions.
// Included by core/base/text_ids.h; add new names of this area here.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

// Program and About box
inline constexpr TextId kProgramTitle = 10000001;
inline constexpr TextId kAboutLine1 = 10001001;
inline constexpr TextId kAboutLine3 = 10001003;
inline constexpr TextId kAboutLine4 = 10001004;
inline constexpr TextId kAboutLine5 = 10001005;
inline constexpr TextId kAboutLine6 = 10001006;
inline constexpr TextId kAboutLine7 = 10001007;
inline constexpr TextId kAboutTitle = 10001008;  // also the About tool tip
inline constexpr TextId kAboutLine2 = 10001015;
inline constexpr TextId kAboutNoWarranty = 19124004;  // en: "This program comes with ABSOLUTELY NO WARRANTY. ..." | de: "Dieses Programm wird OHNE JEDE GEWÄHRLEISTUNG ..."

// Menu bar: pop-up captions
inline constexpr TextId kMenuFile = 10003001;
inline constexpr TextId kMenuModel = 10003002;
inline constexpr TextId kMenuEdit = 10003003;
inline constexpr TextId kMenuProgram = 10003004;
inline constexpr TextId kMenuTool = 10003005;
inline constexpr TextId kMenuSetup = 10003006;
inline constexpr TextId kMenuView = 10003007;
inline constexpr TextId kMenuWindow = 10003008;
inline constexpr TextId kMenuHelp = 10003009;

// Menu bar: command captions (and, where the same, status texts)
inline constexpr TextId kCmdNew = 10003101;
inline constexpr TextId kCmdOpen = 10003102;
inline constexpr TextId kCmdSave = 10003103;
inline constexpr TextId kCmdSaveAs = 10003104;
inline constexpr TextId kCmdPrint = 10003107;
inline constexpr TextId kCmdPrintPreview = 10003108;
inline constexpr TextId kCmdExit = 10003110;
inline constexpr TextId kCmdModelInformation = 10003201;
inline constexpr TextId kCmdTestFrequency = 10003301;
inline constexpr TextId kCmdEmbeddedMessage = 10003302;
inline constexpr TextId kCmdChannelInformation = 10003305;
inline constexpr TextId kCmdOptionalFeatures = 10003306;
inline constexpr TextId kCmdKeyAssignment = 10003307;
inline constexpr TextId kCmdScanInformation = 10003308;
inline constexpr TextId kCmdAdvancedSettings = 10003313;
inline constexpr TextId kCmdQtDqtCustomization = 10003319;
inline constexpr TextId kCmdReadData = 10003401;
inline constexpr TextId kCmdWriteData = 10003402;
inline constexpr TextId kCmdTestMode = 10003403;
inline constexpr TextId kCmdTuningData = 10003404;
inline constexpr TextId kCmdMemoryMap = 10003405;
inline constexpr TextId kCmdRadioInformation = 10003501;
inline constexpr TextId kCmdLanguageFileSetup = 10003602;
inline constexpr TextId kCmdTreeView = 10003701;
inline constexpr TextId kCmdToolBar = 10003702;
inline constexpr TextId kCmdStatusBar = 10003703;
inline constexpr TextId kCmdCascade = 10003801;
inline constexpr TextId kCmdTileHorizontally = 10003802;
inline constexpr TextId kCmdTileVertically = 10003803;
inline constexpr TextId kCmdArrange = 10003804;
inline constexpr TextId kCmdCloseAllWindow = 10003805;
inline constexpr TextId kCmdHelpTopics = 10003901;
inline constexpr TextId kCmdAbout = 10003902;
inline constexpr TextId kCmdHelpTopicsAdvanced = 10003903;

// Tool bar tool tips (About uses kAboutTitle)
inline constexpr TextId kTipNew = 10005001;
inline constexpr TextId kTipOpen = 10005002;
inline constexpr TextId kTipSave = 10005003;
inline constexpr TextId kTipPrint = 10005004;
inline constexpr TextId kTipRead = 10005005;
inline constexpr TextId kTipWrite = 10005006;

// Editor captions (tree of editors, window titles, Edit menu status texts)
inline constexpr TextId kEditorTestFrequency = 10301000;
inline constexpr TextId kEditorChannelInformation = 10305000;
inline constexpr TextId kEditorOptionalFeatures = 10306000;
inline constexpr TextId kEditorKeyAssignment = 10307000;
inline constexpr TextId kEditorScanInformation = 10308000;
inline constexpr TextId kEditorAdvancedSettings = 10313000;
inline constexpr TextId kEditorQtDqtCustomization = 10319000;
inline constexpr TextId kEditorEmbeddedMessage = 10403002;

}  // namespace vrm::tid
