// The transfer's error message when the cable may not be opened, as the
// program shows it, in English and German: the cause, the one-line fix (here
// the longest one, the command that installs the udev rule) and the pointer
// to the cable doctor, whole and readable. With VRM_SCREENSHOT_DIR set, the
// pictures are kept there.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/document/application.h"
#include "core/document/settings_store.h"
#include "gui_app.h"
#include "core/link/cable_doctor.h"
#include "core/base/clock.h"
#include "core/link/read_transfer.h"
#include "core/base/language_table.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/qt_prompter.h"
#include "gui/widgets/ui_fonts.h"

using namespace vrm;

class CableMessageScreensTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    QString outDir_;
    VirtualClock clock_{{9, 15}};

    void Shoot(const QString& lang) {
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter scripted;
        QVERIFY(test::StartApplication(app, settings, scripted, lang.toStdString(), temp_.path().toStdString()));
        QApplication::setFont(UiFonts::FromSettings(app.Language().Settings()).dialog);

        DoctorSystem system;  // no udev rule anywhere: the fix installs it
        system.programFolder = "/usr/lib/vrm650t/";
        Message m = TransferErrorMessage(app.Language(), tid::kMsgCommunicationError);
        m.text += "\n\n" + LinkTroubleText(LinkError::kNoPermission, system, app.Language());

        QtPrompter prompter(app.Language(), [] { return nullptr; });
        bool seen = false;
        QStringList cutOff;
        bool saved = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            for (QLabel* l : box->findChildren<QLabel*>()) {
                if (!l->isVisible() || l->text().isEmpty()) continue;
                if (l->width() < l->minimumSizeHint().width() - 1) cutOff << l->text();
                if (l->text().contains(QStringLiteral("vrm650t-cli doctor"))) seen = true;
            }
            test::CheckFitsScreen(box, "cable message " + lang);
            saved = box->grab().save(QDir(outDir_).filePath("cable-no-permission-" + lang + ".png"));
            box->buttons().value(0)->click();
        });
        QCOMPARE(prompter.Ask(m), Answer::Ok);
        QVERIFY2(seen, "the message names the doctor");
        QVERIFY2(cutOff.isEmpty(), qPrintable("cut off: " + cutOff.join(QStringLiteral(" | "))));
        QVERIFY(saved);
    }

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void english() { Shoot(QStringLiteral("en")); }
    void german() { Shoot(QStringLiteral("de")); }
};

QTEST_MAIN(CableMessageScreensTest)
#include "cable_message_screens_test.moc"
