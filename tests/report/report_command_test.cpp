// "narzedzia raport": its options, the folders it is given and its exit status.
#include <gtest/gtest.h>

#include <QDir>

#include "report/report_command.h"
#include "support/temp_folder.h"

using testing_support::WriteBytes;

namespace {

QByteArray ResultsFile(const QByteArray& name) {
    return QByteArray("RESULTS\r\n") + name + "\r\n4\r\n1\r\n2\r\n3\r\n1\r\n";
}

TEST(ReportCommandTest, ExitStatusAndFilesWritten) {
    testing_support::TempFolder in;
    WriteBytes(in.File("b.wyn"), ResultsFile("Inna"));  // after a.wyn in name order: refused
    WriteBytes(in.File("a.wyn"), ResultsFile("Ankieta"));
    WriteBytes(in.File("x.wyn"), "NIE\r\n");
    WriteBytes(in.File("Ankieta-wyniki.wyn"), ResultsFile("Ankieta"));
    const QString a = in.File("a.wyn");
    const QString x = in.File("x.wyn");
    const struct {
        QStringList arguments;  // "OUT" stands for the output folder
        int status;
        QStringList files;
    } cases[] = {
        {{QStringLiteral("--help")}, 0, {}},
        {{}, 2, {}},
        {{QStringLiteral("--bogus"), a}, 2, {}},
        {{QStringLiteral("--formats"), QStringLiteral("pdf,doc"), a}, 2, {}},
        {{QStringLiteral("--charts=bar,kolumnowy"), a}, 2, {}},
        {{QStringLiteral("-o")}, 2, {}},
        {{QStringLiteral("--survey"), x, a}, 2, {}},
        {{QStringLiteral("-o"), QStringLiteral("OUT"), x, in.File("brak.wyn")}, 2, {}},
        {{QStringLiteral("-o"), QStringLiteral("OUT"), QStringLiteral("--formats=wyn,csv"), a},
         0,
         {QStringLiteral("Ankieta-tabela.csv"), QStringLiteral("Ankieta-wyniki.wyn")}},
        {{QStringLiteral("--output=OUT"), QStringLiteral("--formats"), QStringLiteral("png"),
          QStringLiteral("--charts"), QStringLiteral("pie"), x, a},
         1,
         {QStringLiteral("Ankieta-pytanie-001-kolowy.png")}},
        // A folder: its results files in name order, the first one read giving the survey.
        {{QStringLiteral("-o"), QStringLiteral("OUT"), QStringLiteral("--formats=txt"), in.path()},
         1,
         {QStringLiteral("Ankieta-tabela.TXT")}},
        // The sums would replace a file they were added from.
        {{QStringLiteral("-o"), in.path(), in.File("Ankieta-wyniki.wyn")}, 2, {}},
    };
    for (const auto& c : cases) {
        testing_support::TempFolder out;
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("OUT"), out.File("raport"));
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(report::RunReportCommand(arguments), c.status);
        EXPECT_EQ(QDir(out.File("raport")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  c.files);
    }
}

}  // namespace
