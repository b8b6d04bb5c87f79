// The main frame offscreen: menus, tree, title, editors, window placement,
// language change, model dialog, file commands and the close sequence. The
// prompter and the file dialogs answer from scripts.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "core/document/application.h"
#include "core/document/document.h"
#include "gui/app/language_dialog.h"
#include "gui/app/main_frame.h"
#include "gui/app/model_dialog.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/help_window.h"
#include "gui_app.h"

using namespace vrm;
using test::WhenModal;

namespace {

// An editor view that counts what the frame asks of it.
class FakeView final : public EditorView {
public:
    explicit FakeView(const std::string& viewClass) : EditorView(viewClass) {
        resize(300, 200);
        edit = new QLineEdit(this);
        setFocusProxy(edit);
    }
    QLineEdit* edit = nullptr;
    void RefreshFromImage() override { ++refreshes; }
    bool HandleCommand(int command) override {
        commands.push_back(command);
        return true;
    }
    int refreshes = 0;
    std::vector<int> commands;
};

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions()) {
        if (a->menu()) titles << a->text();
    }
    return titles;
}

QList<int> MenuCommands(QMenu* menu) {
    QList<int> commands;
    for (QAction* a : menu->actions()) commands << (a->isSeparator() ? 0 : a->data().toInt());
    return commands;
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Application> app_;
    std::unique_ptr<MemorySettingsStore> settings_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<QTemporaryDir> temp_;
    VirtualClock clock_;

    void Start(std::vector<std::string> args = {}) {
        frame_.reset();
        temp_ = std::make_unique<QTemporaryDir>();
        app_ = std::make_unique<Application>(clock_);
        settings_ = std::make_unique<MemorySettingsStore>();
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        dialogs_ = std::make_unique<test::ScriptedFileDialogs>();
        app_->ReadCommandLine(args);
        app_->SetProgramFolder(VRM_BIN_DIR);
        QVERIFY(app_->LoadLanguageAtStartup(*settings_, *prompter_));
        app_->PrepareData(*settings_, temp_->path().toStdString());
        app_->ReadSecuritySettings(*settings_);
        frame_ = std::make_unique<CMainFrame>(*app_, *prompter_, *dialogs_, *settings_);
        QVERIFY(frame_->Create());
        frame_->RestorePlacement(std::nullopt);
        frame_->OnModelChanged();
    }

    void SetModel(int model, std::uint16_t word) {
        RadioImage& image = app_->Image();
        image.Clear();
        app_->Catalogue().SetModel(model);
        app_->Catalogue().SetBandWord(word);
        image.InitialiseDefaults(app_->Catalogue(), false);
        image.TakeSnapshot();
        frame_->OnModelChanged();
    }

    QString T(tid::TextId id) const { return QString::fromUtf8(app_->Language().Text(id)); }
    // The title as the window shows it (with its modified mark resolved).
    QString Title() const { return frame_->windowHandle() ? frame_->windowHandle()->title() : QString(); }

    void RegisterFake(const std::string& viewClass) {
        frame_->RegisterEditorView(viewClass,
                                   [viewClass](CMainFrame&, QWidget*) -> EditorView* { return new FakeView(viewClass); });
    }

private slots:
    void init() { Start(); }
    void cleanup() {
        frame_.reset();
        app_.reset();
    }

    void menuBarAndTreeForEachModel() {
        struct Model {
            int model;
            std::uint16_t word;
            bool qtDqt;
        };
        for (const Model& m : {Model{1, 0x0100, false}, Model{2, 0x0100, true}, Model{3, 0x0105, false},
                               Model{4, 0x0106, false}}) {
            SetModel(m.model, m.word);
            // No editor is open: eight pop-ups, no Window menu, captions from the file.
            QCOMPARE(MenuTitles(frame_->menuBar()),
                     (QStringList{T(10003001), T(10003002), T(10003003), T(10003004), T(10003005), T(10003006),
                                  T(10003007), T(10003009)}));
            const QList<int> edit = MenuCommands(frame_->Menu(MenuId::Edit));
            QCOMPARE(edit.contains(cmd::kQtDqtCustomization), m.qtDqt);
            QCOMPARE(edit.count(0), m.qtDqt ? 5 : 4);  // separators: never two together
            for (QAction* a : frame_->Menu(MenuId::Edit)->actions()) {
                if (!a->isSeparator()) QVERIFY(!a->text().isEmpty());
            }
            QCOMPARE(frame_->Action(cmd::kChannelInformation)->text(), T(10003305));
            QCOMPARE(frame_->Action(cmd::kChannelInformation)->statusTip(), T(10305000));

            frame_->RunCommand(cmd::kTreeView);
            QTreeWidget* tree = frame_->Tree();
            QCOMPARE(tree->topLevelItemCount(), 1);
            QTreeWidgetItem* root = tree->topLevelItem(0);
            QCOMPARE(root->text(0), QString::fromStdString(app_->ModelSummary('.')));
            QCOMPARE(root->childCount(), m.qtDqt ? 8 : 7);
            QVERIFY(root->isExpanded());
            bool hasQt = false;
            for (int i = 0; i < root->childCount(); ++i)
                hasQt = hasQt || root->child(i)->data(0, Qt::UserRole + 1).toInt() == cmd::kQtDqtCustomization;
            QCOMPARE(hasQt, m.qtDqt);
            QCOMPARE(root->child(0)->text(0), T(10305000));
            frame_->RunCommand(cmd::kTreeView);
            QVERIFY(!frame_->TreeBar()->isVisible());
        }
    }

    void toolBarAndAccelerators() {
        QToolBar* bar = frame_->ToolBar();
        QList<int> commands;
        for (QAction* a : bar->actions()) commands << (a->isSeparator() ? 0 : a->data().toInt());
        QCOMPARE(commands, (QList<int>{cmd::kNew, cmd::kOpen, cmd::kSave, 0, cmd::kPrint, 0, cmd::kReadData,
                                       cmd::kWriteData, 0, cmd::kAbout}));
        QCOMPARE(frame_->Action(cmd::kOpen)->toolTip(), T(10005002));
        QCOMPARE(frame_->Action(cmd::kAbout)->toolTip(), T(10001008));
        QCOMPARE(frame_->Action(cmd::kNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(frame_->Action(cmd::kTreeView)->shortcuts().size(), 2);
        QVERIFY(frame_->Action(cmd::kTreeView)->shortcuts().contains(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_0))));
        // Commands without their dialog or view yet are greyed out; frame ones are not.
        QVERIFY(!frame_->Action(cmd::kReadData)->isEnabled());
        QVERIFY(!frame_->Action(cmd::kPrint)->isEnabled());
        QVERIFY(!frame_->Action(cmd::kKeyAssignment)->isEnabled());
        QVERIFY(frame_->Action(cmd::kOpen)->isEnabled());
        QVERIFY(frame_->Action(cmd::kLanguageFileSetup)->isEnabled());
        int reads = 0;
        frame_->RegisterCommand(cmd::kReadData, [&reads] { ++reads; });
        QVERIFY(frame_->Action(cmd::kReadData)->isEnabled());
        frame_->Action(cmd::kReadData)->trigger();
        QCOMPARE(reads, 1);
        // The idle text of the status bar.
        auto* idle = frame_->statusBar()->findChild<QLabel*>(QStringLiteral("IdleText"));
        QVERIFY(idle);
        QCOMPARE(idle->text(), T(19104003));
    }

    void titleWithAndWithoutNoEncryption() {
        QCOMPARE(Title(), QStringLiteral("VRM-650T  [ HRV-41A LMR : K UHF : 440-480 MHz ] [ %1 : vrm650t.dat ]").arg(T(10100002)));
        Start({"NoEncryption"});
        QVERIFY(Title().endsWith(QStringLiteral("vrm650t.dat ]          No Encryption")));
    }

    void editorsOpenOnceAndTheWindowMenuFollows() {
        QTreeWidget* tree = frame_->Tree();
        frame_->RunCommand(cmd::kTreeView);
        // An editor without a view: greyed in menu and tree, nothing opens.
        QVERIFY(!frame_->Action(cmd::kKeyAssignment)->isEnabled());
        QVERIFY(tree->topLevelItem(0)->child(2)->isDisabled());
        frame_->RunCommand(cmd::kKeyAssignment);
        QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());

        RegisterFake("CKeyView");
        RegisterFake("CScanView");
        QVERIFY(frame_->Action(cmd::kKeyAssignment)->isEnabled());
        frame_->RunCommand(cmd::kKeyAssignment);
        QCOMPARE(frame_->MdiArea()->subWindowList().size(), 1);
        EditorView* key = frame_->FindOpenEditor("CKeyView");
        QVERIFY(key);
        QCOMPARE(key->parentWidget()->objectName(), QStringLiteral("CSpecialFrame"));
        QCOMPARE(key->parentWidget()->windowTitle(), T(10307000));
        QVERIFY(MenuTitles(frame_->menuBar()).contains(T(10003008)));

        frame_->RunCommand(cmd::kScanInformation);
        QCOMPARE(frame_->MdiArea()->subWindowList().size(), 2);
        // Opening Key Assignment again activates the window that is there.
        frame_->MdiArea()->activeSubWindow()->showMinimized();
        auto* keyFrame = qobject_cast<QMdiSubWindow*>(key->parentWidget());
        keyFrame->showMinimized();
        frame_->RunCommand(cmd::kKeyAssignment);
        QCOMPARE(frame_->MdiArea()->subWindowList().size(), 2);
        QCOMPARE(frame_->MdiArea()->activeSubWindow(), keyFrame);
        QVERIFY(!keyFrame->isMinimized());

        // The tree posts its command: Enter on an item opens the editor.
        QVERIFY(frame_->TreeBar()->isVisible());
        tree->setCurrentItem(tree->topLevelItem(0)->child(3));  // Scan Information
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(static_cast<FakeView*>(frame_->ActiveEditor())->ViewClass(), std::string("CScanView"));

        // Refresh goes to every view; routed commands to the active one.
        int signals_ = 0;
        connect(frame_.get(), &CMainFrame::viewsRefreshRequested, this, [&signals_] { ++signals_; });
        frame_->RefreshAllViews();
        QCOMPARE(signals_, 1);
        QCOMPARE(static_cast<FakeView*>(key)->refreshes, 1);
        frame_->RunCommand(cmd::kGridCopy);
        QCOMPARE(static_cast<FakeView*>(frame_->ActiveEditor())->commands, std::vector<int>{cmd::kGridCopy});

        // Close All Window closes them all and hides the tree.
        frame_->RunCommand(cmd::kCloseAllWindow);
        QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());
        QVERIFY(!frame_->TreeBar()->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(!MenuTitles(frame_->menuBar()).contains(T(10003008)));
        QVERIFY(!frame_->FindOpenEditor("CKeyView"));
    }

    void rebuildWithAMaximisedEditorKeepsItsSystemMenu() {
        RegisterFake("CSpecialView");
        frame_->RunCommand(cmd::kAdvancedSettings);
        QMdiSubWindow* child = frame_->MdiArea()->activeSubWindow();
        QVERIFY(child);
        child->showMaximized();
        QCoreApplication::processEvents();
        QWidget* systemMenu = frame_->menuBar()->cornerWidget(Qt::TopLeftCorner);
        QWidget* buttons = frame_->menuBar()->cornerWidget(Qt::TopRightCorner);
        QVERIFY2(systemMenu, "the maximised editor's system menu sits in the menu bar");
        SetModel(2, 0x0100);
        frame_->RebuildMenuBar(true);
        QCOMPARE(frame_->menuBar()->cornerWidget(Qt::TopLeftCorner), systemMenu);
        QCOMPARE(frame_->menuBar()->cornerWidget(Qt::TopRightCorner), buttons);
        QCOMPARE(MenuTitles(frame_->menuBar()),
                 (QStringList{T(10003001), T(10003002), T(10003003), T(10003004), T(10003005), T(10003006),
                              T(10003007), T(10003008), T(10003009)}));
        QVERIFY(MenuCommands(frame_->Menu(MenuId::Edit)).contains(cmd::kQtDqtCustomization));
        QVERIFY(child->isMaximized());
    }

    void ctrlTabDoesNotSwitchEditors() {
        RegisterFake("CScanView");
        RegisterFake("CEmbView");
        frame_->show();
        frame_->RunCommand(cmd::kScanInformation);
        frame_->RunCommand(cmd::kEmbeddedMessage);
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        QMdiSubWindow* active = frame_->MdiArea()->activeSubWindow();
        auto* view = static_cast<FakeView*>(frame_->ActiveEditor());
        view->edit->setFocus();
        QCOMPARE(QApplication::focusWidget(), view->edit);
        QTest::keyClick(view->edit, Qt::Key_Tab, Qt::ControlModifier);
        QTest::qWait(50);
        QCOMPARE(frame_->MdiArea()->activeSubWindow(), active);
        QCOMPARE(QApplication::focusWidget(), view->edit);
    }

    void escapeHidesTheTreeAndAltZeroBringsItBack() {
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        QVERIFY(!frame_->TreeBar()->isVisible());  // hidden at start
        frame_->RunCommand(cmd::kTreeView);
        QVERIFY(frame_->TreeBar()->isVisible());
        QVERIFY(frame_->Action(cmd::kTreeView)->isChecked());
        QTest::keyClick(frame_->Tree(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(!frame_->TreeBar()->isVisible());
        QVERIFY(!frame_->Action(cmd::kTreeView)->isChecked());
        QTest::keyClick(frame_.get(), Qt::Key_0, Qt::AltModifier);
        QCoreApplication::processEvents();
        QVERIFY(frame_->TreeBar()->isVisible());
        QCOMPARE(QApplication::focusWidget(), frame_->Tree());
        QTest::keyClick(frame_.get(), Qt::Key_0, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(!frame_->TreeBar()->isVisible());
    }

    void windowPlacement() {
        frame_->RestorePlacement(std::string("0:1:-1:-1:-1:-1:10:20:810:620:5"));  // eleven: the first ten count
        frame_->RestorePlacement(std::string("0:1:-1:-1:-1:-1:10:20:810"));       // nine
        QVERIFY(frame_->isMaximized());
        frame_->showNormal();
        frame_->RestorePlacement(std::string("0:1:-1:-1:-1:-1:40:50:840:650"));
        QVERIFY(!frame_->isMaximized());
        QCOMPARE(frame_->geometry().size(), QSize(800, 600));
        const WindowPlacement p = frame_->CurrentPlacement();
        QCOMPARE(p.showCommand, WindowPlacement::kShowNormal);
        QCOMPARE(p.Width(), 800);
        frame_->RestorePlacement(std::string("0:3:-1:-1:-1:-1:40:50:840:650"));
        QVERIFY(frame_->isMaximized());
        QCOMPARE(frame_->CurrentPlacement().showCommand, WindowPlacement::kShowMaximized);
        // Closing stores it; a minimised maximised window is stored as maximised.
        frame_->showMinimized();
        frame_->setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
        prompter_->answers = {Answer::Ok};
        QVERIFY(frame_->close());
        const auto stored = settings_->ReadString(kSettingLastWinPos);
        QVERIFY(stored);
        const auto parsed = ParseLastWinPos(*stored);
        QVERIFY(parsed);
        QCOMPARE(parsed->showCommand, WindowPlacement::kShowMaximized);
    }

    void closeAsksAndTheDocumentAsksAboutChanges() {
        frame_->show();
        // Cancel on the first question keeps the program running.
        prompter_->answers = {Answer::Cancel};
        QVERIFY(!frame_->close());
        QCOMPARE(prompter_->asked.size(), std::size_t{1});
        QCOMPARE(prompter_->asked[0].textId, static_cast<int>(tid::kFrameCloseQuestion));
        QCOMPARE(prompter_->asked[0].caption, app_->Text(tid::kFrameCloseCaption));
        QCOMPARE(prompter_->asked[0].kind, MessageKind::Question);
        QVERIFY(frame_->isVisible());
        QVERIFY(!settings_->ReadString(kSettingLastWinPos));

        // Modified data: OK, then Cancel on the save question keeps it running.
        app_->Image().SetByte(kScanArea.offset + 9, 0x12);
        prompter_->asked.clear();
        prompter_->answers = {Answer::Ok, Answer::Cancel};
        QVERIFY(!frame_->close());
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{static_cast<int>(tid::kFrameCloseQuestion),
                                                         static_cast<int>(tid::kMsgSaveChangesFormat)}));
        // Yes with a cancelled Save As: still running, data kept.
        prompter_->answers = {Answer::Ok, Answer::Yes};
        QVERIFY(!frame_->close());
        QVERIFY(app_->Image().IsModified());
        // No: it closes and stores the placement.
        prompter_->answers = {Answer::Ok, Answer::No};
        QVERIFY(frame_->close());
        QVERIFY(settings_->ReadString(kSettingLastWinPos));
    }

    void printPreviewCloseOnlyEndsThePreview() {
        int ended = 0;
        frame_->SetPrintPreview([&ended] { ++ended; });
        QVERIFY(!frame_->close());
        QCOMPARE(ended, 1);
        QVERIFY(prompter_->asked.empty());
        QVERIFY(!frame_->InPrintPreview());
    }

    void languageSwitchAndBack() {
        RegisterFake("CScanView");
        frame_->RunCommand(cmd::kScanInformation);
        const QString englishFile = T(10003001);
        auto choose = [this](const QString& display) {
            WhenModal<LanguageDialog>([display](LanguageDialog* d) {
                const auto items = d->List()->findItems(display, Qt::MatchExactly);
                QVERIFY(!items.isEmpty());
                d->List()->setCurrentItem(items.first());
                d->accept();
            });
            frame_->RunCommand(cmd::kLanguageFileSetup);
        };
        // The current language is preselected; choosing it again changes nothing.
        WhenModal<LanguageDialog>([](LanguageDialog* d) {
            QVERIFY(d->List()->currentItem());
            QCOMPARE(d->List()->currentItem()->text(), QStringLiteral("English"));
            d->accept();
        });
        frame_->RunCommand(cmd::kLanguageFileSetup);
        QCOMPARE(frame_->MdiArea()->subWindowList().size(), 1);

        choose(QStringLiteral("Deutsch"));
        QCOMPARE(app_->LanguageFile(), std::string("vrm650t_de.lng"));
        QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());  // editors closed
        QCOMPARE(MenuTitles(frame_->menuBar()).first(), T(10003001));
        QVERIFY(T(10003001) != englishFile);
        QVERIFY(frame_->windowTitle().contains(T(10100002)));
        QCOMPARE(app_->AdvancedHelpFile(), std::string("vrm650t_de_adv.html"));
        QCOMPARE(frame_->Tree()->font().family(), QString::fromStdString(app_->Language().Settings().fixedPitchFont));

        choose(QStringLiteral("English"));
        QCOMPARE(app_->LanguageFile(), std::string("vrm650t_en.lng"));
        QCOMPARE(MenuTitles(frame_->menuBar()).first(), englishFile);
    }

    void modelDialogResetsTheDataOrStaysOpenOnCancel() {
        SetModel(1, 0x0100);
        app_->Image().SetByte(kScanArea.offset + 12, 0x77);
        const ImageBuffer before = app_->Image().Live();

        // Choose model 3; Cancel on the warning keeps the dialog open.
        WhenModal<ModelDialog>([this, &before](ModelDialog* d) {
            QCOMPARE(d->ModelList()->currentData().toInt(), 1);
            QCOMPARE(d->BandList()->currentText(), QStringLiteral("440-480 MHz"));
            d->ModelList()->setCurrentIndex(d->ModelList()->findData(3));
            QCOMPARE(d->BandList()->currentData().toInt(), 0x0105);
            prompter_->answers = {Answer::Cancel};
            d->OkButton()->click();
            QVERIFY(d->isVisible());
            QCOMPARE(prompter_->asked.back().textId, static_cast<int>(tid::kMsgDataReset));
            QCOMPARE(prompter_->asked.back().defaultAnswer, Answer::Cancel);
            // The edits are not saved: after the warning comes the unsaved-changes
            // question; Cancel there, or Yes with a cancelled Save As, changes nothing.
            for (Answer save : {Answer::Cancel, Answer::Yes}) {
                prompter_->asked.clear();
                prompter_->answers = {Answer::Ok, save};
                d->OkButton()->click();
                QVERIFY(d->isVisible());
                QCOMPARE(prompter_->TextIds(), (std::vector<int>{static_cast<int>(tid::kMsgDataReset),
                                                                 static_cast<int>(tid::kMsgSaveChangesFormat)}));
                QVERIFY(app_->Image().Live() == before);
            }
            prompter_->answers = {Answer::Ok, Answer::No};
            d->OkButton()->click();
        });
        frame_->RunCommand(cmd::kModelInformation);
        QCOMPARE(app_->Catalogue().FindModel(), 3);
        QVERIFY(app_->Image().Live() != before);
        QCOMPARE(app_->Image().Byte(kScanArea.offset + 12), std::uint8_t{0xFF});  // back to its default
        QVERIFY(frame_->windowTitle().contains(QStringLiteral("HRV-41A")));
        QCOMPARE(app_->Document().FileName(), std::string("vrm650t.dat"));

        // Back to the preset-list model: the Edit menu gains QT/DQT Customization.
        // (The new model's defaults were never saved: they count as changes.)
        WhenModal<ModelDialog>([this](ModelDialog* d) {
            d->ModelList()->setCurrentIndex(d->ModelList()->findData(2));
            prompter_->answers = {Answer::Ok, Answer::No};
            d->OkButton()->click();
        });
        frame_->RunCommand(cmd::kModelInformation);
        QVERIFY(app_->EntryMode() == EntryMode::List99);
        QVERIFY(MenuCommands(frame_->Menu(MenuId::Edit)).contains(cmd::kQtDqtCustomization));

        // OK without a change asks nothing and changes nothing.
        const ImageBuffer same = app_->Image().Live();
        const std::size_t asked = prompter_->asked.size();
        WhenModal<ModelDialog>([](ModelDialog* d) { d->OkButton()->click(); });
        frame_->RunCommand(cmd::kModelInformation);
        QCOMPARE(prompter_->asked.size(), asked);
        QVERIFY(app_->Image().Live() == same);
    }

    void openRebuildsMenusAndTitle() {
        // A data file of the preset-list model.
        SetModel(2, 0x0100);
        DataFile file(app_->Image(), app_->Catalogue());
        const QString path = temp_->filePath(QStringLiteral("varitel.dat"));
        QCOMPARE(file.Write(path.toStdString(), {}, clock_).code, static_cast<int>(kDataFileOk));
        SetModel(3, 0x0105);
        RegisterFake("CScanView");
        frame_->RunCommand(cmd::kScanInformation);

        dialogs_->openAnswers = {path.toStdString()};
        frame_->RunCommand(cmd::kOpen);
        QCOMPARE(app_->Catalogue().FindModel(), 2);
        QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());
        QVERIFY(Title().endsWith(QStringLiteral(": varitel.dat ]")));
        QVERIFY(MenuCommands(frame_->Menu(MenuId::Edit)).contains(cmd::kQtDqtCustomization));

        // New asks once on unmodified data and resets the name.
        prompter_->asked.clear();
        prompter_->answers = {Answer::Ok};
        frame_->RunCommand(cmd::kNew);
        QCOMPARE(prompter_->TextIds(), std::vector<int>{static_cast<int>(tid::kMsgDataReset)});
        QVERIFY(Title().endsWith(QStringLiteral(": vrm650t.dat ]")));
    }

    void adoptReadDataClosesEditorsAndTakesTheImage() {
        RegisterFake("CScanView");
        frame_->RunCommand(cmd::kScanInformation);
        app_->Document().SetFolder(temp_->path().toStdString());
        ImageBuffer read = app_->Image().Live();
        read[kEmbeddedMessageArea.offset] = 'Z';
        app_->Image().Transfer() = read;
        frame_->AdoptReadData();
        QVERIFY(frame_->MdiArea()->subWindowList().isEmpty());
        QCOMPARE(app_->Image().Byte(kEmbeddedMessageArea.offset), std::uint8_t{'Z'});
        QVERIFY(!app_->Image().IsModified());
    }

    void helpOpensThePageOfTheModelAtTheContext() {
        frame_->ShowHelp(*HelpForCommand(cmd::kNew));
        HelpWindow* help = frame_->Help().Window();
        QVERIFY(help);
        QVERIFY(help->CurrentPath().endsWith(QStringLiteral("vrm650t_en_lmr.html")));
        QCOMPARE(help->CurrentAnchor(), QStringLiteral("h11000"));
        QVERIFY(!help->Browser()->toPlainText().isEmpty());

        frame_->ShowHelp(*HelpForCommand(cmd::kAdvancedSettings));
        QVERIFY(frame_->Help().Window()->CurrentPath().endsWith(QStringLiteral("vrm650t_en_adv.html")));
        QCOMPARE(frame_->Help().Window()->CurrentAnchor(), QStringLiteral("hF1000"));

        SetModel(2, 0x0100);
        frame_->RunCommand(cmd::kHelpTopics);
        QVERIFY(frame_->Help().Window()->CurrentPath().endsWith(QStringLiteral("vrm650t_en_brs.html")));
        QCOMPARE(frame_->Help().Window()->CurrentAnchor(), QStringLiteral("h0"));
        frame_->RunCommand(cmd::kHelpTopicsAdvanced);
        QCOMPARE(frame_->Help().Window()->CurrentAnchor(), QStringLiteral("hF0000"));

        frame_->CloseHelpWindows();
        QVERIFY(!frame_->Help().Window());
    }

    void helpFromAModalDialogOutlivesTheDialog() {
        QPointer<HelpWindow> during;
        WhenModal<ModelDialog>([&during, this](ModelDialog* d) {
            for (QPushButton* b : d->findChildren<QPushButton*>()) {
                if (b->text() == T(10002004)) b->click();
            }
            during = frame_->Help().Window();
            QVERIFY(during);
            QCOMPARE(during->parentWidget(), static_cast<QWidget*>(d));  // usable while the dialog runs
            QCOMPARE(during->CurrentAnchor(), QStringLiteral("h20000"));
            d->reject();
        });
        frame_->RunCommand(cmd::kModelInformation);
        QVERIFY(during);
        QVERIFY(!during->parentWidget());
        QVERIFY(during->isVisible());
    }

    void f1OnAHighlightedMenuEntryOpensItsHelp() {
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
        QMenu* file = frame_->Menu(MenuId::File);
        frame_->menuBar()->setActiveAction(file->menuAction());
        QTRY_VERIFY(file->isVisible());
        file->setActiveAction(frame_->Action(cmd::kSaveAs));
        QTest::keyClick(file, Qt::Key_F1);
        QVERIFY(!file->isVisible());
        QVERIFY(frame_->Help().Window());
        QCOMPARE(frame_->Help().Window()->CurrentAnchor(), QStringLiteral("h14000"));
        frame_->CloseHelpWindows();
        // An entry without a context (About) opens nothing.
        frame_->menuBar()->setActiveAction(frame_->Menu(MenuId::Help)->menuAction());
        QTRY_VERIFY(frame_->Menu(MenuId::Help)->isVisible());
        frame_->Menu(MenuId::Help)->setActiveAction(frame_->Action(cmd::kAbout));
        QTest::keyClick(frame_->Menu(MenuId::Help), Qt::Key_F1);
        QVERIFY(!frame_->Help().Window());
        frame_->Menu(MenuId::Help)->hide();
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
