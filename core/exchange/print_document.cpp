#include "core/exchange/print_document.h"

#include <algorithm>

#include "core/base/text_format.h"

namespace vrm::print {

namespace {

std::string Padded(const std::string& s, std::size_t width) {
    const std::size_t w = TextWidth(s);
    return w >= width ? s : s + std::string(width - w, ' ');
}

std::string Cell(const TableRow& row, std::size_t c) { return c < row.cells.size() ? row.cells[c] : std::string(); }

std::string Indent(int steps) { return std::string(2 * static_cast<std::size_t>(std::max(steps, 0)), ' '); }

void WriteTextTable(std::string& out, const Table& table) {
    const std::size_t columns = table.Columns();
    std::vector<std::size_t> widths(columns, 0);
    for (std::size_t c = 0; c < table.headings.size(); ++c) widths[c] = TextWidth(table.headings[c]);
    for (const TableRow& row : table.rows) {
        if (row.caption) continue;
        for (std::size_t c = 0; c < row.cells.size(); ++c)
            widths[c] = std::max(widths[c], TextWidth((c == 0 ? Indent(row.indent) : "") + row.cells[c]));
    }
    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string cell = c < cells.size() ? cells[c] : std::string();
            text += c + 1 < columns ? Padded(cell, widths[c] + 2) : cell;
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + "\n";
    };
    if (!table.headings.empty()) {
        line(table.headings);
        std::vector<std::string> rule;
        for (std::size_t c = 0; c < columns; ++c) rule.push_back(std::string(widths[c], '-'));
        line(rule);
    }
    for (const TableRow& row : table.rows) {
        if (row.caption) {
            out += Indent(row.indent) + Cell(row, 0) + "\n";
            continue;
        }
        std::vector<std::string> cells = row.cells;
        if (!cells.empty()) cells[0] = Indent(row.indent) + cells[0];
        line(cells);
    }
}

std::string Escaped(const std::string& text) {
    std::string s;
    for (char ch : text) {
        switch (ch) {
            case '&': s += "&amp;"; break;
            case '<': s += "&lt;"; break;
            case '>': s += "&gt;"; break;
            case '"': s += "&quot;"; break;
            default: s += ch;
        }
    }
    return s;
}

void WriteHtmlTable(std::string& out, const Table& table) {
    const std::size_t columns = table.Columns();
    out += table.headings.empty() ? "<table class=\"facts\">\n" : "<table>\n";
    if (!table.headings.empty()) {
        out += "<thead><tr>";
        for (const std::string& h : table.headings) out += "<th>" + Escaped(h) + "</th>";
        out += "</tr></thead>\n";
    }
    out += "<tbody>\n";
    for (const TableRow& row : table.rows) {
        const std::string pad = row.indent > 1 ? " style=\"padding-left:" + std::to_string(row.indent - 1) + "em\"" : "";
        if (row.caption) {
            out += "<tr class=\"caption\"><td colspan=\"" + std::to_string(columns) + "\"" + pad + ">" +
                   Escaped(Cell(row, 0)) + "</td></tr>\n";
            continue;
        }
        out += "<tr>";
        for (std::size_t c = 0; c < columns; ++c)
            out += "<td" + (c == 0 ? pad : std::string()) + ">" + Escaped(Cell(row, c)) + "</td>";
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
}

}  // namespace

std::size_t Table::Columns() const {
    std::size_t n = headings.size();
    for (const TableRow& row : rows) n = std::max(n, row.cells.size());
    return n;
}

std::string PageNumberText(const Document& doc, int page, int pages) {
    return FormatText(doc.pageNumbers, {page, pages});
}

std::size_t TextWidth(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

std::string WriteText(const Document& doc) {
    std::string out = doc.title + "\n" + std::string(TextWidth(doc.title), '=') + "\n\n";
    Table facts;
    for (const auto& [label, value] : doc.facts) facts.AddRow({label, value});
    WriteTextTable(out, facts);
    for (const Section& section : doc.sections) {
        out += "\n" + section.heading + "\n" + std::string(TextWidth(section.heading), '-') + "\n";
        for (std::size_t t = 0; t < section.tables.size(); ++t) {
            if (t) out += "\n";
            WriteTextTable(out, section.tables[t]);
        }
    }
    return out;
}

std::string WriteHtml(const Document& doc, const std::string& language) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"" + Escaped(language) + "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        Escaped(doc.title + (doc.fileName.empty() ? "" : " - " + doc.fileName)) +
        "</title>\n<style>\n"
        "body { font-family: sans-serif; font-size: 10pt; }\n"
        "table { border-collapse: collapse; margin-bottom: 1em; }\n"
        "th, td { border: 1px solid #888; padding: 2px 6px; text-align: left; vertical-align: top; }\n"
        "th { background: #e8e8e8; }\n"
        "table.facts td { border: none; padding: 1px 12px 1px 0; }\n"
        "tr.caption td { font-weight: bold; }\n"
        "thead { display: table-header-group; }\n"
        "tr { page-break-inside: avoid; }\n"
        "</style>\n</head>\n<body>\n<h1>" +
        Escaped(doc.title) + "</h1>\n";
    Table facts;
    for (const auto& [label, value] : doc.facts) facts.AddRow({label, value});
    WriteHtmlTable(out, facts);
    for (const Section& section : doc.sections) {
        out += "<h2>" + Escaped(section.heading) + "</h2>\n";
        for (const Table& table : section.tables) WriteHtmlTable(out, table);
    }
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace vrm::print
