// The program's file dialogs: CCustomFileDlg opens a data file and shows the
// two embedded message lines of the selected file in its preview area;
// QtFileDialogs is the desktop program's FileDialogs.
#pragma once

#include <QFileDialog>

#include "core/document/file_dialogs.h"

class QLabel;

namespace vrm {

class LanguageTable;

class CCustomFileDlg final : public QFileDialog {
    Q_OBJECT
public:
    CCustomFileDlg(const LanguageTable& language, const FileDialogRequest& request, QWidget* parent);

    // Shows the preview of `path` (empty lines when it is not a valid data
    // file).
    void ShowPreview(const QString& path);
    QString PreviewLine1() const;
    QString PreviewLine2() const;

private:
    QLabel* line1_ = nullptr;
    QLabel* line2_ = nullptr;
    QString protectedText_;  // shown in place of a protected file's lines
};

class QtFileDialogs final : public FileDialogs {
public:
    QtFileDialogs(const LanguageTable& language, std::function<QWidget*()> parent)
        : language_(language), parent_(std::move(parent)) {}

    std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override;

private:
    const LanguageTable& language_;
    std::function<QWidget*()> parent_;
};

// An embedded message line as the preview shows it: the stored bytes read as
// ISO 8859-1, control characters (C0, DEL, C1) become blanks, trailing blanks
// go.
QString PreviewText(const std::string& line);

}  // namespace vrm
