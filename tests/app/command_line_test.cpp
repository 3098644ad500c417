// The command line: every form it takes, what it refuses, and the first window each one shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QRegularExpression>

#include "app/command_line.h"
#include "app/program.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using app::CommandLine;
using app::ParseCommandLine;
using Action = CommandLine::Action;
using testing_support::WriteBytes;

namespace {

const QByteArray kResults = "RESULTS\r\nAnkieta\r\n12\r\n1\r\n2\r\n5\r\n7\r\nCzy?\r\n";
const QByteArray kSurvey = "TARVO\r\n2\r\n1\r\nPierwsze\r\n\r\nTak\r\n\r\n1\r\nDrugie\r\n\r\n\r\n\r\n";

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() : previousDir(QDir::currentPath()) {
        QDir::setCurrent(folder.path());  // names as typed in the folder
        for (const char* name : {"a.wyn", "b.WYN", "-dash.wyn", "bad.wyn"}) {
            WriteBytes(folder.File(name), name == QByteArray("bad.wyn") ? "WYNIKI\r\n" : kResults);
        }
        WriteBytes(folder.File("s.ank"), kSurvey);
        WriteBytes(folder.File("t.ank"), kSurvey);
        WriteBytes(folder.File("x.txt"), "tekst\r\n");
        WriteBytes(folder.File("wyniki"), kResults);
        WriteBytes(folder.File("ankieta"), kSurvey);
        QDir(folder.path()).mkdir(QStringLiteral("folder.wyn"));
    }
    ~CommandLineTest() override { QDir::setCurrent(previousDir); }
    QString File(const char* name) const { return folder.File(name); }

    testing_support::TempFolder folder;
    QString previousDir;
};

}  // namespace

TEST_F(CommandLineTest, EachFormGivesItsDecision) {
    struct Case {
        QStringList arguments;
        Action action;
        QStringList passed;
    };
    const QString a = File("a.wyn"), b = File("b.WYN"), s = File("s.ank");
    const Case cases[] = {
        {{}, Action::StartLauncher, {}},
        {{a, b}, Action::OpenResults, {a, b}},
        {{s}, Action::OpenSurvey, {s}},
        // Without either extension a file is known by its first line.
        {{a, File("wyniki")}, Action::OpenResults, {a, File("wyniki")}},
        {{File("ankieta")}, Action::OpenSurvey, {File("ankieta")}},
        {{QStringLiteral("--"), QStringLiteral("-dash.wyn")}, Action::OpenResults, {QStringLiteral("-dash.wyn")}},
        {{QStringLiteral("--help")}, Action::PrintHelp, {}},
        {{a, QStringLiteral("-h")}, Action::PrintHelp, {}},
        {{QStringLiteral("--version")}, Action::PrintVersion, {}},
        // The report takes its own arguments, checked by itself.
        {{QStringLiteral("raport"), QStringLiteral("-o"), QStringLiteral("out"), QStringLiteral("--bogus")},
         Action::Report,
         {QStringLiteral("-o"), QStringLiteral("out"), QStringLiteral("--bogus")}},
        {{QStringLiteral("raport")}, Action::Report, {}},
    };
    for (const Case& c : cases) {
        const CommandLine command = ParseCommandLine(c.arguments);
        EXPECT_EQ(command.action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(command.arguments, c.passed) << c.arguments.join(u' ').toStdString();
    }
}

TEST_F(CommandLineTest, BadUsageIsRefusedWithAMessageNamingTheFault) {
    const std::pair<QStringList, QString> cases[] = {
        {{QStringLiteral("--bogus")}, QStringLiteral("nieznana opcja „--bogus”")},
        {{QStringLiteral("-dash.wyn")}, QStringLiteral("nieznana opcja „-dash.wyn”")},
        {{File("a.wyn"), File("none.wyn")}, QStringLiteral("nie ma pliku „") + File("none.wyn")},
        {{File("folder.wyn")}, QStringLiteral("nie ma pliku")},
        {{File("x.txt")}, QStringLiteral("nie jest plikiem wyników (.wyn) ani ankiety (.ank)")},
        {{File("a.wyn"), File("s.ank")}, QStringLiteral("osobno")},
        {{File("s.ank"), File("t.ank")}, QStringLiteral("jedną ankietę naraz")},
    };
    for (const auto& [arguments, why] : cases) {
        const CommandLine command = ParseCommandLine(arguments);
        EXPECT_EQ(command.action, Action::Refuse) << why.toStdString();
        EXPECT_TRUE(command.message.startsWith(QStringLiteral("narzedzia: ")));
        EXPECT_TRUE(command.message.contains(why)) << command.message.toStdString();
        EXPECT_TRUE(command.message.contains(QStringLiteral("narzedzia --help")));
    }
}

TEST(CommandLineTexts, HelpListsEveryFormAndVersionTheProjectsVersion) {
    const QString help = app::HelpText();
    for (const char* form :
         {"  narzedzia\n", "narzedzia PLIK.wyn...", "narzedzia PLIK.ank", "narzedzia --help",
          "narzedzia --version",
          "narzedzia raport [-o FOLDER] [--survey PLIK.ank] [--formats pdf,csv,png,svg,wyn,txt] "
          "[--charts bar,pie,stripe] PLIK.wyn|FOLDER...",
          "narzedzia raport --help"}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(form))) << form;
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^narzedzia \\d+\\.\\d+\\.\\d+\n$"))
                    .match(app::VersionText())
                    .hasMatch())
        << app::VersionText().toStdString();
}

namespace {

class FirstWindowTest : public CommandLineTest {
protected:
    FirstWindowTest() : program(dialogs, printer, work.path()) {
        program.Form0->EndProgram = [] {};
    }
    ~FirstWindowTest() override {
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    }
    void Show(const QStringList& arguments) {
        const CommandLine command = ParseCommandLine(arguments);
        app::ShowFirstWindow(program, command);
    }

    testing_support::TempFolder work;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    app::Program program;
};

}  // namespace

TEST_F(FirstWindowTest, ResultsFilesOpenInTheManagerAndTheLauncherComesWhenItCloses) {
    Show({File("bad.wyn"), File("a.wyn"), File("b.WYN")});
    EXPECT_TRUE(program.Form3->isVisible());
    EXPECT_FALSE(program.Form0->isVisible());
    EXPECT_TRUE(program.Form8->isVisible());  // the survey text, as after "Otwórz"
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("To nie jest plik wyników...")});
    EXPECT_EQ(program.results.Tally.RespondentCount, 24);
    EXPECT_EQ(program.Form3->Caption(), QStringLiteral("Menedżer wyników :   Ankieta, Ankietowanych: 24"));
    program.Form3->close();
    EXPECT_TRUE(program.Form0->isVisible());
    EXPECT_FALSE(program.Form8->isVisible());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(FirstWindowTest, ASurveyOpensInTheEditorAndTheLauncherComesWhenItCloses) {
    Show({File("s.ank")});
    EXPECT_TRUE(program.Form1->isVisible());
    EXPECT_FALSE(program.Form0->isVisible());
    EXPECT_EQ(program.editor.QuestionTotal, 2);
    EXPECT_EQ(program.Form1->Edit(1)->text(), QStringLiteral("Pierwsze"));
    EXPECT_EQ(program.Form1->Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z2, Odpowiedzi: 1"));
    program.Form1->close();
    EXPECT_TRUE(program.Form0->isVisible());
    EXPECT_TRUE(dialogs.notices().isEmpty());
}

TEST_F(FirstWindowTest, AnEditorOpenInAnotherCopyLeavesTheLauncherShown) {
    editor::QuestionWorkFiles other(work.path());
    ASSERT_EQ(other.Claim(), QString());
    Show({File("s.ank")});
    EXPECT_FALSE(program.Form1->isVisible());
    EXPECT_TRUE(program.Form0->isVisible());
    EXPECT_EQ(dialogs.notices().size(), 1);
    other.Release();
}

TEST_F(FirstWindowTest, WithoutArgumentsOnlyTheLauncherIsShown) {
    Show({});
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_EQ(window->isVisible(), window == program.Form0.get()) << window->windowTitle().toStdString();
    }
}
