// The print path every print-out takes: the system's print dialog then the
// printer, or Qt's print preview (zoom, page through, print from there).
//
// Any dialog that prints (Radio Information, Test Mode) builds a
// print::Document and calls PreviewDocument or PrintDocument with itself as
// the parent:
//
//   print::Document doc;
//   doc.title = ...;                       // e.g. the dialog's title
//   doc.facts = {{label, value}, ...};     // the title block
//   print::Table t;                        // headings optional
//   t.AddRow({label, value});
//   doc.sections.push_back({heading, {t}});
//   print::PreviewDocument(this, doc, print::StyleFor(language));
//
// While a preview runs, the main frame's close request only ends it: the
// frame finds the preview among its children (RunningPreview).
#pragma once

#include <QPageSize>
#include <functional>

#include "gui/print/page_render_qt.h"
#include "core/exchange/print_document.h"

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace vrm {
class LanguageTable;
}

namespace vrm::print {

// The page style of the language file's font.
PageStyle StyleFor(const LanguageTable& language);

// A printer set up as every print-out starts: portrait, 15 mm side
// margins, the locale's paper size (Letter in the US and Canada, else A4).
void SetUpPrinter(QPrinter& printer, const Document& doc);

// The system print dialog (printer, pages, copies, print to file), then the
// pages.
enum class PrintOutcome { Printed, Cancelled, Failed };
PrintOutcome PrintDocument(QWidget* parent, const Document& doc, const PageStyle& style);

// Qt's print preview of the document, modal until closed. `started` is
// called with the preview once it is made (the main frame keeps it to end
// it on a close request).
void PreviewDocument(QWidget* parent, const Document& doc, const PageStyle& style,
                     const std::function<void(QPrintPreviewDialog&)>& started = {});

// The preview that runs among `root`'s children, or null.
QPrintPreviewDialog* RunningPreview(QWidget* root);

}  // namespace vrm::print
