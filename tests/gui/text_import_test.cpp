// File > Import from Text and Export as Text in the program, offscreen: an
// import is a modification the open editor shows and Undo takes back; a
// refused text names line and key and changes nothing; the export asks
// before it replaces a file.
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>

#include "core/document/application.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/exchange/config_text.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "gui_app.h"
#include "core/model/model_catalogue.h"
#include "text/scripted_prompter.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/field_form.h"

using namespace vrm;

class TextImportTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

private:
    std::string Path(const char* name) const { return (temp_.path() + "/" + name).toStdString(); }
    static void Save(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Current() const { return ExportConfigText(app_->Image().Live(), app_->Language()).text; }

private slots:
    void init() {
        prompter_.asked.clear();
        prompter_.answers.clear();
    }
    void cleanup() { Stop(); }

    void importIsAModificationTheEditorShows() {
        Start(3, 0x0105);
        app_->Image().TakeSnapshot();
        frame_->RunCommand(cmd::kOptionalFeatures);
        auto* view = dynamic_cast<FormEditorView*>(frame_->FindOpenEditor("CFeatureView"));
        QVERIFY(view);
        auto* tot = qobject_cast<QSpinBox*>(view->Form()->Control("tot"));
        QVERIFY(tot);
        QCOMPARE(tot->text(), QStringLiteral("60"));
        const ImageBuffer before = app_->Image().Live();

        std::string text = Current();
        text.replace(text.find("tot: 60"), 7, "tot: 120");
        Save(Path("edited.yaml"), text);
        dialogs_.openAnswers.push_back(Path("edited.yaml"));
        frame_->RunCommand(cmd::kImportText);

        QVERIFY(app_->Document().IsModified());
        QCOMPARE(tot->text(), QStringLiteral("120"));
        QCOMPARE(Current(), text);
        QVERIFY(prompter_.asked.empty());
        frame_->RunCommand(cmd::kUndo);
        QCOMPARE(app_->Image().Live(), before);
        QVERIFY(!app_->Document().IsModified());
    }

    void refusedTextChangesNothing() {
        Start(3, 0x0105);
        app_->Image().TakeSnapshot();
        const ImageBuffer before = app_->Image().Live();
        std::string text = Current();
        text.replace(text.find("tot: 60"), 7, "tot: [60]");
        Save(Path("bad.yaml"), text);
        dialogs_.openAnswers.push_back(Path("bad.yaml"));
        frame_->RunCommand(cmd::kImportText);

        QCOMPARE(prompter_.asked.size(), std::size_t{1});
        const std::string& message = prompter_.asked.back().text;
        QCOMPARE(prompter_.asked.back().textId, static_cast<int>(tid::kTextImportRefused));
        QVERIFY2(message.find("Line 4, features.tot:") != std::string::npos, message.c_str());
        QCOMPARE(app_->Image().Live(), before);
        QVERIFY(!app_->Document().IsModified());
        QVERIFY(!app_->Session().CanUndo());
    }

    // A text of another model changes the model, after the unsaved-changes
    // question, with a fresh history; the data still counts as modified.
    void importOfAnotherModelAsksFirst() {
        Start(2, 0x0100);
        const std::string model2 = Current();
        Save(Path("model2.yaml"), model2);
        Start(3, 0x0105);
        app_->Image().TakeSnapshot();
        QVERIFY(SetFromScript(app_->Session(), "features.tot", "90").Ok());
        const ImageBuffer edited = app_->Image().Live();

        dialogs_.openAnswers.push_back(Path("model2.yaml"));
        prompter_.answers.push_back(Answer::Cancel);
        frame_->RunCommand(cmd::kImportText);
        QCOMPARE(prompter_.asked.back().textId, static_cast<int>(tid::kMsgSaveChangesFormat));
        QCOMPARE(app_->Image().Live(), edited);

        dialogs_.openAnswers.push_back(Path("model2.yaml"));
        prompter_.answers.push_back(Answer::No);
        frame_->RunCommand(cmd::kImportText);
        QCOMPARE(app_->Catalogue().FindModel(), 2);
        QCOMPARE(Current(), model2);
        QVERIFY(app_->Document().IsModified());
        QVERIFY(!app_->Session().CanUndo());
    }

    void exportAsksBeforeReplacing() {
        Start(2, 0x0100);
        const std::string path = Path("out.yaml");
        Save(path, "mine");
        dialogs_.saveAnswers.push_back(path);
        prompter_.answers.push_back(Answer::Cancel);
        frame_->RunCommand(cmd::kExportText);
        QCOMPARE(prompter_.asked.size(), std::size_t{1});
        QCOMPARE(prompter_.asked.back().textId, static_cast<int>(tid::kMsgOverwriteQuestion));
        QCOMPARE(Load(path), std::string("mine"));

        dialogs_.saveAnswers.push_back(path);
        prompter_.answers.push_back(Answer::Ok);
        frame_->RunCommand(cmd::kExportText);
        QCOMPARE(prompter_.asked.size(), std::size_t{2});
        QCOMPARE(Load(path), Current());
        QCOMPARE(dialogs_.saveRequests.back().pattern, std::string("*.yaml"));
    }
};

QTEST_MAIN(TextImportTest)
#include "text_import_test.moc"
