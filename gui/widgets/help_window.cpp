#include "gui/widgets/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/document/command_tables.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

HelpWindow::HelpWindow(const LanguageTable& language, QWidget* parent)
    : QWidget(parent, Qt::Window), language_(language) {
    setObjectName(QStringLiteral("HelpWindow"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);
    back_ = new QToolButton(this);
    forward_ = new QToolButton(this);
    contents_ = new QToolButton(this);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(contents_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents_, &QToolButton::clicked, this, [this] { ShowPage(path_, QString()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    FitToScreen(*this, QSize(720, 640));
    ApplyLanguage();
}

void HelpWindow::ApplyLanguage() {
    setWindowTitle(LangText(language_, tid::kHelpWindowTitle));
    back_->setText(WithoutMnemonic(LangText(language_, tid::kHelpBack)));
    forward_->setText(WithoutMnemonic(LangText(language_, tid::kHelpForward)));
    contents_->setText(WithoutMnemonic(LangText(language_, tid::kHelpContents)));
}

bool HelpWindow::ShowPage(const QString& path, const QString& anchor) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    file.close();
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!anchor.isEmpty()) url.setFragment(anchor);
    path_ = path;
    anchor_ = anchor;
    // The same page with another anchor only scrolls; another page loads.
    browser_->setSource(url);
    if (anchor.isEmpty()) browser_->moveCursor(QTextCursor::Start);
    return true;
}

HelpViewer::HelpViewer(const LanguageTable& language, QObject* parent) : QObject(parent), language_(language) {}

HelpViewer::~HelpViewer() { CloseAll(); }

bool HelpViewer::Open(const QString& path, std::uint32_t context) {
    if (path.isEmpty()) return false;
    if (!window_) {
        window_ = new HelpWindow(language_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        if (font_) window_->setFont(*font_);
    }
    // Help asked for from a modal dialog must be usable while the dialog
    // runs: the window belongs to the dialog until the dialog ends.
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        if (window_->parentWidget() != modal) {
            window_->setParent(modal, Qt::Window);
            connect(modal, &QDialog::finished, window_, [window = window_] {
                if (!window) return;
                const bool visible = window->isVisible();
                window->setParent(nullptr, Qt::Window);
                if (visible) window->show();
            });
        }
    }
    const QString anchor = context == 0 ? QStringLiteral("h0") : QString::fromStdString(HelpAnchor(context));
    if (!window_->ShowPage(path, anchor)) {
        window_->close();
        return false;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void HelpViewer::CloseAll() {
    delete window_.data();
}

void HelpViewer::SetFont(const QFont& font) {
    font_ = font;
    if (window_) window_->setFont(font);
}

void HelpViewer::ApplyLanguage() {
    if (window_) window_->ApplyLanguage();
}

}  // namespace vrm
