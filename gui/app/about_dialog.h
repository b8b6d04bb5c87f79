// The About box.
#pragma once

#include <QDialog>

class QLabel;

namespace vrm {

class LanguageTable;

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const LanguageTable& language, QWidget* parent);

    // The texts in the order they stand, top to bottom (for tests).
    QStringList Lines() const;

private:
    QList<QLabel*> lines_;
};

}  // namespace vrm
