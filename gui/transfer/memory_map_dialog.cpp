#include "gui/transfer/memory_map_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QGuiApplication>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/link/radio_info.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

namespace {

constexpr int kVisibleRows = 16;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The window manager's title bar and borders.
constexpr int kTitleBarRoom = 32;
constexpr int kBorderRoom = 8;

}  // namespace

MemoryMapDialog::MemoryMapDialog(const LanguageTable& language, QWidget* parent)
    : QDialog(parent), language_(language) {
    setObjectName(QStringLiteral("MemoryMapDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kMemoryMapTitle)));

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setAccessibleName(windowTitle());
    grid_->setTabKeyNavigation(false);  // Tab goes on to the buttons; the arrow keys go from cell to cell
    grid_->setFont(UiFonts::FromSettings(language.Settings()).fixedPitch);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setFont(grid_->font());
    grid_->verticalHeader()->setFont(grid_->font());
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QFontMetrics metrics(grid_->font());
    grid_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    grid_->setColumnCount(2 * kMemoryMapColumns);
    QStringList headings;
    for (int c = 0; c < kMemoryMapColumns; ++c) headings << Q(MemoryMapColumnHeading(c));
    // The character columns are headed by the byte's position alone.
    for (int c = 0; c < kMemoryMapColumns; ++c) headings << QString::number(c, 16).toUpper();
    grid_->setHorizontalHeaderLabels(headings);
    const int byteWidth = metrics.horizontalAdvance(QStringLiteral("__FF")) + 8;
    const int charWidth = metrics.horizontalAdvance(QStringLiteral("W")) + 10;
    for (int c = 0; c < kMemoryMapColumns; ++c) {
        grid_->setColumnWidth(c, byteWidth);
        grid_->setColumnWidth(kMemoryMapColumns + c, charWidth);
    }

    characters_ = new QCheckBox(LangText(language, tid::kMemoryMapShowCharacters), this);
    characters_->setObjectName(QStringLiteral("characters"));
    close_ = new QPushButton(LangText(language, tid::kButtonClose), this);
    close_->setObjectName(QStringLiteral("close"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(characters_, &QCheckBox::toggled, this, &MemoryMapDialog::SetCharacterView);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(characters_);
    bottom->addStretch(1);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    SetCharacterView(false);
}

void MemoryMapDialog::Attach(const std::uint8_t* bytes, const std::uint8_t* reference, std::size_t start,
                        std::size_t size) {
    data_ = bytes;
    reference_ = reference;
    start_ = start;
    size_ = bytes ? size - size % kMemoryMapColumns : 0;
    const int rows = static_cast<int>(size_ / kMemoryMapColumns);
    grid_->setRowCount(rows);
    QStringList headings;
    for (int r = 0; r < rows; ++r) headings << Q(MemoryMapRowHeading(start_ + static_cast<std::size_t>(r) * kMemoryMapColumns));
    grid_->setVerticalHeaderLabels(headings);
    Reload();
    SetCharacterView(CharacterView());
}

void MemoryMapDialog::Reload() {
    QFont changed = grid_->font();
    changed.setBold(true);
    for (std::size_t i = 0; i < size_; ++i) {
        const int row = static_cast<int>(i / kMemoryMapColumns);
        const int column = static_cast<int>(i % kMemoryMapColumns);
        const std::uint8_t value = data_[i];
        const bool differs = reference_ && reference_[i] != value;
        auto* cell = new QTableWidgetItem(Q(MemoryMapCell(value)));
        auto* character = new QTableWidgetItem(Q(MemoryMapCharacter(value)));
        cell->setTextAlignment(Qt::AlignCenter);
        character->setTextAlignment(Qt::AlignCenter);
        if (differs) {
            cell->setFont(changed);
            character->setFont(changed);
        }
        grid_->setItem(row, column, cell);
        grid_->setItem(row, kMemoryMapColumns + column, character);
    }
    DescribeTableCells(*grid_, language_);
}

void MemoryMapDialog::SetCaption(const QString& caption) {
    if (!caption.isEmpty()) setWindowTitle(caption);
}

void MemoryMapDialog::OpenAt(std::size_t address) {
    if (address < start_ || address >= start_ + size_) return;
    const std::size_t offset = address - start_;
    const int row = static_cast<int>(offset / kMemoryMapColumns);
    const int column = static_cast<int>(offset % kMemoryMapColumns);
    grid_->setCurrentCell(row, column);
    grid_->scrollToItem(grid_->item(row, column), QAbstractItemView::PositionAtTop);
}

bool MemoryMapDialog::CharacterView() const { return characters_->isChecked(); }

int MemoryMapDialog::ByteColumnsWidth() const {
    int width = 0;
    for (int c = 0; c < kMemoryMapColumns; ++c) width += grid_->columnWidth(c);
    return width;
}

int MemoryMapDialog::CharacterColumnsWidth() const {
    int width = 0;
    for (int c = 0; c < kMemoryMapColumns; ++c) width += grid_->columnWidth(kMemoryMapColumns + c);
    return width;
}

void MemoryMapDialog::SetCharacterView(bool on) {
    for (int c = 0; c < kMemoryMapColumns; ++c) grid_->setColumnHidden(kMemoryMapColumns + c, !on);
    // The grid is as wide as its headings and columns; the window widens by
    // the character columns when they are shown.
    const int frame = 2 * grid_->frameWidth();
    const int header = grid_->verticalHeader()->sizeHint().width();
    const int scroll = grid_->verticalScrollBar()->sizeHint().width();
    const int width = frame + header + ByteColumnsWidth() + (on ? CharacterColumnsWidth() : 0) + scroll;
    const int height = frame + grid_->horizontalHeader()->sizeHint().height() +
                       kVisibleRows * grid_->verticalHeader()->defaultSectionSize();
    grid_->setFixedSize(width, height);
    adjustSize();
    // On a screen too low for that (a large scale or font), fewer rows show
    // and the grid scrolls: the window with its title bar stays on the screen.
    // On a screen too small for that (a large scale or font), the grid
    // scrolls across and shows fewer rows: the window with its title bar and
    // borders stays on the screen.
    if (const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QSize room = shown->availableGeometry().size() - QSize(kBorderRoom, kTitleBarRoom);
        const int wide = sizeHint().width() - room.width();
        grid_->setHorizontalScrollBarPolicy(wide > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        if (wide > 0) {
            grid_->setFixedSize(std::max(width - wide, width / 4),
                                height + grid_->horizontalScrollBar()->sizeHint().height());
            adjustSize();
        }
        const int tall = sizeHint().height() - room.height();
        if (tall > 0) {
            grid_->setFixedHeight(std::max(grid_->height() - tall, height / 4));
            adjustSize();
        }
    }
    setFixedSize(sizeHint());
}

}  // namespace vrm
