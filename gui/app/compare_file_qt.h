// File > Compare With...: asks for a data file and shows where it differs
// from the document.
#pragma once

namespace vrm {

class CMainFrame;

void RegisterCompareWithFileCommand(CMainFrame& frame);

}  // namespace vrm
