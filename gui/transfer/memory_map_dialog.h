// Memory Map (resource 146): a hexadecimal view of a memory range, 16 bytes
// a row. Rows are headed by the row's address / 16, columns by the byte's
// position; the character view adds the 16 bytes of each row as characters
// and widens the window to hold them.
//
// The viewer is attached to two buffers of the same size: the bytes it shows
// and the bytes they are compared with. A byte that differs from its
// reference (in the program: a byte changed since the data was last saved,
// opened or read) is shown in bold.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <cstdint>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace vrm {

class LanguageTable;

class MemoryMapDialog final : public QDialog {
    Q_OBJECT
public:
    MemoryMapDialog(const LanguageTable& language, QWidget* parent);

    // The range shown: `size` bytes of `bytes` (a multiple of 16), whose first
    // byte has the address `start`; `reference` (null: none) holds `size`
    // bytes to compare with. The buffers must outlive the dialog.
    void Attach(const std::uint8_t* bytes, const std::uint8_t* reference, std::size_t start, std::size_t size);
    // A window text of the caller's own instead of "Memory Map".
    void SetCaption(const QString& caption);
    // Selects the row and column of `address` (within the range) and shows it.
    void OpenAt(std::size_t address);
    // Reloads the cells from the buffers.
    void Reload();

    QTableWidget* Grid() const { return grid_; }
    QCheckBox* CharacterBox() const { return characters_; }
    QPushButton* CloseButton() const { return close_; }
    bool CharacterView() const;

private:
    void SetCharacterView(bool on);
    int ByteColumnsWidth() const;
    int CharacterColumnsWidth() const;

    const LanguageTable& language_;
    QTableWidget* grid_ = nullptr;
    QCheckBox* characters_ = nullptr;
    QPushButton* close_ = nullptr;
    const std::uint8_t* data_ = nullptr;
    const std::uint8_t* reference_ = nullptr;
    std::size_t start_ = 0;
    std::size_t size_ = 0;
};

}  // namespace vrm
