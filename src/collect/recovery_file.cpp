// Writing, removing and reading the recovery file.
#include "collect/recovery_file.h"

#include <QCryptographicHash>
#include <stdexcept>

#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/text_file.h"
#include "results/results_file.h"
#include "results/results_manager_window.h"

namespace collect {

QString RecoveryFileName(const QString& folder, const QByteArray& surveyName) {
    const QByteArray hash = QCryptographicHash::hash(surveyName, QCryptographicHash::Sha1);
    return platform::JoinPath(
        folder, QStringLiteral("odzysk-%1.wyn").arg(QString::fromLatin1(hash.toHex().left(16))));
}

RecoveryFile::RecoveryFile(QString folder, const results::ResultsStore& store)
    : folder_(std::move(folder)), store_(store) {}

QString RecoveryFile::Path() const { return RecoveryFileName(folder_, store_.Tally.SurveyName); }

void RecoveryFile::Follow(results::TForm3& manager) {
    QObject::connect(&manager, &results::TForm3::SheetsChanged, &manager,
                     [this, &manager] { manager.Handle([this] { Write(); }); });
    QObject::connect(&manager, &results::TForm3::ResultsSaved, &manager,
                     [this, &manager] { manager.Handle([this] { Saved(); }); });
    QObject::connect(&manager, &results::TForm3::ResultsClosed, &manager, [this] { Closed(); });
}

void RecoveryFile::Write() {
    // The sheet is in the loaded results already; the box says that only its copy failed.
    const auto fail = [this](const QString& why) {
        throw std::runtime_error(
            QStringLiteral("Nie można zapisać pliku odzysku %1: %2").arg(Path(), why).toStdString());
    };
    // The folder is the program's own and private; one that is not is never written into.
    if (!platform::WorkFolderProblem(folder_).isEmpty()) {
        fail(QStringLiteral("jego folder musi być zwykłym folderem, którego właścicielem jesteś "
                            "Ty i do którego inni użytkownicy nie mają dostępu"));
    }
    // Written whole and renamed into place: a killed program leaves the previous sheet's file or
    // this one, never a part. It is rewritten after every sheet, so it does not wait for the
    // disk, which would take longer than a key press may.
    try {
        platform::WriteScratchFile(
            Path(), [this](platform::TextFileWriter& file) { results::WriteResults(file, store_); });
    } catch (const platform::IoError& error) {
        fail(QString::fromUtf8(error.what()));
    }
    written_ = true;
}

void RecoveryFile::Saved() {
    if (!written_) return;
    written_ = false;
    Discard();
}

std::optional<results::ResultsTally> RecoveryFile::LeftBehind() const {
    const QString path = Path();
    if (!platform::FileExists(path)) return std::nullopt;
    results::ResultsStore kept;
    try {
        if (results::ReadResultsFile(path, kept).outcome != results::ResultsOutcome::Loaded) {
            return std::nullopt;
        }
    } catch (const platform::IoError&) {
        return std::nullopt;
    }
    const results::ResultsTally& loaded = store_.Tally;
    if (!results::SameSurvey(loaded.SurveyName, loaded.QuestionCount, loaded.AnswerCount,
                             kept.Tally) ||
        kept.Tally == loaded) {
        return std::nullopt;
    }
    return kept.Tally;
}

void RecoveryFile::Discard() { platform::DeleteFile(Path()); }

}  // namespace collect
