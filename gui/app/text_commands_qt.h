// File > Export as Text and File > Import from Text: the document's data as
// a YAML configuration text and back (editors/config_text.h does the work).
//
// Import applies the text to the current document: the file name stays, and
// the data counts as modified (no snapshot), so Save writes it to the file.
// With the same model it is one undo step; a text of another model (or band)
// changes the model as the Model Information dialog does (editors closed,
// history started afresh), after the unsaved-changes question. A refused
// text changes nothing and says which line and key.
#pragma once

namespace vrm {

class CMainFrame;

void RegisterTextCommands(CMainFrame& frame);

}  // namespace vrm
