// Language File Setup: lists the installed languages and lets the user pick
// one; the current language file is preselected.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/base/language_table.h"

class QListWidget;

namespace vrm {

class LanguageDialog final : public QDialog {
    Q_OBJECT
public:
    LanguageDialog(const LanguageTable& language, std::vector<InstalledLanguage> installed,
                 const std::string& currentFile, QWidget* parent);

    // The file chosen on OK when it differs from the preselected entry; ""
    // when nothing changed.
    std::string ChosenFile() const;

    QListWidget* List() const { return list_; }
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

private:
    std::vector<InstalledLanguage> installed_;
    QListWidget* list_ = nullptr;
    int preselected_ = -1;
    std::function<void()> helpHandler_;
};

}  // namespace vrm
