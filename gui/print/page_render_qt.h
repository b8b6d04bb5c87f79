// The print-out on pages: lays a document out on the pages of a printer or a
// PDF writer and paints it. Each page has a header (the data file's name,
// "page x of y") under which the title block, the section headings and the
// tables follow; a table that does not fit goes on over the next page with
// its headings repeated; columns that would run past the right edge share
// the width and their texts wrap, so nothing is cut off.
#pragma once

#include <QString>

#include "core/exchange/print_document.h"

class QPagedPaintDevice;

namespace vrm::print {

struct PageStyle {
    QString family = QStringLiteral("Arial");
    qreal pointSize = 8.5;
};

// Paints every page on `device` (a QPrinter or QPdfWriter whose page layout
// is set). Returns the number of pages, 0 when the device could not be
// painted on.
int PaintDocument(const Document& doc, QPagedPaintDevice& device, const PageStyle& style);

// The number of pages the document takes on `device`, painting nothing.
int CountPages(const Document& doc, QPagedPaintDevice& device, const PageStyle& style);

}  // namespace vrm::print
