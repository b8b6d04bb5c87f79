// The shell's dialogs driven offscreen: the password prompt, the Open
// dialog's preview, the About box and the message boxes.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/app/about_dialog.h"
#include "gui/app/custom_file_dialog.h"
#include "core/document/document.h"
#include "core/base/language_table.h"
#include "gui/widgets/password_dialog.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "gui/widgets/qt_prompter.h"

using namespace vrm;

class ShellDialogsTest : public QObject {
    Q_OBJECT

private:
    LanguageTable language_;

    QString T(tid::TextId id) const { return QString::fromUtf8(language_.Text(id)); }

private slots:
    void initTestCase() {
        language_.SetProgramFolder(VRM_BIN_DIR "/");
        QVERIFY(language_.Load("vrm650t_en.lng", false, nullptr));
    }

    void passwordPromptThreeWrongEntriesRefuse() {
        PasswordGate gate("123456", T(10007027).toStdString(), "VRM-650T");
        test::ScriptedPrompter messages;
        PasswordDialog dialog(language_, gate, messages, nullptr);
        QCOMPARE(dialog.windowTitle(), T(10603001));
        QCOMPARE(dialog.Edit()->maxLength(), 6);
        QCOMPARE(dialog.Edit()->echoMode(), QLineEdit::Password);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        for (int attempt = 1; attempt <= 2; ++attempt) {
            QTest::keyClicks(dialog.Edit(), QStringLiteral("99999%1").arg(attempt));
            dialog.OkButton()->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(messages.asked.size(), static_cast<std::size_t>(attempt));
            QCOMPARE(messages.asked.back().textId, 10007027);
            QVERIFY(dialog.Edit()->text().isEmpty());
        }
        QTest::keyClicks(dialog.Edit(), QStringLiteral("000000"));
        dialog.OkButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Result(), PasswordResult::Refused);
        QCOMPARE(messages.asked.size(), std::size_t{2});
        // Never more than six characters.
        QTest::keyClicks(dialog.Edit(), QStringLiteral("12345678"));
        QCOMPARE(dialog.Edit()->text().size(), 6);
    }

    void passwordPromptRightEntryCancelAndEnter() {
        PasswordGate gate("123456", "wrong", "VRM-650T");
        test::ScriptedPrompter messages;
        {
            PasswordDialog dialog(language_, gate, messages, nullptr);
            dialog.open();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.activateWindow();
            dialog.Edit()->setFocus();
            // Enter in the field submits the entry: a wrong one is told and
            // asked again, the right one opens.
            QTest::keyClicks(dialog.Edit(), QStringLiteral("12"));
            QTest::keyClick(dialog.Edit(), Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            QCOMPARE(gate.Attempts(), 1);
            QCOMPARE(messages.asked.size(), std::size_t{1});
            QTest::keyClicks(dialog.Edit(), QStringLiteral("123456"));
            QTest::keyClick(dialog.Edit(), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.Result(), PasswordResult::Accepted);
            messages.asked.clear();
        }
        {
            PasswordDialog dialog(language_, gate, messages, nullptr);
            dialog.open();
            QTest::keyClicks(dialog.Edit(), QStringLiteral("1"));
            dialog.reject();  // Cancel, Escape or the close box
            QCOMPARE(dialog.Result(), PasswordResult::Cancelled);
        }
        QVERIFY(messages.asked.empty());
    }

    void openDialogPreviewsTheEmbeddedMessage() {
        QTemporaryDir folder;
        RadioImage image;
        ModelCatalogue catalogue(image);
        image.InitialiseDefaults(catalogue, true);
        const char line1[] = "FLEET 7 / NIGHT SHIFT";
        const char line2[] = "Call S\xFC" "d on ch 3";  // one byte a character in ISO 8859-1
        for (std::size_t i = 0; i < sizeof line1 - 1; ++i) image.SetByte(kEmbeddedMessageArea.offset + i, static_cast<std::uint8_t>(line1[i]));
        for (std::size_t i = 0; i < sizeof line2 - 1; ++i) image.SetByte(kEmbeddedMessageArea.offset + 32 + i, static_cast<std::uint8_t>(line2[i]));
        VirtualClock clock({5, 6});
        DataFile file(image, catalogue);
        const QString good = folder.filePath(QStringLiteral("fleet7.dat"));
        QCOMPARE(file.Write(good.toStdString(), {}, clock).code, static_cast<int>(kDataFileOk));
        const QString junk = folder.filePath(QStringLiteral("notes.dat"));
        {
            QFile f(junk);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a data file");
        }

        FileDialogRequest request;
        request.filterText = "VRM-650T Data Files (*.dat)";
        request.pattern = "*.dat";
        request.folder = folder.path().toStdString();
        CCustomFileDlg dialog(language_, request, nullptr);
        dialog.ShowPreview(good);
        QCOMPARE(dialog.PreviewLine1(), QString::fromLatin1(line1));
        QCOMPARE(dialog.PreviewLine2(), QString::fromUtf8("Call Süd on ch 3"));
        dialog.ShowPreview(junk);
        QVERIFY(dialog.PreviewLine1().isEmpty());
        QVERIFY(dialog.PreviewLine2().isEmpty());
        // A protected file shows nothing of its data before its password.
        const QString locked = folder.filePath(QStringLiteral("locked.dat"));
        QCOMPARE(file.Write(locked.toStdString(), {"4711", true}, clock).code, static_cast<int>(kDataFileOk));
        dialog.ShowPreview(locked);
        QCOMPARE(dialog.PreviewLine1(), T(tid::kPreviewProtected));
        QVERIFY(dialog.PreviewLine2().isEmpty());
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("PreviewLine1"))->font().italic());
        dialog.ShowPreview(good);
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("PreviewLine1"))->font().italic());

        // Selecting the file in the dialog shows its preview.
        dialog.show();
        dialog.selectFile(good);
        QTRY_COMPARE(dialog.PreviewLine1(), QString::fromLatin1(line1));
        QCOMPARE(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());

        // Control bytes (C0, DEL, C1) and trailing blanks are not shown.
        QCOMPARE(PreviewText(std::string("AB\x01" "C\x7F\x9B" "D\xFF  ", 10)), QString::fromUtf8("AB C  Dÿ"));
    }

    void saveDialogHandsTheTypedNameToTheExtensionRule() {
        QTemporaryDir folder;
        QtFileDialogs dialogs(language_, [] { return nullptr; });
        FileDialogRequest request;
        request.filterText = "VRM-650T Data Files (*.dat)";
        request.pattern = "*.dat";
        request.folder = folder.path().toStdString();
        request.fileName = "vrm650t.dat";
        request.defaultExtension = "dat";
        auto typeAndAccept = [](const QString& name) {
            QTimer::singleShot(0, [name] {
                QTRY_VERIFY(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()));
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(edit);
                QCOMPARE(edit->text(), QStringLiteral("vrm650t.dat"));  // the proposed name
                edit->setText(name);
                static_cast<QDialog*>(dialog)->accept();
            });
        };
        const QString base = QDir(folder.path()).absolutePath() + QLatin1Char('/');
        const std::pair<QString, QString> cases[] = {
            {QStringLiteral("radio."), QStringLiteral("radio.dat")},
            {QStringLiteral("radio.txt"), QStringLiteral("radio.txt.dat")},
            {QStringLiteral("radio"), QStringLiteral("radio.dat")},
        };
        for (const auto& [typed, written] : cases) {
            typeAndAccept(typed);
            const std::optional<std::string> chosen = dialogs.AskSaveFile(request);
            QVERIFY(chosen);
            QCOMPARE(QString::fromStdString(CZVQDoc::WithDataExtension(*chosen)), base + written);
        }
        // An existing file is not asked about by the dialog: the document asks.
        QFile existing(base + QStringLiteral("fleet.dat"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        typeAndAccept(QStringLiteral("fleet.dat"));
        QCOMPARE(dialogs.AskSaveFile(request), std::optional<std::string>((base + QStringLiteral("fleet.dat")).toStdString()));
    }

    void aboutBoxShowsItsTextsInOrderWithoutTheNotice() {
        AboutDialog about(language_, nullptr);
        QCOMPARE(about.windowTitle(), T(10001008));
        QCOMPARE(about.Lines(), (QStringList{T(10001001), T(10001015), T(10001003), T(10001004), T(10001005),
                                             T(19124004), T(10001006), T(10001007)}));
        // It names the licence the program comes under.
        QVERIFY(T(10001005).contains(QStringLiteral("GNU General Public License, version 3 or later")));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* notice = about.findChild<QLabel*>(QStringLiteral("notice"));
        QVERIFY(notice && !notice->isVisible());
        // The line after the hidden notice sits right below the line before it.
        auto* above = about.findChild<QLabel*>(QStringLiteral("text10001004"));
        auto* below = about.findChild<QLabel*>(QStringLiteral("text10001005"));
        QVERIFY(below->y() - above->y() < above->height() * 2 + 12);
    }

    void messageBoxesUseTheLanguagesButtons() {
        QtPrompter prompter(language_, [] { return nullptr; });
        Message m;
        m.kind = MessageKind::Warning;
        m.buttons = Buttons::YesNoCancel;
        m.defaultAnswer = Answer::Yes;
        m.caption = "VRM-650T";
        m.text = "Save?";
        QStringList seen;
        QString defaultText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons()) seen << b->text();
            defaultText = box->defaultButton()->text();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->windowTitle(), QStringLiteral("VRM-650T"));
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == T(19104002)) b->click();
            }
        });
        QCOMPARE(prompter.Ask(m), Answer::No);
        QVERIFY(seen.contains(T(19104001)));
        QVERIFY(seen.contains(T(19104002)));
        QVERIFY(seen.contains(T(10002002)));
        QCOMPARE(defaultText, T(19104001));

        m.buttons = Buttons::OkCancel;
        m.defaultAnswer = Answer::Cancel;
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(prompter.Ask(m), Answer::Cancel);
    }
};

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
