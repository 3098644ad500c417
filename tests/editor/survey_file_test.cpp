// Survey files: their layout and pair normalisation, the lenient reader, and the editor's
// "Nowa", "Otwórz" and "Zapisz".
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "editor/survey_file.h"
#include "platform/text_file.h"
#include "support/file_drop.h"
#include "survey_editor_fixture.h"

using editor::QuestionRecord;
using editor_testing::RecordWith;
using editor_testing::SurveyEditorTest;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

QByteArray Lines(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* line : lines) bytes += QByteArray(line) + "\r\n";
    return bytes;
}

QByteArray SurveyBytes(const std::vector<QuestionRecord>& questions) {
    TempFolder folder;
    {
        platform::TextFileWriter file(folder.File("s.ank"));
        editor::WriteSurvey(file, static_cast<int>(questions.size()),
                            [&](int number) { return questions[number - 1]; });
        file.Close();
    }
    return ReadBytes(folder.File("s.ank"));
}

}  // namespace

TEST(SurveyFile, StoresAnswersUpToTheLastFilledOneWithPairsNormalised) {
    EXPECT_EQ(SurveyBytes({RecordWith({{1, "Q"}, {3, "T"}})}),
              Lines({"TARVO", "1", "1", "Q", "", "T", ""}));
    // B empty between A and C; the question's and C's first lines empty before a second line.
    EXPECT_EQ(SurveyBytes({RecordWith({{2, "drugi"}, {3, "A"}, {8, "C2"}}), QuestionRecord{}}),
              Lines({"TARVO", "2", "3", "drugi", "", "A", "", "", "", "C2", "", "1", "", "", "", ""}));
}

TEST(SurveyFile, MagicIsTheWholeLineInCapitals) {
    EXPECT_TRUE(editor::IsSurveyMagic("TARVO"));
    EXPECT_FALSE(editor::IsSurveyMagic("TARVO "));
    EXPECT_FALSE(editor::IsSurveyMagic("Tarvo"));
    EXPECT_FALSE(editor::IsSurveyMagic(""));
}

TEST(SurveyFile, AWholeFileIsReadOnlyWhenItIsASurvey) {
    TempFolder folder;
    WriteBytes(folder.File("s.ank"), Lines({"TARVO", "2", "1", "Q", "", "T", "", "2", "R"}));
    WriteBytes(folder.File("w.wyn"), Lines({"RESULTS", "2"}));
    const auto survey = editor::ReadSurveyFile(folder.File("s.ank"));
    ASSERT_TRUE(survey.has_value());
    ASSERT_EQ(survey->size(), 2u);
    EXPECT_EQ((*survey)[0][2], "T");
    EXPECT_EQ((*survey)[1][0], "R");
    EXPECT_FALSE(editor::ReadSurveyFile(folder.File("w.wyn")).has_value());
    EXPECT_FALSE(editor::ReadSurveyFile(folder.File("missing.ank")).has_value());
}

TEST(SurveyFile, AQuestionBlockOfMoreThanNineAnswersKeepsTwentyLinesAndTheNextBlockInPlace) {
    TempFolder folder;
    QByteArray bytes = "12\r\n";
    for (int line = 1; line <= 26; ++line) bytes += "L" + QByteArray::number(line) + "\r\n";
    bytes += Lines({"1", "next", "", "a", ""});
    WriteBytes(folder.File("s.ank"), bytes);

    platform::TextFileReader file(folder.File("s.ank"));
    const QuestionRecord big = editor::ReadSurveyQuestion(file);
    EXPECT_EQ(big[0], QByteArray("L1"));
    EXPECT_EQ(big[19], QByteArray("L20"));
    EXPECT_EQ(editor::ReadSurveyQuestion(file), RecordWith({{1, "next"}, {3, "a"}}));
    // A file ending early reads on as empty lines and a count of 0.
    EXPECT_EQ(editor::ReadSurveyQuestion(file), QuestionRecord{});
}

class SurveyMenuTest : public SurveyEditorTest {
protected:
    void Open(const QByteArray& bytes) {
        WriteBytes(surveys.File("in.ank"), bytes);
        dialogs.fileNames.push_back(surveys.File("in.ank"));
        window.Otworz1->trigger();
    }
    void Save(const QString& name) {
        dialogs.fileNames.push_back(name);
        window.Zapisz2->trigger();
    }
    QuestionRecord Question(int number) {
        JumpTo(number);
        return window.EditTexts();
    }
    TempFolder surveys;
};

TEST_F(SurveyMenuTest, SavingGivesTheAnkExtensionAndReplacesAnExistingFileWithoutAsking) {
    window.Edit(1)->setText(QStringLiteral("Czy lubisz żółty?"));
    window.Edit(3)->setText(QStringLiteral("Tak"));
    Save(QString());  // cancelled, yet the work file is brought up to date
    EXPECT_EQ(state.workFiles.Read(1)[0], QByteArray("Czy lubisz \xBF\xF3\xB3ty?"));
    EXPECT_TRUE(QDir(surveys.path()).entryList(QDir::Files).isEmpty());

    WriteBytes(surveys.File("ankieta.ank"), "stara");
    Save(surveys.File("ankieta.txt"));
    EXPECT_EQ(ReadBytes(surveys.File("ankieta.ank")),
              Lines({"TARVO", "1", "1", "Czy lubisz \xBF\xF3\xB3ty?", "", "Tak", ""}));
    EXPECT_EQ(QDir(surveys.path()).entryList(QDir::Files), QStringList{QStringLiteral("ankieta.ank")});
    EXPECT_EQ(dialogs.shown.size(), 2);  // the two save dialogs, nothing else
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik, w którym chcesz zapisać ankietę..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Ankiety (*.ank)|*.ank"));
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
}

TEST_F(SurveyMenuTest, ThirtyQuestionsReorderedSaveAndOpenIdentically) {
    std::vector<QuestionRecord> expected;
    AddQuestionsUpTo(30);
    for (int number = 1; number <= 30; ++number) {
        JumpTo(number);
        // Mixed empty lines: a gap before the last answer, some second lines, one line alone.
        window.Edit(2)->setText(number % 3 == 0 ? QStringLiteral("dalej %1").arg(number) : QString());
        window.Edit(3 + 2 * (number % 9))->setText(QStringLiteral("odp %1").arg(number));
        if (number % 4 == 0) window.Edit(20)->setText(QStringLiteral("ą ę ś"));
    }
    JumpTo(30);
    // What comes back is the texts up to the pair normalisation.
    for (int number = 1; number <= 30; ++number) expected.push_back(editor::NormalisePairs(Question(number)));
    // Move question 5 to the front: insert a blank question 1, copy, delete the old one.
    JumpTo(1);
    window.Button3->click();
    for (int n = 1; n <= 20; ++n) window.Edit(n)->SetBytes(expected[4][n - 1]);
    JumpTo(6);
    dialogs.answers.push_back(true);
    window.Button4->click();
    std::rotate(expected.begin(), expected.begin() + 4, expected.begin() + 5);
    JumpTo(17);

    Save(surveys.File("trzydzieści"));
    dialogs.answers.push_back(true);
    window.Nowa1->trigger();
    dialogs.fileNames.push_back(surveys.File("trzydzieści.ank"));
    window.Otworz1->trigger();
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(Counters(), QStringLiteral("1z30"));
    EXPECT_EQ(ComboItems().size(), 30);
    for (int number = 1; number <= 30; ++number) EXPECT_EQ(Question(number), expected[number - 1]) << number;
}

TEST_F(SurveyMenuTest, OpeningSplitsTheFileIntoWorkFilesAndShowsQuestionOne) {
    AddQuestionsUpTo(4);
    Open(Lines({"TARVO", "2", "2", "", "drugi", "A", "", "B", "", "1", "Q2", "", "", ""}));
    EXPECT_EQ(Counters(), QStringLiteral("1z2"));
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z2, Odpowiedzi: 2"));
    EXPECT_EQ(window.EditTexts(), RecordWith({{2, "drugi"}, {3, "A"}, {5, "B"}}));  // read as stored
    EXPECT_EQ(state.workFiles.Read(2), RecordWith({{1, "Q2"}}));
    EXPECT_EQ(state.workFiles.Read(3)[0], QByteArray("Pytanie 3"));  // a leftover stays
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik ankiety do wczytania..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Ankiety (*.ank)|*.ank"));

    // The writer's normalisation puts the second line's text into the first box of the pair.
    Save(surveys.File("out.ank"));
    Open(ReadBytes(surveys.File("out.ank")));
    EXPECT_EQ(window.Edit(1)->text(), QStringLiteral("drugi"));
    EXPECT_TRUE(window.Edit(2)->text().isEmpty());
}

TEST_F(SurveyMenuTest, AFileWithoutTheMagicChangesNothing) {
    AddQuestionsUpTo(2);
    const QStringList files = WorkFolder();
    for (const char* first : {"TARVO ", "tarvo"}) {
        Open(Lines({first, "1", "1", "Q", "", "A", ""}));
        EXPECT_EQ(Counters(), QStringLiteral("2z2"));
        EXPECT_EQ(ComboItems().size(), 2);
        EXPECT_EQ(window.Edit(1)->text(), QStringLiteral("Pytanie 2"));
        EXPECT_EQ(WorkFolder(), files);
    }
    EXPECT_EQ(dialogs.notices(), QStringList(2, QStringLiteral("To nie jest plik ankiety...")));
}

TEST_F(SurveyMenuTest, ASurveyOfNoQuestionsOpensAsAnEmptyQuestionOneOfOne) {
    AddQuestionsUpTo(3);
    Open(Lines({"TARVO", "0"}));
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(window.EditTexts(), QuestionRecord{});
    EXPECT_EQ(state.workFiles.Read(1), QuestionRecord{});
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 1"));
    window.Edit(1)->setText(QStringLiteral("nowe"));
    Save(surveys.File("out.ank"));
    EXPECT_EQ(ReadBytes(surveys.File("out.ank")), Lines({"TARVO", "1", "1", "nowe", "", "", ""}));
}

TEST_F(SurveyMenuTest, AWorkFileThatCannotBeWrittenWhileOpeningLeavesAConsistentEmptySurvey) {
    AddQuestionsUpTo(4);
    // A folder in place of work file 2: opening fails after work file 1 was rewritten.
    QFile::remove(state.workFiles.WorkFileName(2));
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("wyn2")));
    Open(Lines({"TARVO", "3", "1", "N1", "", "", "", "1", "N2", "", "", "",  //
                "1", "N3", "", "", ""}));
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(window.EditTexts(), QuestionRecord{});

    // Nothing left over is saved as a question.
    ASSERT_TRUE(QDir(work.path()).rmdir(QStringLiteral("wyn2")));
    window.Edit(1)->setText(QStringLiteral("nowe"));
    Save(surveys.File("out.ank"));
    EXPECT_EQ(ReadBytes(surveys.File("out.ank")), Lines({"TARVO", "1", "1", "nowe", "", "", ""}));
}

TEST_F(SurveyMenuTest, NewAsksAndStartsAnEmptySurveyLeavingTheWorkFiles) {
    AddQuestionsUpTo(3);
    dialogs.answers = {false};
    window.Nowa1->trigger();
    EXPECT_EQ(Counters(), QStringLiteral("3z3"));
    const QStringList files = WorkFolder();
    dialogs.answers = {true};
    window.Nowa1->trigger();
    EXPECT_EQ(dialogs.questions().last(), QStringLiteral("Czy wyzerować wszystkie pytania?"));
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_EQ(window.EditTexts(), QuestionRecord{});
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("1")});
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 1"));
    EXPECT_EQ(WorkFolder(), files);
}

TEST_F(SurveyMenuTest, AFailingSaveKeepsTheOldFile) {
    AddQuestionsUpTo(3);
    const QString target = surveys.File("ankieta.ank");
    WriteBytes(target, "stara ankieta");
    // Work file 2 gone: the save fails half way through the questions.
    QFile::remove(state.workFiles.WorkFileName(2));
    Save(target);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
    EXPECT_EQ(ReadBytes(target), QByteArray("stara ankieta"));
    EXPECT_EQ(QDir(surveys.path()).entryList(QDir::Files), QStringList{QStringLiteral("ankieta.ank")});

    // A target that cannot be replaced at all.
    ASSERT_TRUE(QDir(surveys.path()).mkdir(QStringLiteral("folder.ank")));
    Save(surveys.File("folder"));
    EXPECT_EQ(dialogs.errors().last(), QStringLiteral("File access denied."));
    EXPECT_TRUE(QFileInfo(surveys.File("folder.ank")).isDir());
}

TEST_F(SurveyMenuTest, SavingIntoAReadOnlyFolderKeepsTheOldFile) {
    const QString target = surveys.File("ankieta.ank");
    WriteBytes(target, "stara ankieta");
    QFile::setPermissions(surveys.path(), QFile::ReadOwner | QFile::ExeOwner);
    {
        const testing_support::PermissionsBinding binding;
        Save(target);
    }
    QFile::setPermissions(surveys.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_EQ(ReadBytes(target), QByteArray("stara ankieta"));
}

TEST_F(SurveyMenuTest, ASurveyFileDroppedOnTheEditorOpensAsOtworzOpensItAndAnythingElseIsRefused) {
    AddQuestionsUpTo(3);
    WriteBytes(surveys.File("a.ank"), Lines({"TARVO", "1", "1", "Q", "", "T", ""}));
    WriteBytes(surveys.File("b.ANK"), Lines({"TARVO", "2", "1", "R", "", "", "", "1", "S", "", "", ""}));
    WriteBytes(surveys.File("w.wyn"), Lines({"RESULTS"}));
    WriteBytes(surveys.File("not.ank"), Lines({"tarvo"}));
    const QString refusal = QStringLiteral("Tu można upuścić tylko jeden plik ankiety (*.ank)...");
    struct Case {
        QStringList dropped;
        QString notice;  // none: opened
        QString counters;
    };
    const Case cases[] = {
        {{surveys.File("w.wyn")}, refusal, QStringLiteral("3z3")},
        {{surveys.File("a.ank"), surveys.File("b.ANK")}, refusal, QStringLiteral("3z3")},
        {{surveys.File("not.ank")}, QStringLiteral("To nie jest plik ankiety..."), QStringLiteral("3z3")},
        {{surveys.File("b.ANK")}, {}, QStringLiteral("1z2")},
    };
    for (const Case& c : cases) {
        dialogs.shown.clear();
        // An edit box would take a dropped file's path as text: the window takes the drop.
        EXPECT_TRUE(testing_support::DropFiles(window.Edit(1), c.dropped));
        EXPECT_EQ(dialogs.notices(), c.notice.isEmpty() ? QStringList() : QStringList{c.notice});
        EXPECT_EQ(Counters(), c.counters);
    }
    EXPECT_EQ(window.EditTexts(), RecordWith({{1, "R"}}));
    EXPECT_TRUE(dialogs.questions().isEmpty());  // "Otwórz" asks nothing, and so does a drop
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

