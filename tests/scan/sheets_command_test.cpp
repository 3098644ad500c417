// "narzedzia arkusze": its options, the PDF it writes and its exit status.
#include <gtest/gtest.h>

#include <QDir>

#include "scan/scan_commands.h"
#include "support/temp_folder.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// The pages of a PDF that Qt wrote: its page objects, each "/Type /Page" not followed by "s".
int PdfPages(const QByteArray& pdf) {
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1)) {
        if (pdf.mid(at + 11, 1) != "s") ++pages;
    }
    return pages;
}

TEST(SheetsCommand, WritesTheAskedCopiesOrRefusesWithStatusTwo) {
    testing_support::TempFolder folder;
    // Two questions of two answers: one page a sheet.
    WriteBytes(folder.File("Klasa 3b.ank"),
               "TARVO\r\n2\r\n2\r\nPytanie\r\n\r\ntak\r\n\r\nnie\r\n\r\n"
               "2\r\nDrugie\r\n\r\ntak\r\n\r\nnie\r\n\r\n");
    WriteBytes(folder.File("pusta.ank"), "TARVO\r\n0\r\n");
    WriteBytes(folder.File("inny.txt"), "RESULTS\r\n");
    const QString survey = folder.File("Klasa 3b.ank");
    const struct {
        QStringList arguments;
        int status;
        int pages;  // of the PDF "OUT", or 0 when none is written
    } cases[] = {
        {{QStringLiteral("--help")}, 0, 0},
        {{}, 2, 0},
        {{survey, survey}, 2, 0},
        {{QStringLiteral("--kopie"), QStringLiteral("0"), survey}, 2, 0},
        {{QStringLiteral("--kopie=1000"), survey}, 2, 0},
        {{QStringLiteral("--od"), QStringLiteral("99999"), QStringLiteral("--kopie=2"), survey}, 2, 0},
        {{QStringLiteral("--kopie"), QStringLiteral("dwie"), survey}, 2, 0},
        {{QStringLiteral("-o"), QStringLiteral("OUT"), folder.File("inny.txt")}, 2, 0},
        {{QStringLiteral("-o"), QStringLiteral("OUT"), folder.File("pusta.ank")}, 2, 0},
        {{QStringLiteral("-o"), QStringLiteral("OUT"), survey}, 0, 1},
        {{QStringLiteral("--output=OUT"), QStringLiteral("--kopie"), QStringLiteral("3"),
          QStringLiteral("--od=99997"), survey},
         0,
         3},
    };
    for (const auto& c : cases) {
        testing_support::TempFolder out;
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("OUT"), out.File("arkusze.pdf"));
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(scan::RunSheetsCommand(arguments), c.status);
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), c.pages > 0 ? 1 : 0);
        if (c.pages > 0) {
            EXPECT_EQ(PdfPages(ReadBytes(out.File("arkusze.pdf"))), c.pages);
        }
    }
}

TEST(SheetsCommand, WithoutAnOutputTheFileIsNamedAfterTheSurveyInTheCurrentFolder) {
    testing_support::TempFolder folder;
    WriteBytes(folder.File("Zażółć 3b.ank"), "TARVO\r\n1\r\n2\r\nPytanie\r\n\r\ntak\r\n\r\nnie\r\n\r\n");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    EXPECT_EQ(scan::RunSheetsCommand({QStringLiteral("Zażółć 3b.ank")}), 0);
    QDir::setCurrent(before);
    EXPECT_EQ(PdfPages(ReadBytes(folder.File("Zażółć 3b-arkusze.pdf"))), 1);
}

}  // namespace
