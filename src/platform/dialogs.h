// The boxes and dialogs the windows open: notice, question, error box, open and save file
// dialogs, the folder dialog, the colour dialog, the box of numbers and the progress box.
// Windows get them injected, so tests answer them by script.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "platform/progress.h"

namespace platform {

// The application title: the caption of notices and error boxes and the program's name.
QString ApplicationTitle();

// One whole number a dialog asks for: its label, the value it starts with and its bounds.
struct NumberField {
    QString label;
    int value = 0;
    int low = 0;
    int high = 0;
};

struct FileDialogOptions {
    QString title;
    QString filter;         // "description|pattern", e.g. "Ankiety (*.ank)|*.ank"
    QString initialFolder;  // empty: the platform's default
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with the text and OK, captioned with the application title.
    virtual void Notice(const QString& text) = 0;
    // A Yes/No box captioned "Pytanie...", buttons "Tak" and "Nie", Yes the default, no icon;
    // true only for Yes.
    virtual bool Question(const QString& text) = 0;
    // The error box: error icon, OK, captioned with the application title.
    virtual void Error(const QString& text) = 0;
    // The chosen file name, or an empty one when the user cancelled. The name field starts empty.
    virtual QString OpenFileName(const FileDialogOptions& options) = 0;
    virtual QString SaveFileName(const FileDialogOptions& options) = 0;
    // Any number of existing files chosen at once, in the order the dialog gives them; none when
    // the user cancelled. Dialogs that choose one file at a time choose that one.
    virtual QStringList OpenFileNames(const FileDialogOptions& options) {
        const QString name = OpenFileName(options);
        return name.isEmpty() ? QStringList() : QStringList{name};
    }
    // An existing folder (the filter is not used); empty when the user cancelled, as dialogs that
    // choose no folders do.
    virtual QString FolderName(const FileDialogOptions&) { return {}; }
    // Files and folders chosen together (scans: files, or a folder of them), in the order the
    // dialog gives them; none when the user cancelled. Dialogs that choose only files choose those.
    virtual QStringList OpenFilesOrFolders(const FileDialogOptions& options) {
        return OpenFileNames(options);
    }
    // A small box captioned `title` asking for whole numbers, each in its own labelled field kept
    // within its bounds, with "OK" and "Anuluj": the numbers as given, or nothing when the user
    // cancelled. Dialogs that ask nothing answer as cancelled.
    virtual std::optional<std::vector<int>> AskNumbers(const QString& title,
                                                       const std::vector<NumberField>& fields) {
        (void)title;
        (void)fields;
        return std::nullopt;
    }
    // The chosen colour; the preset when the user cancelled.
    virtual QColor ChooseColour(QColor preset) = 0;
    // A box that shows how far a long piece of work has come, with a button that stops it; it
    // closes when the returned object is destroyed. Dialogs that show none report nowhere.
    virtual std::unique_ptr<Progress> ShowProgress(const QString&) {
        return std::make_unique<SilentProgress>();
    }
};

// The program's dialogs, in Polish like the rest of the program.
class QtDialogs : public Dialogs {
public:
    void Notice(const QString& text) override;
    bool Question(const QString& text) override;
    void Error(const QString& text) override;
    QString OpenFileName(const FileDialogOptions& options) override;
    QString SaveFileName(const FileDialogOptions& options) override;
    QStringList OpenFileNames(const FileDialogOptions& options) override;
    QString FolderName(const FileDialogOptions& options) override;
    QStringList OpenFilesOrFolders(const FileDialogOptions& options) override;
    std::optional<std::vector<int>> AskNumbers(const QString& title,
                                               const std::vector<NumberField>& fields) override;
    QColor ChooseColour(QColor preset) override;
    std::unique_ptr<Progress> ShowProgress(const QString& text) override;
};

// Makes Qt's own dialogs speak Polish ("Anuluj", "Otwórz", the colour dialog's labels) by
// installing Qt's Polish translations; false when they are not installed.
bool InstallPolishDialogTexts();

// The name filter of a file dialog from "description|pattern".
QString DialogNameFilter(const QString& filter);

}  // namespace platform
