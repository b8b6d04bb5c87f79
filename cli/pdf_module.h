// The CLI's PDF output: the page renderer lives in libvrm650t-pdf.so beside
// the program and is opened the first time a PDF is asked for.
#pragma once

#include <string>

#include "core/exchange/pdf_output.h"

namespace vrm::cli {

// Opens the PDF writer (once); false with the library's path and the loader's
// reason when it cannot be used.
bool LoadPdfWriter(std::string& path, std::string& reason);

// MakePdf through the library; false when it is not loaded or made no PDF.
bool MakePdfWithWriter(const print::Document& doc, const print::PdfOptions& options, std::string& bytes);

}  // namespace vrm::cli
