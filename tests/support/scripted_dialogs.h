// Dialogs for tests: they answer from a script, in turn, and keep what was shown. A test can
// look at a window while a question is open through `whileQuestionOpen`.
#pragma once

#include <QColor>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"

namespace testing_support {

class ScriptedDialogs : public platform::Dialogs {
public:
    enum class Kind {
        Notice, Question, Error, OpenFile, SaveFile, Folder, Colour, Progress, Numbers
    };
    struct Shown {
        Kind kind;
        QString text;  // notices, questions, errors, progress boxes and the numbers box's title
        platform::FileDialogOptions options;  // file dialogs
        QColor preset;                       // colour dialog
    };

    // Scripted answers, taken in turn. A question or dialog without one fails the test and is
    // answered No / cancelled.
    std::deque<bool> answers;
    std::deque<QString> fileNames;  // an empty name is a cancelled dialog; also folders
    // Answers of the several-files dialog; when none is scripted it takes one of `fileNames`.
    std::deque<QStringList> fileLists;
    // The progress box's "Anuluj" is pressed once this many steps are done (never when -1).
    int stopAfterSteps = -1;
    int progressSteps = 0;  // steps reported to the progress boxes
    std::deque<QColor> colours;     // an invalid colour is a cancelled dialog
    // Answers of the box of numbers, each clamped into its field's bounds as the box's fields keep
    // them; nothing is a cancelled box.
    std::deque<std::optional<std::vector<int>>> numbers;
    std::vector<platform::NumberField> numberFields;  // the fields the last box of numbers had
    std::function<void(const QString& question)> whileQuestionOpen;

    std::vector<Shown> shown;
    QStringList Texts(Kind kind) const;
    QStringList notices() const { return Texts(Kind::Notice); }
    QStringList questions() const { return Texts(Kind::Question); }
    QStringList errors() const { return Texts(Kind::Error); }
    const Shown* Last(Kind kind) const;

    void Notice(const QString& text) override;
    bool Question(const QString& text) override;
    void Error(const QString& text) override;
    QString OpenFileName(const platform::FileDialogOptions& options) override;
    QString SaveFileName(const platform::FileDialogOptions& options) override;
    QStringList OpenFileNames(const platform::FileDialogOptions& options) override;
    QString FolderName(const platform::FileDialogOptions& options) override;
    QColor ChooseColour(QColor preset) override;
    std::optional<std::vector<int>> AskNumbers(
        const QString& title, const std::vector<platform::NumberField>& fields) override;
    std::unique_ptr<platform::Progress> ShowProgress(const QString& text) override;

private:
    QString NextName(Kind kind, const platform::FileDialogOptions& options);
};

}  // namespace testing_support
