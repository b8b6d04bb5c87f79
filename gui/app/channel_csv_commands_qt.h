// File > Import Channels and File > Export Channels: a channel plan from a
// channel CSV into the document (after its report is shown), and the
// document's channels out as channel CSV.
#pragma once

namespace vrm {

class CMainFrame;

void RegisterChannelCsvCommands(CMainFrame& frame);

}  // namespace vrm
