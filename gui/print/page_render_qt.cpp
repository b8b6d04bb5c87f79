#include "gui/print/page_render_qt.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <numeric>

#include "core/exchange/pdf_output.h"

namespace vrm::print {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// One pass over the document: with a painter it paints, without one it only
// finds the page breaks (the first pass counts the pages for "page x of y").
class PageWriter {
public:
    PageWriter(const Document& doc, QPagedPaintDevice& device, const PageStyle& style, QPainter* painter, int pages)
        : doc_(doc), device_(device), painter_(painter), pages_(pages) {
        body_ = QFont(style.family);
        body_.setStyleHint(QFont::SansSerif);
        body_.setPointSizeF(style.pointSize);
        pointSize_ = style.pointSize;
        // No ligatures: a PDF's text must read back as typed ("Off", not
        // "O" and the "ff" ligature), for searching and copying.
        body_.setStyleStrategy(QFont::PreferNoShaping);
        bold_ = body_;
        bold_.setBold(true);
        small_ = body_;
        small_.setPointSizeF(style.pointSize * 0.9);
        heading_ = bold_;
        heading_.setPointSizeF(style.pointSize * 1.35);
        title_ = bold_;
        title_.setPointSizeF(style.pointSize * 2);
        dpi_ = device.logicalDpiY();
        width_ = device.width();
        height_ = device.height();
        pad_ = Mm(1.1);
    }

    int Run() {
        StartPage();
        TitleBlock();
        for (const Section& section : doc_.sections) {
            y_ += Mm(5);
            std::vector<Table> tables;
            for (const Table& table : section.tables)
                for (Table& part : SplitToFit(table)) tables.push_back(std::move(part));
            for (std::size_t t = 0; t < tables.size(); ++t) {
                const Table& table = tables[t];
                const Columns columns = FitTable(table);
                // The heading stays with the table's headings and first row.
                qreal needed = t == 0 ? TextHeight(Q(section.heading), heading_, width_) + Mm(2) : Mm(3);
                needed += HeadingsHeight(table, columns) + (table.rows.empty() ? 0 : RowHeight(table, table.rows[0], columns));
                if (y_ + needed > height_ && y_ > top_) NewPage();
                if (t == 0) {
                    const qreal h = TextHeight(Q(section.heading), heading_, width_);
                    DrawText(Q(section.heading), heading_, QPointF(0, y_), width_);
                    y_ += h + Mm(2);
                } else {
                    y_ += Mm(3);
                }
                DrawTable(table, columns, true);
                Scale(1);
            }
        }
        return page_;
    }

private:
    struct Columns {
        std::vector<qreal> widths;
        qreal total = 0;
        bool wordsWhole = true;  // no word needs breaking
        std::vector<qreal> least;  // each column's width without breaking a word
    };

    // A table whose words do not fit the width even a little smaller is
    // split into tables of fewer columns, each repeating the first (the
    // row's number or name), so that no word is broken.
    std::vector<Table> SplitToFit(const Table& table) {
        Scale(0.85);
        const bool fits = Widths(table).wordsWhole;
        Scale(1);
        const Columns cols = Widths(table);  // the parts are packed in the normal size
        if (fits || cols.least.size() < 3) return {table};
        std::vector<std::vector<std::size_t>> groups;
        qreal used = width_;
        for (std::size_t c = 1; c < cols.least.size(); ++c) {
            if (groups.empty() || used + cols.least[c] > width_) {
                groups.push_back({0});
                used = cols.least[0];
            }
            groups.back().push_back(c);
            used += cols.least[c];
        }
        std::vector<Table> parts;
        for (const auto& group : groups) {
            Table part;
            for (const std::size_t c : group)
                if (c < table.headings.size()) part.headings.push_back(table.headings[c]);
            for (const TableRow& row : table.rows) {
                TableRow r = row;
                if (!row.caption) {
                    r.cells.clear();
                    for (const std::size_t c : group) r.cells.push_back(c < row.cells.size() ? row.cells[c] : std::string());
                }
                part.rows.push_back(std::move(r));
            }
            parts.push_back(std::move(part));
        }
        return parts;
    }

    // A table's texts in a size `factor` of the normal one.
    void Scale(qreal factor) {
        body_.setPointSizeF(pointSize_ * factor);
        bold_.setPointSizeF(pointSize_ * factor);
    }

    // A table too wide for its words is set a little smaller (down to 85 %)
    // before a word is broken.
    Columns FitTable(const Table& table) {
        Columns cols = Widths(table);
        for (qreal factor = 0.95; !cols.wordsWhole && factor > 0.84; factor -= 0.05) {
            Scale(factor);
            cols = Widths(table);
        }
        if (!cols.wordsWhole) {
            Scale(1);
            cols = Widths(table);
        }
        return cols;
    }

    qreal Mm(qreal mm) const { return mm * dpi_ / 25.4; }

    // Lays a text out in `width` (breaking at blanks, or anywhere where a
    // word is longer than the width); paints it when painting.
    qreal Layout(const QString& text, const QFont& font, qreal width, const QPointF* at) const {
        QTextLayout layout(text, font, &device_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal h = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max<qreal>(width, 1));
            line.setPosition(QPointF(0, h));
            h += line.height();
        }
        layout.endLayout();
        if (h == 0) h = QFontMetricsF(font, &device_).height();
        if (at && p_) {
            const QPen pen = p_->pen();
            p_->setPen(Qt::black);
            layout.draw(p_, *at);
            p_->setPen(pen);
        }
        return h;
    }
    qreal TextHeight(const QString& text, const QFont& font, qreal width) const { return Layout(text, font, width, nullptr); }
    void DrawText(const QString& text, const QFont& font, QPointF at, qreal width) { Layout(text, font, width, &at); }

    qreal Advance(const QString& text, const QFont& font) const {
        return QFontMetricsF(font, &device_).horizontalAdvance(text);
    }

    qreal IndentOf(const TableRow& row) const { return Mm(4) * row.indent; }

    // Each column as wide as its widest text. When the table would run past
    // the right edge, the headings wrap between their words first; when
    // that is not enough, columns narrower than an equal share keep their
    // width and the others share what is left (their texts wrap).
    Columns Widths(const Table& table, bool framed = true) const {
        const std::size_t n = table.Columns();
        std::vector<qreal> least(n, 0), natural(n, 0);
        for (std::size_t c = 0; c < table.headings.size(); ++c) {
            const QString heading = Q(table.headings[c]);
            for (const QString& word : heading.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                least[c] = std::max(least[c], Advance(word, bold_) + 2 * pad_);
            natural[c] = Advance(heading, bold_) + 2 * pad_;
        }
        for (const TableRow& row : table.rows) {
            if (row.caption) continue;
            for (std::size_t c = 0; c < row.cells.size(); ++c)
                least[c] = std::max(least[c], Advance(Q(row.cells[c]), c || framed ? body_ : bold_) + 2 * pad_ +
                                                  (c ? 0 : IndentOf(row)));
        }
        for (std::size_t c = 0; c < n; ++c) {
            least[c] = std::ceil(least[c] + 1);
            natural[c] = std::max(least[c], std::ceil(natural[c] + 1));
        }
        const auto sum = [](const std::vector<qreal>& v) { return std::accumulate(v.begin(), v.end(), qreal(0)); };
        Columns cols;
        cols.widths = natural;
        if (sum(natural) > width_ && sum(least) <= width_) {
            // Headings wrap; the room left goes to the columns whose headings
            // are widest against their cells.
            const qreal extra = width_ - sum(least), wanted = sum(natural) - sum(least);
            for (std::size_t c = 0; c < n; ++c)
                cols.widths[c] = std::floor(least[c] + (natural[c] - least[c]) * extra / wanted);
        } else if (sum(natural) > width_) {
            std::vector<std::size_t> order(n);
            std::iota(order.begin(), order.end(), std::size_t(0));
            std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return least[x] < least[y]; });
            qreal remaining = width_;
            for (std::size_t k = 0; k < n; ++k) {
                const qreal share = remaining / static_cast<qreal>(n - k);
                const qreal w = std::min(least[order[k]], std::floor(share));
                cols.widths[order[k]] = w;
                remaining -= w;
            }
        }
        cols.total = sum(cols.widths);
        cols.wordsWhole = sum(least) <= width_;
        cols.least = least;
        return cols;
    }

    qreal CellHeight(const QString& text, const QFont& font, qreal width) const {
        return TextHeight(text, font, width - 2 * pad_) + 2 * pad_;
    }

    qreal HeadingsHeight(const Table& table, const Columns& cols) const {
        qreal h = 0;
        for (std::size_t c = 0; c < table.headings.size(); ++c)
            h = std::max(h, CellHeight(Q(table.headings[c]), bold_, cols.widths[c]));
        return h;
    }

    qreal RowHeight(const Table& table, const TableRow& row, const Columns& cols) const {
        (void)table;
        if (row.caption)
            return CellHeight(Q(row.cells.empty() ? std::string() : row.cells[0]), bold_, cols.total - IndentOf(row));
        qreal h = QFontMetricsF(body_, &device_).height() + 2 * pad_;
        for (std::size_t c = 0; c < row.cells.size() && c < cols.widths.size(); ++c)
            h = std::max(h, CellHeight(Q(row.cells[c]), body_, cols.widths[c] - (c ? 0 : IndentOf(row))));
        return h;
    }

    void DrawHeadings(const Table& table, const Columns& cols) {
        if (table.headings.empty()) return;
        const qreal h = HeadingsHeight(table, cols);
        if (p_) p_->fillRect(QRectF(0, y_, cols.total, h), QColor(0xE4, 0xE4, 0xE4));
        qreal x = 0;
        for (std::size_t c = 0; c < cols.widths.size(); ++c) {
            if (c < table.headings.size()) DrawText(Q(table.headings[c]), bold_, QPointF(x + pad_, y_ + pad_), cols.widths[c] - 2 * pad_);
            Frame(QRectF(x, y_, cols.widths[c], h));
            x += cols.widths[c];
        }
        y_ += h;
    }

    void Frame(const QRectF& r) {
        if (!p_ || !framed_) return;
        p_->drawRect(r);
    }

    void DrawTable(const Table& table, const Columns& cols, bool framed) {
        framed_ = framed;
        if (p_) p_->setPen(QPen(QColor(0x80, 0x80, 0x80), Mm(0.15)));
        DrawHeadings(table, cols);
        for (const TableRow& row : table.rows) {
            const qreal h = RowHeight(table, row, cols);
            if (y_ + h > height_ && y_ > top_ + HeadingsHeight(table, cols) + 1) {
                NewPage();
                if (p_) p_->setPen(QPen(QColor(0x80, 0x80, 0x80), Mm(0.15)));
                DrawHeadings(table, cols);
            }
            if (row.caption) {
                const qreal indent = IndentOf(row);
                DrawText(Q(row.cells.empty() ? std::string() : row.cells[0]), bold_,
                         QPointF(indent + pad_, y_ + pad_), cols.total - indent - 2 * pad_);
                Frame(QRectF(0, y_, cols.total, h));
            } else {
                qreal x = 0;
                for (std::size_t c = 0; c < cols.widths.size(); ++c) {
                    const qreal indent = c ? 0 : IndentOf(row);
                    const QString text = c < row.cells.size() ? Q(row.cells[c]) : QString();
                    DrawText(text, framed ? body_ : (c == 0 ? bold_ : body_), QPointF(x + indent + pad_, y_ + pad_),
                             cols.widths[c] - indent - 2 * pad_);
                    Frame(QRectF(x, y_, cols.widths[c], h));
                    x += cols.widths[c];
                }
            }
            y_ += h;
        }
    }

    void TitleBlock() {
        const QString title = Q(doc_.title);
        const qreal h = TextHeight(title, title_, width_);
        DrawText(title, title_, QPointF(0, y_), width_);
        y_ += h + Mm(2);
        Table facts;
        for (const auto& [label, value] : doc_.facts) facts.AddRow({label, value});
        DrawTable(facts, Widths(facts, false), false);
    }

    // The page header: the file name on the left, the page number on the
    // right, a rule under them.
    void StartPage() {
        ++page_;
        p_ = painter_ && Printed(page_) ? painter_ : nullptr;
        drawn_ = drawn_ || p_;
        const QString number = Q(PageNumberText(doc_, page_, pages_));
        const qreal numberWidth = Advance(number, small_) + Mm(1);
        const qreal h = QFontMetricsF(small_, &device_).height();
        if (p_) {
            p_->setFont(small_);
            p_->setPen(Qt::black);
            const QString name = QFontMetricsF(small_, &device_)
                                     .elidedText(Q(doc_.fileName), Qt::ElideMiddle, width_ - numberWidth - Mm(5));
            p_->drawText(QRectF(0, 0, width_ - numberWidth - Mm(5), h), Qt::AlignLeft | Qt::AlignTop, name);
            p_->drawText(QRectF(width_ - numberWidth, 0, numberWidth, h), Qt::AlignRight | Qt::AlignTop, number);
            p_->setPen(QPen(Qt::black, Mm(0.2)));
            p_->drawLine(QPointF(0, h + Mm(1)), QPointF(width_, h + Mm(1)));
        }
        top_ = h + Mm(4);
        y_ = top_;
    }

    void NewPage() {
        if (painter_ && Printed(page_ + 1) && drawn_) device_.newPage();
        StartPage();
    }

    // The pages the printer dialog's page range names (every page when it
    // names none).
    bool Printed(int page) const {
        const QPageRanges ranges = device_.pageRanges();
        return ranges.isEmpty() || ranges.contains(page);
    }

    const Document& doc_;
    QPagedPaintDevice& device_;
    QPainter* painter_;
    QPainter* p_ = nullptr;  // the painter while on a page that is printed
    bool drawn_ = false;     // a page has been painted
    int pages_;
    QFont body_, bold_, small_, heading_, title_;
    qreal pointSize_ = 8.5;
    qreal dpi_ = 72, width_ = 0, height_ = 0, pad_ = 0, top_ = 0, y_ = 0;
    int page_ = 0;
    bool framed_ = true;
};

}  // namespace

int CountPages(const Document& doc, QPagedPaintDevice& device, const PageStyle& style) {
    return PageWriter(doc, device, style, nullptr, 0).Run();
}

int PaintDocument(const Document& doc, QPagedPaintDevice& device, const PageStyle& style) {
    const int pages = CountPages(doc, device, style);
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const int painted = PageWriter(doc, device, style, &painter, pages).Run();
    painter.end();
    return painted;
}

bool MakePdf(const Document& doc, const PdfOptions& options, std::string& bytes, int* pages) {
    // A PDF needs fonts, and fonts need a Qt application; a program without
    // one (the CLI) gets one on the offscreen platform for the while, whose
    // notes about the missing desktop are of no interest there.
    std::optional<QGuiApplication> offscreen;
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        static int argc = 1;
        static char name[] = "vrm650t-cli";
        static char* argv[] = {name, nullptr};
        offscreen.emplace(argc, argv);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("VRM-650T"));
        writer.setTitle(Q(doc.title + (doc.fileName.empty() ? "" : " - " + doc.fileName)));
        writer.setPageLayout(QPageLayout(QPageSize(options.letter ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
        PageStyle style;
        style.family = Q(options.fontFamily);
        const int n = PaintDocument(doc, writer, style);
        if (n == 0) return false;
        if (pages) *pages = n;
    }
    bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
    return true;
}

}  // namespace vrm::print
