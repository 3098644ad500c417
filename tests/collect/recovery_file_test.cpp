// The recovery file: a program killed at any moment while sheets are typed keeps every sheet
// but the one being typed; one file per questionnaire; removed only when it holds what was saved.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QProcess>
#include <QRandomGenerator>
#include <csignal>

#include "collect/recovery_file.h"
#include "results/results_file.h"
#include "support/temp_folder.h"

using collect::RecoveryFile;
using collect::RecoveryFileName;

namespace {

// The tally after the child program's first `sheets` sheets.
results::ResultsTally ChildTally(int sheets) {
    results::ResultsTally tally;
    tally.SurveyName = "Ankieta";
    tally.RespondentCount = static_cast<std::uint16_t>(sheets);
    tally.QuestionCount = 20;
    for (int q = 1; q <= 20; ++q) {
        tally.AnswerCount[q] = 4;
        for (int n = 1; n <= sheets; ++n) ++tally.AnswerTally[q][(n + q) % 4 + 1];
    }
    return tally;
}

}  // namespace

TEST(RecoveryFile, AProgramKilledAtAnyMomentLosesAtMostTheSheetBeingTyped) {
    for (int run = 0; run < 6; ++run) {
        testing_support::TempFolder folder;
        ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner));
        QProcess child;
        child.start(QStringLiteral(SHEET_TYPING_CHILD), {folder.path()});
        ASSERT_TRUE(child.waitForStarted());
        // Killed after a few sheets, at a moment of no particular step of the typing.
        const int wanted = 1 + static_cast<int>(QRandomGenerator::global()->bounded(6));
        int reported = 0;
        while (reported < wanted && child.waitForReadyRead(10000)) {
            while (child.canReadLine()) reported = child.readLine().trimmed().toInt();
        }
        ASSERT_GE(reported, wanted) << child.readAllStandardError().toStdString();
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished();
        while (child.canReadLine()) reported = child.readLine().trimmed().toInt();

        // The recovery file whole, and at most a hidden part of the next one beside it: the sheets
        // reported added, or one more.
        QStringList entries = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        entries.removeIf([](const QString& name) { return name.startsWith(u".narzedzia-scratch-"); });
        const QString path = RecoveryFileName(folder.path(), "Ankieta");
        ASSERT_EQ(entries, QStringList{QFileInfo(path).fileName()});
        results::ResultsStore kept;
        ASSERT_EQ(results::ReadResultsFile(path, kept).outcome, results::ResultsOutcome::Loaded);
        const int sheets = kept.Tally.RespondentCount;
        EXPECT_TRUE(sheets == reported || sheets == reported + 1) << sheets << " " << reported;
        EXPECT_EQ(kept.Tally, ChildTally(sheets));
        EXPECT_EQ(kept.SurveyText, QList<QByteArray>{"Ankieta"});
    }
}

TEST(RecoveryFile, OneFilePerQuestionnaireOfferedForItsOwnCountsRemovedOnlyWhenThisRunWroteIt) {
    testing_support::TempFolder folder;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_NE(RecoveryFileName(folder.path(), "Ankieta"), RecoveryFileName(folder.path(), "ankieta"));
    results::ResultsStore store;
    store.Tally = ChildTally(3);
    RecoveryFile recovery(folder.path(), store);
    const QString path = RecoveryFileName(folder.path(), "Ankieta");
    recovery.Write();
    EXPECT_FALSE(recovery.LeftBehind());  // the loaded counts themselves

    // A later run of the same questionnaire: offered, unless the questionnaire changed since.
    recovery.Closed();
    store.Tally = ChildTally(1);
    EXPECT_EQ(recovery.LeftBehind(), ChildTally(3));
    recovery.Saved();  // this run did not write it: it stays
    EXPECT_TRUE(QFile::exists(path));
    store.Tally.AnswerCount[20] = 3;
    EXPECT_FALSE(recovery.LeftBehind());

    store.Tally = ChildTally(1);
    recovery.Write();
    recovery.Saved();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(RecoveryFile, AFolderOpenToOthersIsNeverWrittenInto) {
    testing_support::TempFolder folder;
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther);
    results::ResultsStore store;
    store.Tally = ChildTally(1);
    RecoveryFile recovery(folder.path(), store);
    EXPECT_THROW(recovery.Write(), std::runtime_error);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}
