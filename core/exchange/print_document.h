// A print-out as a page-independent document: a title block, then sections
// of tables. The configuration lists, Radio Information and Test Mode build
// one; the Qt side paginates and paints it (printer, preview, PDF), and the
// writers here turn it into plain text and HTML.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vrm::print {

// A line of a table: its cells, or a caption (the first cell) that spans the
// table, as a group box's caption above the fields it holds.
struct TableRow {
    std::vector<std::string> cells;
    bool caption = false;
    int indent = 0;  // steps the first cell is indented by
};

// A table with column headings (repeated on each page it runs over), or
// without any: a list of label and value lines.
struct Table {
    std::vector<std::string> headings;
    std::vector<TableRow> rows;

    std::size_t Columns() const;
    void AddRow(std::vector<std::string> cells, int indent = 0) { rows.push_back({std::move(cells), false, indent}); }
    void AddCaption(std::string text, int indent = 0) { rows.push_back({{std::move(text)}, true, indent}); }
};

struct Section {
    std::string heading;
    std::vector<Table> tables;
};

struct Document {
    std::string title;                                         // the title block's first line
    std::vector<std::pair<std::string, std::string>> facts;    // the title block: label, value
    std::string fileName;                                      // the page header's left side
    std::string pageNumbers = "%d / %d";                      // the page header's right side: page, pages
    std::vector<Section> sections;
};

// "Page 2 of 5" from the document's page number text.
std::string PageNumberText(const Document& doc, int page, int pages);

// The document as plain text (UTF-8, LF line ends): tables in aligned columns.
std::string WriteText(const Document& doc);

// The document as one HTML page (UTF-8); table headings repeat on each
// printed page.
std::string WriteHtml(const Document& doc, const std::string& language = "en");

// Display width of a UTF-8 text in characters.
std::size_t TextWidth(const std::string& text);

}  // namespace vrm::print
