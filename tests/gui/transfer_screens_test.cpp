// Renders the transfer dialogs in English and German against the simulated
// radio (the read dialog while it reads, the write dialog in Continuous mode,
// Radio Information, the Memory Map with its character view) and checks that
// no caption is cut off, no text is missing and each window text fits its
// title bar. With VRM_SCREENSHOT_DIR set, the pictures are kept there as PNG
// files, each under a drawn title bar that shows the window text (the
// manual's in docs/ come from here).
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cstdlib>

#include "core/document/application.h"
#include "gui/app/main_frame.h"
#include "gui_app.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "core/base/clock.h"
#include "gui/transfer/memory_map_dialog.h"
#include "gui/transfer/radio_info_dialog.h"
#include "gui/transfer/read_dialog.h"
#include "core/link/safe_write.h"
#include "gui/transfer/write_dialog.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "sim/sim_state.h"
#include "gui/widgets/ui_fonts.h"

using namespace vrm;

class TransferScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{9, 15}};

    // The window with a title bar drawn over it, as a window manager shows it.
    QImage WithTitleBar(QWidget* w) {
        const QImage body = w->grab().toImage();
        QFont titleFont = w->font();
        titleFont.setBold(true);
        const int barHeight = QFontMetrics(titleFont).height() + 12;
        QImage shot(body.width() + 2, body.height() + barHeight + 1, QImage::Format_RGB32);
        shot.fill(QColor(0x3C, 0x50, 0x6E));
        QPainter p(&shot);
        p.setFont(titleFont);
        p.setPen(Qt::white);
        p.drawText(QRect(10, 0, body.width() - 60, barHeight), Qt::AlignVCenter | Qt::AlignLeft, w->windowTitle());
        // The close box, greyed while the window cannot be closed.
        const bool closable = w->windowFlags() & Qt::WindowCloseButtonHint;
        p.setPen(QPen(closable ? Qt::white : QColor(0x80, 0x8C, 0xA0), 2));
        const QRect box(body.width() - 24, barHeight / 2 - 6, 12, 12);
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
        p.drawImage(1, barHeight, body);
        p.end();
        return shot;
    }

    void Save(QWidget* w, const QString& name) {
        const QImage image = WithTitleBar(w);
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QDir(outDir_).filePath(name + QStringLiteral(".png"))));
    }

    // Every caption in `w` is shown whole and none is empty; the window text
    // fits the width of the window beside a title bar's buttons.
    void CheckTexts(QWidget* w, const QString& where) {
        QVERIFY2(!w->windowTitle().isEmpty(), qPrintable(where + ": no window title"));
        test::CheckFitsScreen(w, where);
        QFont titleFont = w->font();
        titleFont.setBold(true);
        QVERIFY2(QFontMetrics(titleFont).horizontalAdvance(w->windowTitle()) + 80 <= w->width(),
                 qPrintable(where + ": title does not fit: " + w->windowTitle()));
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (!l->isVisible()) continue;
            QVERIFY2(l->width() >= l->minimumSizeHint().width() - 1, qPrintable(where + ": label cut off: " + l->text()));
        }
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!b->isVisible() || qobject_cast<QAbstractItemView*>(b->parentWidget())) continue;  // a grid's corner
            QVERIFY2(!b->text().isEmpty(), qPrintable(where + ": button without text"));
            QVERIFY2(b->width() >= b->sizeHint().width() - 1, qPrintable(where + ": button cut off: " + b->text()));
        }
    }

    void SetRadio(const std::string& state, const SimulatedRadio& radio) {
        std::string error;
        QVERIFY2(SaveSimState(state, radio, &error), error.c_str());
    }

    void Shoot(const QString& lang) {
        const std::string state = temp_.filePath(QStringLiteral("radio-%1.state").arg(lang)).toStdString();
        ::setenv("VRM650T_SIM_STATE", state.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        QApplication::setFont(UiFonts::FromSettings(app.Language().Settings()).dialog);
        const TransferDialogContext context{app.Transfers(), app.Image(), app.Language(), prompter};
        const char message[] = "NORTH DEPOT - FLEET 12";
        for (std::size_t i = 0; i < sizeof message - 1; ++i)
            app.Image().SetByte(kEmbeddedMessageArea.offset + i, static_cast<std::uint8_t>(message[i]));
        app.Image().TakeSnapshot();
        app.Image().SetByte(kEmbeddedMessageArea.offset + 32, 'C');  // an unsaved edit: shown bold

        SimulatedRadio radio;
        radio.Memory() = app.Image().Live();
        radio.SetIdentity(app.Image().Identity());
        radio.SetSerialNumber("A2600417");
        SetRadio(state, radio);

        {
            // Slow as a real radio, so that the dialog is seen while it reads.
            ::setenv("VRM650T_SIM_BAUD", "9600", 1);
            ReadDialog dialog(context, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            CheckTexts(&dialog, "read " + lang);
            bool shot = false;
            QTimer watch;
            connect(&watch, &QTimer::timeout, this, [&] {
                if (shot || dialog.Progress()->value() < 24) return;
                shot = true;
                QVERIFY(dialog.Running());
                CheckTexts(&dialog, "read running " + lang);
                QCOMPARE(dialog.Caption()->text(),
                         QString::fromUtf8(app.Language().Text(10401004)) +
                             QStringLiteral(" %1 / 64").arg(dialog.Progress()->value()));
                Save(&dialog, "read-dialog-" + lang);
            });
            watch.start(20);
            dialog.StartButton()->click();
            watch.stop();
            ::unsetenv("VRM650T_SIM_BAUD");
            QVERIFY(shot);
            QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        }
        {
            // A write with backup and verify, seen while it writes: the phase
            // under the bar.
            ::setenv("VRM650T_SIM_BAUD", "9600", 1);
            WriteSettings writeSettings;
            WriteDialog dialog(context, writeSettings, nullptr);
            SafeWriteOptions options;
            options.backupFolder = temp_.filePath(QStringLiteral("backups-%1").arg(lang)).toStdString();
            options.log = false;
            dialog.SetWriteOptions(options);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            bool shot = false;
            QTimer watch;
            connect(&watch, &QTimer::timeout, this, [&] {
                if (shot || dialog.Progress()->value() < 24 ||
                    dialog.Phase()->text() != QString::fromUtf8(app.Language().Text(10402002)))
                    return;
                shot = true;
                CheckTexts(&dialog, "write running " + lang);
                Save(&dialog, "write-dialog-" + lang);
            });
            watch.start(20);
            dialog.StartButton()->click();
            watch.stop();
            ::unsetenv("VRM650T_SIM_BAUD");
            QVERIFY(shot);
            QVERIFY(dialog.LastWrite().Ok());
        }
        {
            WriteSettings writeSettings;
            writeSettings.continuous = true;
            WriteDialog dialog(context, writeSettings, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.StartButton()->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.RadiosWritten(), 1);
            CheckTexts(&dialog, "write continuous " + lang);
            Save(&dialog, "write-dialog-continuous-" + lang);
        }
        {
            RadioInfoDialog dialog(context, false, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTRY_VERIFY(dialog.Transferred());
            QCOMPARE(dialog.SerialNumber()->text(), QStringLiteral("  A2600417"));
            CheckTexts(&dialog, "radio information " + lang);
            Save(&dialog, "radio-information-" + lang);
        }
        {
            MemoryMapDialog dialog(app.Language(), nullptr);
            dialog.Attach(app.Image().Live().data(), app.Image().Saved().data(), 0, kImageSize);
            dialog.CharacterBox()->setChecked(true);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.OpenAt(kEmbeddedMessageArea.offset);
            QTableWidget* grid = dialog.Grid();
            // Every column is in view and every heading whole; on a screen too
            // narrow for them (a 1.5 scale) the grid scrolls across to them.
            const int needed = dialog.width() - grid->viewport()->width() + grid->horizontalHeader()->length();
            const bool narrow = needed + test::kWindowDecoration.width() > dialog.screen()->availableGeometry().width();
            QVERIFY(grid->columnViewportPosition(31) + grid->columnWidth(31) <= grid->viewport()->width() ||
                    (narrow && grid->horizontalScrollBar()->isVisible()));
            const QFontMetrics metrics(grid->horizontalHeader()->font());
            for (int c = 0; c < 32; ++c)
                QVERIFY(metrics.horizontalAdvance(grid->horizontalHeaderItem(c)->text()) <= grid->columnWidth(c));
            QVERIFY(metrics.horizontalAdvance(grid->verticalHeaderItem(0)->text()) <=
                    grid->verticalHeader()->width());
            CheckTexts(&dialog, "memory map " + lang);
            Save(&dialog, "memory-map-" + lang);
        }
    }

private slots:
    void initTestCase() {
        outDir_ = test::ScreenshotFolder(temp_);
    }
    void english() { Shoot(QStringLiteral("en")); }
    void german() { Shoot(QStringLiteral("de")); }
};

int main(int argc, char** argv) {
    vrm::test::RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    TransferScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "transfer_screens_test.moc"
