// A print-out as PDF bytes, for callers without Qt of their own (the CLI).
// Painted by the same page renderer as the program's printer and preview;
// where no Qt application runs, one is started on the offscreen platform, so
// no display is needed.
#pragma once

#include <string>

#include "core/exchange/print_document.h"

namespace vrm::print {

struct PdfOptions {
    std::string fontFamily = "Arial";  // the language file's font; a close match stands in
    bool letter = false;               // Letter instead of A4, portrait either way
};

// The PDF in `bytes`; false when it could not be made.
bool MakePdf(const Document& doc, const PdfOptions& options, std::string& bytes, int* pages = nullptr);

}  // namespace vrm::print
