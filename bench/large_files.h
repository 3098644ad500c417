// What the file and window benchmarks share: their folder, long Windows-1250 lines, the largest
// survey file, and dialogs and a launcher that stand in for the user's.
#pragma once

#include <QTemporaryDir>

#include "editor/survey_file.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/text_file.h"

namespace bench {

// One folder for every file the benchmarks write; removed at the end of the run.
inline const QTemporaryDir& Folder() {
    static const QTemporaryDir folder;
    return folder;
}

// A Windows-1250 line of `length` bytes, different for every number.
inline QByteArray TextLine(int number, int length) {
    const QByteArray words = "Czy \xB3\xB9ka za szko\xB3\xB9 jest zielona? Odpowiedz szczerze, prosz\xEA. ";
    QByteArray line = QByteArray::number(number) + ". ";
    while (line.size() < length) line += words;
    return line.left(length);
}

// Dialogs that choose one file and answer nothing else.
class ChoosingDialogs : public platform::Dialogs {
public:
    explicit ChoosingDialogs(QString file) : file_(std::move(file)) {}
    void Notice(const QString&) override {}
    bool Question(const QString&) override { return false; }
    void Error(const QString&) override {}
    QString OpenFileName(const platform::FileDialogOptions&) override { return file_; }
    QString SaveFileName(const platform::FileDialogOptions&) override { return {}; }
    QColor ChooseColour(QColor preset) override { return preset; }

private:
    QString file_;
};

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

// A survey of 250 questions, each with its two question lines and nine answers of two lines.
inline QString LargestSurveyFile() {
    static const QString path = [] {
        const QString name = Folder().filePath(QStringLiteral("najwieksza.ank"));
        platform::WriteFileReplacing(name, [](platform::TextFileWriter& file) {
            editor::WriteSurvey(file, 250, [](int number) {
                editor::QuestionRecord record;
                for (int line = 0; line < 20; ++line) record[line] = TextLine(number * 20 + line, 60);
                return record;
            });
        });
        return name;
    }();
    return path;
}

}  // namespace bench
