// "Drukuj arkusze do skanowania…" of the survey editor: the code on the paper against results
// made from the saved survey file, the offer to save first, the numbers and a stopped printout.
#include "scan/editor_sheets.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QAction>

#include "collect/new_results.h"
#include "editor/survey_editor_window.h"
#include "editor/survey_file.h"
#include "platform/encoding.h"
#include "results/results_manager_window.h"
#include "scan/sheet_code.h"
#include "scan_fixture.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace {

// The text of the QR code on a printed page.
QByteArray CodeOn(const QImage& page) {
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return {};
    const ZXing::ByteArray& bytes = result.bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

class EditorSheetsTest : public ::testing::Test {
protected:
    EditorSheetsTest() {
        editor.ShowForm();
        // Question 1 typed with its lines' first halves empty, as the survey file never holds them.
        editor.Edit(2)->setText(QStringLiteral("Czy lubisz szkołę?"));
        editor.Edit(4)->setText(QStringLiteral("Tak"));
        editor.Edit(5)->setText(QStringLiteral("Nie"));
        dialogs.answers.push_back(true);  // a question more
        editor.Button1->click();
        editor.Edit(1)->setText(QStringLiteral("Ulubiony kolor"));
        for (int line : {3, 6, 7}) editor.Edit(line)->setText(QStringLiteral("kolor %1").arg(line));
        dialogs.shown.clear();
    }
    ~EditorSheetsTest() override {
        editor.hide();
        manager.hide();
    }

    void Save(const char* name) {
        dialogs.fileNames.push_back(folder.File(name));
        editor.Zapisz2->trigger();
    }
    void Print(int copies, int first) {
        dialogs.numbers.push_back(std::vector<int>{copies, first});
        editor.Handle([this] { scan::PrintSheetsOfEditor(editor, printer); });
    }
    // The fingerprint of results made from the survey file with "Nowe wyniki z ankiety…".
    QByteArray FingerprintOfResultsFrom(const QString& file) {
        dialogs.fileNames.push_back(file);
        manager.ShowForm();
        manager.Handle([this] { collect::NewResultsFromChosenSurvey(manager); });
        return scan::QuestionnaireFingerprint(manager.Results().Tally,
                                              manager.Results().SurveyText);
    }
    bool Printed(int page, const QString& text) const {
        const QByteArray bytes = platform::ToCodePage(text);
        return std::any_of(printer.texts().begin(), printer.texts().end(), [&](const auto& drawn) {
            return drawn.page == page && drawn.text == bytes;
        });
    }

    testing_support::TempFolder work;
    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer{QSize(3508, 2480), 300};
    scan_testing::QuietLauncher launcher;
    editor::EditorState state{work.path()};
    editor::TForm1 editor{dialogs, printer, state, launcher};
    results::ResultsStore store;
    results::TForm3 manager{dialogs, printer, store, launcher};
};

TEST_F(EditorSheetsTest, TheCodeOnThePaperIsThatOfResultsMadeFromTheSavedSurveyFile) {
    Save("klasa 3b");
    Print(2, 5);
    EXPECT_EQ(dialogs.questions(), QStringList{});
    EXPECT_EQ(dialogs.Last(testing_support::ScriptedDialogs::Kind::Numbers)->text,
              QStringLiteral("Drukuj arkusze do skanowania"));
    ASSERT_EQ(dialogs.numberFields.size(), 2u);
    EXPECT_EQ(dialogs.numberFields[0].label, QStringLiteral("&Liczba arkuszy:"));
    EXPECT_EQ(dialogs.numberFields[0].high, 999);
    EXPECT_EQ(dialogs.numberFields[1].value, 1);
    ASSERT_EQ(printer.pages().size(), 2u);
    EXPECT_TRUE(Printed(0, QStringLiteral("klasa 3b")));
    EXPECT_TRUE(Printed(1, QStringLiteral("Arkusz 6, strona 1 z 1")));

    const QByteArray fingerprint = FingerprintOfResultsFrom(folder.File("klasa 3b.ank"));
    EXPECT_EQ(CodeOn(printer.pages()[0]), scan::SheetCodeText({fingerprint, 5, 1, 1}));
    EXPECT_EQ(CodeOn(printer.pages()[1]), scan::SheetCodeText({fingerprint, 6, 1, 1}));
}

TEST_F(EditorSheetsTest, AQuestionnaireWithoutItsFileOrChangedSinceIsOfferedForSavingFirst) {
    struct Case {
        const char* what;
        bool savedBefore;
        bool changedSince;
        std::vector<bool> answers;
        std::vector<const char*> saveDialog;  // the name chosen, "" for a cancelled dialog
        const char* nameOnPaper;              // nullptr: nothing printed
        bool fileFitsPaper;
    };
    const std::vector<Case> cases = {
        {"saved, unchanged: no question", true, false, {}, {}, "ankieta", true},
        {"never saved, not now", false, false, {false}, {}, "Ankieta", false},
        {"never saved, saved now", false, false, {true}, {"nowa"}, "nowa", true},
        {"never saved, save dialog cancelled", false, false, {true}, {""}, nullptr, false},
        {"changed, saved now into its file", true, true, {true}, {}, "ankieta", true},
        {"changed, printed as on screen", true, true, {false}, {}, "ankieta", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.answers.push_back(true);
        editor.Nowa1->trigger();
        editor.Edit(1)->setText(QStringLiteral("Pytanie"));
        editor.Edit(5)->setText(QStringLiteral("b"));
        if (c.savedBefore) Save("ankieta");
        if (c.changedSince) editor.Edit(7)->setText(QStringLiteral("c"));
        const QByteArray fileBefore = testing_support::ReadBytes(folder.File("ankieta.ank"));
        for (bool answer : c.answers) dialogs.answers.push_back(answer);
        for (const char* name : c.saveDialog) {
            dialogs.fileNames.push_back(*name ? folder.File(name) : QString());
        }
        const std::size_t pagesBefore = printer.pages().size();
        const std::size_t questionsBefore = dialogs.questions().size();
        if (c.nameOnPaper) dialogs.numbers.push_back(std::vector<int>{1, 1});
        editor.Handle([this] { scan::PrintSheetsOfEditor(editor, printer); });

        EXPECT_EQ(dialogs.questions().size() - questionsBefore, c.answers.size());
        EXPECT_TRUE(dialogs.answers.empty() && dialogs.fileNames.empty() &&
                    dialogs.numbers.empty());
        if (!c.nameOnPaper) {
            EXPECT_EQ(printer.pages().size(), pagesBefore);
            continue;
        }
        ASSERT_EQ(printer.pages().size(), pagesBefore + 1);
        const int page = static_cast<int>(pagesBefore);
        EXPECT_TRUE(Printed(page, QString::fromUtf8(c.nameOnPaper)));
        const QString file = editor.SurveyFileName();
        if (c.changedSince && !c.fileFitsPaper) {
            EXPECT_EQ(testing_support::ReadBytes(file), fileBefore);  // left as it was
        }
        if (file.isEmpty()) continue;
        // Results of the file as "Nowe wyniki z ankiety…" makes them.
        const collect::NewResults made =
            collect::ResultsOfSurvey("", editor::ReadSurveyFile(file).value());
        const QByteArray fingerprint = scan::QuestionnaireFingerprint(made.tally, made.surveyText);
        EXPECT_EQ(
            CodeOn(printer.pages()[pagesBefore]) == scan::SheetCodeText({fingerprint, 1, 1, 1}),
            c.fileFitsPaper);
    }
}

TEST_F(EditorSheetsTest, NumbersPastTheLastSheetNumberAndAStoppedPrintoutAreTold) {
    Save("ankieta");
    Print(999, 99002);
    EXPECT_EQ(dialogs.notices(),
              QStringList{QStringLiteral("Numery arkuszy sięgają najwyżej 99999: od numeru 99002 "
                                         "można wydrukować najwyżej 998 arkuszy...")});
    dialogs.numbers.push_back(std::nullopt);  // "Anuluj"
    editor.Handle([this] { scan::PrintSheetsOfEditor(editor, printer); });
    EXPECT_TRUE(printer.pages().empty());

    dialogs.stopAfterSteps = 3;
    Print(10, 41);
    EXPECT_EQ(printer.pages().size(), 3u);
    EXPECT_EQ(printer.jobsEnded(), 1);
    EXPECT_EQ(dialogs.notices().back(),
              QStringLiteral("Drukowanie przerwano: wydrukowano arkusze 41–43; następne można "
                             "drukować od numeru 44..."));
    EXPECT_EQ(dialogs.Texts(testing_support::ScriptedDialogs::Kind::Progress),
              QStringList{QStringLiteral("Drukowanie arkuszy 41–50...")});
}

}  // namespace
