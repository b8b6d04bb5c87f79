#include "gui/print/print_preview_qt.h"

#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/base/language_table.h"

namespace vrm::print {

PageStyle StyleFor(const LanguageTable& language) {
    PageStyle style;
    style.family = QString::fromStdString(language.Settings().FontName());
    return style;
}

void SetUpPrinter(QPrinter& printer, const Document& doc) {
    const QLocale::Territory t = QLocale::system().territory();
    const bool letter = t == QLocale::UnitedStates || t == QLocale::Canada;
    printer.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
    printer.setDocName(QString::fromStdString(doc.title + (doc.fileName.empty() ? "" : " - " + doc.fileName)));
    printer.setCreator(QStringLiteral("VRM-650T"));
}

PrintOutcome PrintDocument(QWidget* parent, const Document& doc, const PageStyle& style) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, doc);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
    return PaintDocument(doc, printer, style) > 0 ? PrintOutcome::Printed : PrintOutcome::Failed;
}

void PreviewDocument(QWidget* parent, const Document& doc, const PageStyle& style,
                     const std::function<void(QPrintPreviewDialog&)>& started) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, doc);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("printPreview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&doc, &style](QPrinter* p) { PaintDocument(doc, *p, style); });
    if (parent) preview.resize(parent->window()->size() * 0.9);
    if (started) started(preview);
    preview.exec();
}

QPrintPreviewDialog* RunningPreview(QWidget* root) {
    for (QPrintPreviewDialog* p : root->findChildren<QPrintPreviewDialog*>())
        if (p->isVisible()) return p;
    return nullptr;
}

}  // namespace vrm::print
