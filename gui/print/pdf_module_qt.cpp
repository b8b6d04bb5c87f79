// libvrm650t-pdf.so: the page renderer's PDF output for vrm650t-cli. The CLI
// opens this library only when a PDF is asked for, so that its other commands
// start as a plain program without loading Qt.
#include <string>

#include "core/exchange/pdf_output.h"

extern "C" {

// The version the library was built with; the CLI uses it only when it is
// its own, so a stray library of another build is never called.
__attribute__((visibility("default"))) const char* vrm650t_pdf_version() { return VRM_VERSION; }

// MakePdf with C linkage: 1 with the PDF in `bytes`, 0 when none was made.
__attribute__((visibility("default"))) int vrm650t_pdf_make(const vrm::print::Document* doc,
                                                            const vrm::print::PdfOptions* options, std::string* bytes,
                                                            int* pages) {
    return vrm::print::MakePdf(*doc, *options, *bytes, pages) ? 1 : 0;
}
}
