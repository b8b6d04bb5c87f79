#include "gui/app/custom_file_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QTreeView>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <utility>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/files/data_file.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// The detail list of the framework's file dialog gives the name the room and
// sizes the other columns to their contents.
void WidenFileList(QFileDialog& dialog) {
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

// The framework's file dialog, put right for the keyboard and screen
// readers: its folder and file-type lists are named by the labels beside
// them, and the focus shows on every list.
void SetUpKeyboard(QFileDialog& dialog) {
    const auto find = [&dialog](const char* name) { return dialog.findChild<QWidget*>(QLatin1String(name)); };
    for (const auto& [labelName, fieldName] : {std::pair{"lookInLabel", "lookInCombo"},
                                               std::pair{"fileTypeLabel", "fileTypeCombo"}}) {
        auto* label = qobject_cast<QLabel*>(find(labelName));
        if (QWidget* field = find(fieldName); label && field) label->setBuddy(field);
    }
    // Its places and file lists show the focus with a frame in the desktop's
    // highlight colour: the places list marks no entry when Tab enters it,
    // and an empty folder has none to mark.
    for (const char* list : {"sidebar", "treeView", "listView"}) {
        if (QWidget* view = find(list))
            view->setStyleSheet(QStringLiteral("QAbstractItemView:focus { border: 2px solid palette(highlight); }"));
    }
}

}  // namespace

QString PreviewText(const std::string& line) {
    // One byte a character in ISO 8859-1, as the message editor reads it.
    QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) c = QLatin1Char(' ');
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    return text;
}

CCustomFileDlg::CCustomFileDlg(const LanguageTable& language, const FileDialogRequest& request, QWidget* parent)
    : QFileDialog(parent) {
    setObjectName(QStringLiteral("CCustomFileDlg"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilter(QString::fromStdString(request.filterText));
    setDirectory(QString::fromStdString(request.folder));
    setWindowTitle(request.title.empty() ? WithoutMnemonic(LangText(language, tid::kCmdOpen))
                                         : QString::fromStdString(request.title));

    protectedText_ = LangText(language, tid::kPreviewProtected);
    auto* box = new QGroupBox(WithoutMnemonic(LangText(language, tid::kEditorEmbeddedMessage)), this);
    box->setObjectName(QStringLiteral("Preview"));
    line1_ = new QLabel(box);
    line1_->setObjectName(QStringLiteral("PreviewLine1"));
    line2_ = new QLabel(box);
    for (QLabel* l : {line1_, line2_}) {
        l->setTextFormat(Qt::PlainText);
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 32);
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    auto* form = new QFormLayout(box);
    form->addRow(LangText(language, tid::kOpenPreviewLine1), line1_);
    form->addRow(LangText(language, tid::kOpenPreviewLine2), line2_);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(box, grid->rowCount(), 0, 1, -1);

    FitToScreen(*this, QSize(880, 540));
    WidenFileList(*this);
    SetUpKeyboard(*this);
    connect(this, &QFileDialog::currentChanged, this, &CCustomFileDlg::ShowPreview);
    // A name typed or set into the file name box previews too.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (text.isEmpty() || text.contains(QLatin1Char('"'))) return;
            ShowPreview(QFileInfo(text).isAbsolute() ? text : directory().filePath(text));
        });
    }
}

void CCustomFileDlg::ShowPreview(const QString& path) {
    const DataFilePreview preview = DataFile::Preview(path.toStdString());
    if (preview.code != kDataFileOk) {
        line1_->clear();
        line2_->clear();
        return;
    }
    line1_->setText(preview.protectedFile ? protectedText_ : PreviewText(preview.line1));
    line2_->setText(PreviewText(preview.line2));
    // The note on a protected file is the program's, not the file's message.
    QFont font = line1_->font();
    font.setItalic(preview.protectedFile);
    line1_->setFont(font);
}

QString CCustomFileDlg::PreviewLine1() const { return line1_->text(); }
QString CCustomFileDlg::PreviewLine2() const { return line2_->text(); }

std::optional<std::string> QtFileDialogs::AskOpenFile(const FileDialogRequest& request) {
    CCustomFileDlg dialog(language_, request, parent_ ? parent_() : nullptr);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtFileDialogs::AskSaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_ ? parent_() : nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The document asks about overwriting itself, in the program's words and
    // for the name it will really write.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromStdString(request.filterText));
    dialog.setDirectory(QString::fromStdString(request.folder));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.selectFile(QString::fromStdString(request.fileName));
    dialog.setWindowTitle(request.title.empty() ? WithoutMnemonic(LangText(language_, tid::kCmdSaveAs))
                                                : QString::fromStdString(request.title));
    FitToScreen(dialog, QSize(880, 540));
    WidenFileList(dialog);
    SetUpKeyboard(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace vrm
