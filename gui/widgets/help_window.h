// The help window: shows a help page (HTML beside the program) scrolled to
// the anchor of a context number. One window serves every help request; it
// follows the user's language for its own captions.
#pragma once

#include <QFont>
#include <QPointer>
#include <optional>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace vrm {

class LanguageTable;

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const LanguageTable& language, QWidget* parent = nullptr);

    // Shows `path` at `anchor` ("" for the top). False when the file cannot
    // be read.
    bool ShowPage(const QString& path, const QString& anchor);
    void ApplyLanguage();

    QTextBrowser* Browser() const { return browser_; }
    QString CurrentPath() const { return path_; }
    QString CurrentAnchor() const { return anchor_; }

private:
    const LanguageTable& language_;
    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* contents_ = nullptr;
    QString path_;
    QString anchor_;
};

// Opens help pages in the help window and closes it when asked.
class HelpViewer final : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(const LanguageTable& language, QObject* parent = nullptr);
    ~HelpViewer() override;

    // Opens `path` at the anchor of `context`. An empty path is no help.
    bool Open(const QString& path, std::uint32_t context);
    void CloseAll();
    // Font for the page and captions.
    void SetFont(const QFont& font);
    void ApplyLanguage();

    HelpWindow* Window() const { return window_; }

private:
    const LanguageTable& language_;
    QPointer<HelpWindow> window_;
    std::optional<QFont> font_;
};

}  // namespace vrm
