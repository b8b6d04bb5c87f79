#include "gui/app/about_dialog.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/icons.h"

namespace vrm {

AboutDialog::AboutDialog(const LanguageTable& language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(WithoutMnemonic(LangText(language, tid::kAboutTitle)));

    auto* icon = new QLabel(this);
    icon->setPixmap(icons::Program().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* texts = new QVBoxLayout;
    auto addLine = [&](tid::TextId id) {
        auto* label = new QLabel(LangText(language, id), this);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setObjectName(QStringLiteral("text%1").arg(id));
        texts->addWidget(label);
        lines_.push_back(label);
        return label;
    };
    addLine(tid::kAboutLine1);
    addLine(tid::kAboutLine2);
    addLine(tid::kAboutLine3);
    addLine(tid::kAboutLine4);
    // The notice line is not used: the lines below it move up into its place.
    auto* notice = new QLabel(this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->hide();
    texts->addWidget(notice);
    addLine(tid::kAboutLine5);  // the licence: GPL-3.0-or-later
    QLabel* warranty = addLine(tid::kAboutNoWarranty);
    addLine(tid::kAboutLine6);
    addLine(tid::kAboutLine7);
    // The warranty notice is a sentence or two: it wraps within the width of
    // the other lines rather than widening the box.
    int width = 0;
    for (const QLabel* l : lines_)
        if (l != warranty) width = std::max(width, l->sizeHint().width());
    warranty->setWordWrap(true);
    warranty->setFixedWidth(width);

    auto* ok = new QPushButton(LangText(language, tid::kButtonOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList AboutDialog::Lines() const {
    QStringList out;
    for (const QLabel* l : lines_) out << l->text();
    return out;
}

}  // namespace vrm
