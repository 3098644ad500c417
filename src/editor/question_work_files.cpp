// Question work files, answer counting and the editor's caption.
#include "editor/question_work_files.h"

#include <utility>

#include "platform/file_names.h"
#include "platform/folder_lock.h"
#include "platform/text_file.h"

namespace editor {

int CountAnswers(const QuestionRecord& record) {
    int count = 1;
    for (int answer = 2; answer <= 9; ++answer) {
        // Lines 2a+1 and 2a+2 (from 1) are at indices 2a and 2a+1.
        if (!record[2 * answer].isEmpty() || !record[2 * answer + 1].isEmpty()) count = answer;
    }
    return count;
}

QString EditorCaption(const QString& currentCaption, int currentQuestion, int questionTotal,
                      int answerCount) {
    return currentCaption.left(13) + QStringLiteral(",  Pytanie ") + QString::number(currentQuestion) +
           u'z' + QString::number(questionTotal) + QStringLiteral(", Odpowiedzi: ") +
           QString::number(answerCount);
}

QuestionWorkFiles::QuestionWorkFiles(QString folder)
    : folder_(std::move(folder)), lock_(std::make_unique<platform::FolderLock>(folder_)) {}

QuestionWorkFiles::~QuestionWorkFiles() = default;

QString QuestionWorkFiles::Claim() {
    const QString problem = platform::WorkFolderProblem(folder_);
    if (!problem.isEmpty()) return problem;
    switch (lock_->TryLock()) {
        case platform::FolderLock::Outcome::Taken:
            return {};
        case platform::FolderLock::Outcome::HeldElsewhere:
            return QStringLiteral("Edytor Ankiet jest już otwarty w innym oknie programu. "
                                  "Zamknij go tam, aby otworzyć go tutaj.");
        case platform::FolderLock::Outcome::Failed:
            break;
    }
    return QStringLiteral("Edytor Ankiet nie może zająć folderu plików roboczych %1.").arg(folder_);
}

void QuestionWorkFiles::Release() { lock_->Unlock(); }

QString QuestionWorkFiles::WorkFileName(int number) const {
    return platform::JoinPath(folder_, QStringLiteral("wyn") + QString::number(number));
}

void QuestionWorkFiles::Write(int number, const QuestionRecord& record) const {
    platform::WriteScratchFile(WorkFileName(number), [&record](platform::TextFileWriter& file) {
        for (const QByteArray& line : record) file.WriteLine(line);
    });
}

QuestionRecord QuestionWorkFiles::Read(int number) const {
    platform::TextFileReader file(WorkFileName(number), platform::Links::NotFollowed);
    QuestionRecord record;
    for (QByteArray& line : record) line = file.ReadLine();
    file.Close();
    return record;
}

void QuestionWorkFiles::ShiftUp(int from, int total) const {
    // From the highest number down, so that no rename meets a file still needed.
    for (int i = total; i >= from; --i) platform::RenameFile(WorkFileName(i), WorkFileName(i + 1));
}

void QuestionWorkFiles::ShiftDown(int at, int total) const {
    platform::DeleteFile(WorkFileName(at));
    for (int i = at + 1; i <= total; ++i) platform::RenameFile(WorkFileName(i), WorkFileName(i - 1));
}

void QuestionWorkFiles::DeleteAll() const {
    for (int number = 0; number <= 255; ++number) platform::DeleteFile(WorkFileName(number));
    // A work file whose writing a killed program cut short.
    for (const QByteArray& name : platform::ListFolder(folder_, platform::kScratchLeftovers)) {
        platform::DeleteFile(platform::EntryPath(folder_, name));
    }
}

}  // namespace editor
