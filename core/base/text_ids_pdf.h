// The text IDs of the CLI's PDF writer, the library it opens when a PDF is
// asked for.
#pragma once

#include "core/base/text_ids.h"

namespace vrm::tid {

inline constexpr TextId kCliPdfWriterMissing = 19160001;  // en: "The PDF writer %s could not be loaded (%s); write html or txt, or reinstall the program." | de: "Der PDF-Schreiber %s konnte nicht geladen werden (%s); schreiben Sie html oder txt, oder installieren Sie das Programm neu."

}  // namespace vrm::tid
