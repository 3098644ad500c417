// The survey editor's questionnaire, kept question by question in small work files: the
// question record, the answer-counting rule, the caption rule and the work-file operations.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace platform {
class FolderLock;
}

namespace editor {

// One question as twenty Windows-1250 lines: the question's two lines, then answers A to I, two
// lines each. Line n (from 1) is at index n - 1, so answer a occupies lines 2a+1 and 2a+2.
using QuestionRecord = std::array<QByteArray, 20>;

// The letter position of the last answer from B to I that has any text; 1 when none has. The
// lines of answer A are never looked at.
int CountAnswers(const QuestionRecord& record);

// The editor's caption: the first 13 characters of the current caption, ",  Pytanie ", the
// question number, "z", the question total, ", Odpowiedzi: " and the answer count.
QString EditorCaption(const QString& currentCaption, int currentQuestion, int questionTotal,
                      int answerCount);

// The work files "wyn1", "wyn2", ... of one folder: file N holds question N as twenty lines.
// Only one editor at a time may use a folder, also across copies of the program: it claims the
// folder before it opens and releases it when it closes.
class QuestionWorkFiles {
public:
    explicit QuestionWorkFiles(QString folder);
    ~QuestionWorkFiles();

    // Empty when the folder is now this editor's; otherwise the notice why the editor may not
    // open: the folder is not safe to use, or another editor holds it.
    QString Claim();
    void Release();

    const QString& folder() const { return folder_; }
    QString WorkFileName(int number) const;

    // Writes the twenty lines as file N, replacing an existing file only once it is complete.
    // Work files are plain files: a link of such a name is replaced, never followed.
    void Write(int number, const QuestionRecord& record) const;
    // Reads twenty lines; a shorter file gives empty lines. A missing file is an error.
    QuestionRecord Read(int number) const;
    // Moves files `total` down to `from` each one number up (before an insertion).
    void ShiftUp(int from, int total) const;
    // Deletes file `at` and moves files at+1 up to `total` each one number down.
    void ShiftDown(int at, int total) const;
    // Deletes every work file numbered 0 to 255 (a link by its own name).
    void DeleteAll() const;

private:
    QString folder_;
    std::unique_ptr<platform::FolderLock> lock_;
};

// The editor's program-wide state: the counters, the line buffer and the work files.
struct EditorState {
    explicit EditorState(QString workFilesFolder) : workFiles(std::move(workFilesFolder)) {}

    std::uint8_t CurrentQuestion = 0;  // question shown in the edit boxes, from 1
    std::uint8_t QuestionTotal = 0;    // questions of the survey being edited
    int CurrentAnswerCount = 0;        // answers of the question shown, 1 to 9
    QuestionRecord LineBuffer;         // a record on its way between files and the edit boxes
    // The survey file last opened or saved, empty for a questionnaire started afresh.
    QString SurveyFile;
    QuestionWorkFiles workFiles;

    void ReadWorkFile(int number) { LineBuffer = workFiles.Read(number); }
    void WriteWorkFile(int number) const { workFiles.Write(number, LineBuffer); }
};

}  // namespace editor
