// The focus always shows: Tab goes round every editor window and the shell's
// dialogs offscreen, and each control that takes the keyboard is seen to
// hold it: it lies in view (a scrolling form brings it in), and it is drawn
// otherwise with the focus than once the focus has left it.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "gui/app/custom_file_dialog.h"
#include "gui_app.h"

using namespace vrm;

namespace {

QString Describe(const QWidget* w) {
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), w->accessibleName());
}

// `w` is shown and lies in every scrolling area around it: wholly where it
// fits, in part where it is larger than the area.
void CheckInView(QWidget* w, const QString& where) {
    QVERIFY2(w->isVisible() && !w->size().isEmpty(), qPrintable(where + ": focus on a hidden control " + Describe(w)));
    QVERIFY2(!w->visibleRegion().isEmpty(), qPrintable(where + ": focus on a covered control " + Describe(w)));
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(p);
        if (!area || !area->viewport()->isAncestorOf(w)) continue;
        const QRect port = area->viewport()->rect();
        const QRect r(w->mapTo(area->viewport(), QPoint(0, 0)), w->size());
        const bool fits = r.width() <= port.width() && r.height() <= port.height();
        QVERIFY2(fits ? port.contains(r) : port.intersects(r),
                 qPrintable(where + ": focus out of the scrolled view on " + Describe(w)));
    }
}

QImage Look(QWidget* w) { return w->grab().toImage(); }

// How `w` looks without the focus: a dialog's default button wears the same
// frame as the focus while it is the default, so it is seen plain.
QImage PlainLook(QWidget* w) {
    auto* button = qobject_cast<QPushButton*>(w);
    if (!button || !button->isDefault()) return Look(w);
    button->setDefault(false);
    const QImage plain = Look(w);
    button->setDefault(true);
    return plain;
}

int TabStops(const QWidget* window) {
    int stops = 0;
    for (const QWidget* w : window->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && !w->focusProxy()) ++stops;
    return stops;
}

// Tabs round `window` from where its focus is until the focus comes back,
// checking each control on the way; `stops` counts them. Tab may move on
// inside a control a few times (a list's entries), not endlessly.
void TabRound(QWidget* window, const QString& where, int& stops) {
    stops = 0;
    QTRY_VERIFY2(window->isAncestorOf(QApplication::focusWidget()), qPrintable(where + ": nothing has the focus"));
    // The first Tab tells the window the keyboard moves the focus (focus
    // frames are for keyboard users); the round starts after it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* first = QApplication::focusWidget();
    QWidget* w = first;
    int inside = 0;
    for (int step = 0; step < 200; ++step) {
        QVERIFY2(w && window->isAncestorOf(w), qPrintable(where + ": Tab left the window"));
        CheckInView(w, where);
        if (QTest::currentTestFailed()) return;
        const QImage focused = Look(w);
        QTest::keyClick(w, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        if (next == w) {
            // A window with one control (a box's one button) holds the
            // focus there always.
            if (TabStops(window) == 1) {
                stops = 1;
                return;
            }
            QVERIFY2(++inside < 20, qPrintable(where + ": Tab keeps going round inside " + Describe(w)));
            continue;
        }
        inside = 0;
        ++stops;
        QVERIFY2(PlainLook(w) != focused, qPrintable(where + ": the focus does not show on " + Describe(w)));
        if (next == first) {
            qInfo("%s: Tab goes round %d controls", qPrintable(where), stops);
            return;
        }
        w = next;
    }
    QFAIL(qPrintable(where + ": Tab never comes back round"));
}

}  // namespace

class FocusVisibleTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

    // Runs `command` and tabs round the dialog it opens, then closes it.
    void RoundDialog(int command, const QString& where) {
        QVERIFY2(frame_->IsCommandEnabled(command), qPrintable(where));
        int stops = -1;
        test::WhenModal<QDialog>([&](QDialog* d) {
            d->activateWindow();
            if (QTest::qWaitForWindowActive(d)) TabRound(d, where, stops);
            d->reject();
        });
        frame_->RunCommand(command);
        QVERIFY2(stops > 0, qPrintable(where + QStringLiteral(": %1 stops").arg(stops)));
    }

    void RoundEditors(const QString& model) {
        for (int command : {cmd::kChannelInformation, cmd::kOptionalFeatures, cmd::kKeyAssignment,
                            cmd::kScanInformation, cmd::kTestFrequency, cmd::kEmbeddedMessage,
                            cmd::kQtDqtCustomization, cmd::kAdvancedSettings}) {
            if (!frame_->IsCommandEnabled(command)) continue;
            frame_->RunCommand(command);
            QMdiArea* mdi = frame_->MdiArea();
            QTRY_VERIFY(mdi->activeSubWindow());
            QMdiSubWindow* sub = mdi->activeSubWindow();
            const QString where = model + ", " + sub->windowTitle();
            QTest::qWait(20);  // the window settles
            auto* tabs = sub->findChild<QTabWidget*>();
            for (int page = 0; page < (tabs ? tabs->count() : 1); ++page) {
                if (tabs) {
                    tabs->setCurrentIndex(page);
                    tabs->tabBar()->setFocus(Qt::TabFocusReason);
                } else if (!sub->isAncestorOf(QApplication::focusWidget())) {
                    sub->widget()->setFocus(Qt::TabFocusReason);
                    if (!sub->isAncestorOf(QApplication::focusWidget())) QTest::keyClick(sub->widget(), Qt::Key_Tab);
                }
                int stops = 0;
                TabRound(sub, where + QStringLiteral(", page %1").arg(page + 1), stops);
                if (QTest::currentTestFailed()) return;
            }
            mdi->closeAllSubWindows();  // the key picture too
            QTRY_VERIFY(mdi->subWindowList().isEmpty());
        }
    }

private slots:
    void cleanup() { Stop(); }

    void everyEditorWindowShowsItsFocus() {
        for (const auto& [model, band] : {std::pair{1, 0x0100}, std::pair{2, 0x0100}, std::pair{3, 0x0105}}) {
            Start(model, static_cast<std::uint16_t>(band));
            frame_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
            RoundEditors(QStringLiteral("model %1").arg(model));
            if (QTest::currentTestFailed()) return;
        }
    }

    void everyShellDialogShowsItsFocus() {
        Start(3, 0x0105);
        for (const auto& [command, name] :
             {std::pair{cmd::kModelInformation, "Model Information"}, std::pair{cmd::kLanguageFileSetup, "Language"},
              std::pair{cmd::kProgrammingOptions, "Programming Options"},
              std::pair{cmd::kSecuritySettings, "Security Settings"}, std::pair{cmd::kAbout, "About"},
              std::pair{cmd::kPrintPreview, "Print lists"}, std::pair{cmd::kMemoryMap, "Memory Map"}})
            RoundDialog(command, QString::fromLatin1(name));
    }

    void theFileDialogsShowTheirFocus() {
        Start(3, 0x0105);
        FileDialogRequest request;
        request.folder = temp_.path().toStdString();
        request.filterText = "Data (*.dat)";
        CCustomFileDlg open(app_->Language(), request, frame_.get());
        open.show();
        open.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&open));
        int stops = 0;
        TabRound(&open, QStringLiteral("Open"), stops);
        QVERIFY(stops > 4);
        open.reject();

        test::WhenModal<QFileDialog>([&](QFileDialog* d) {
            d->activateWindow();
            if (QTest::qWaitForWindowActive(d)) TabRound(d, QStringLiteral("Save As"), stops);
            d->reject();
        });
        stops = 0;
        QtFileDialogs dialogs(app_->Language(), [this] { return frame_.get(); });
        QVERIFY(!dialogs.AskSaveFile(request));
        QVERIFY(stops > 4);
    }
};

QTEST_MAIN(FocusVisibleTest)
#include "focus_visible_test.moc"
