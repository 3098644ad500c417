// The sheets of the questionnaire in the survey editor: the offer to save it, the numbers asked
// for, and the printout with its progress box.
#include "scan/editor_sheets.h"

#include <QDir>
#include <QFileInfo>

#include "editor/survey_editor_window.h"
#include "editor/survey_file.h"
#include "platform/encoding.h"
#include "platform/printer.h"
#include "platform/progress.h"
#include "scan/sheet_code.h"
#include "scan/sheet_printout.h"

namespace scan {
namespace {

const QString kNotSavedTail =
    QStringLiteral(" (Nie: arkusze zostaną wydrukowane bez zapisywania.)");

// The progress passed on, with the steps done when it was last told: the sheets printed.
class CountingProgress : public platform::Progress {
public:
    explicit CountingProgress(platform::Progress& shown) : shown_(shown) {}
    bool Advance(int done, int total) override {
        done_ = done;
        return shown_.Advance(done, total);
    }
    int Done() const { return done_; }

private:
    platform::Progress& shown_;
    int done_ = 0;
};

// Whether results made from the file would have these questions: the same fingerprint. A file
// that cannot be read any more has none.
bool FileHolds(const QString& file, const SheetSurvey& survey) {
    const auto saved = editor::ReadSurveyFile(file);
    if (!saved || saved->size() > results::kMaxQuestions) return false;
    return SheetSurveyOf(survey.name, *saved).fingerprint == survey.fingerprint;
}

// Offers to save the questionnaire when results of its file would not fit the sheets: it has no
// file yet, or it changed since. False when the user cancelled the save dialog.
bool OfferToSave(editor::TForm1& editor, const SheetSurvey& survey) {
    const QString file = editor.SurveyFileName();
    bool save = false;
    if (file.isEmpty()) {
        editor.AskWithControlsDisabled(
            QStringLiteral("Ankieta nie jest zapisana w pliku, a wyniki arkuszy robi się z pliku "
                           "ankiety („Nowe wyniki z ankiety…”). Czy zapisać ją przed drukowaniem "
                           "arkuszy?") +
                kNotSavedTail,
            [&] { save = true; });
        if (!save) return true;
        editor.Zapisz2Click();
        return !editor.SurveyFileName().isEmpty();
    }
    if (FileHolds(file, survey)) return true;
    editor.AskWithControlsDisabled(
        QStringLiteral("Ankieta zmieniła się od zapisania w pliku %1, a arkusze pasują tylko do "
                       "wyników z ankiety zapisanej tak, jak zostaną wydrukowane. Czy zapisać "
                       "zmiany w tym pliku przed drukowaniem arkuszy?")
                .arg(QDir::toNativeSeparators(file)) +
            kNotSavedTail,
        [&] { editor.SaveSurveyFile(file); });
    return true;
}

}  // namespace

QString SheetSurveyName(const QString& surveyFile) {
    if (surveyFile.isEmpty()) return QStringLiteral("Ankieta");
    return QFileInfo(surveyFile).completeBaseName();
}

void PrintSheetsOfEditor(editor::TForm1& editor, platform::Printer& printer) {
    platform::Dialogs& dialogs = editor.dialogs();
    const std::vector<editor::QuestionRecord> questions = editor.SurveyQuestions();
    if (questions.size() > results::kMaxQuestions) {
        return dialogs.Notice(QStringLiteral("Arkusze można wydrukować dla ankiety o najwyżej %1 "
                                             "pytaniach; ta ma ich %2...")
                                  .arg(results::kMaxQuestions)
                                  .arg(questions.size()));
    }
    if (!OfferToSave(editor, SheetSurveyOf({}, questions))) return;
    const auto numbers =
        dialogs.AskNumbers(QStringLiteral("Drukuj arkusze do skanowania"),
                           {{QStringLiteral("&Liczba arkuszy:"), 1, 1, kMaxCopies},
                            {QStringLiteral("&Numer pierwszego arkusza:"), 1, 1, kMaxSheetNumber}});
    if (!numbers) return;
    const int copies = (*numbers)[0];
    const int first = (*numbers)[1];
    if (first > kMaxSheetNumber - copies + 1) {
        return dialogs.Notice(QStringLiteral("Numery arkuszy sięgają najwyżej %1: od numeru %2 "
                                             "można wydrukować najwyżej %3 arkuszy...")
                                  .arg(kMaxSheetNumber)
                                  .arg(first)
                                  .arg(kMaxSheetNumber - first + 1));
    }
    // The name of the file as saved now, when the offer above saved it.
    const SheetSurvey survey = SheetSurveyOf(
        platform::ToCodePageForDrawing(SheetSurveyName(editor.SurveyFileName())), questions);

    const platform::PrintoutName printoutName(QStringLiteral("Arkusze do skanowania"));
    auto progress = dialogs.ShowProgress(
        QStringLiteral("Drukowanie arkuszy %1–%2...").arg(first).arg(first + copies - 1));
    CountingProgress counting(*progress);
    const bool finished = PrintScanSheets(printer, survey, first, copies, counting);
    progress.reset();
    if (!finished) {
        dialogs.Notice(QStringLiteral("Drukowanie przerwano: wydrukowano arkusze %1–%2; następne "
                                      "można drukować od numeru %3...")
                           .arg(first)
                           .arg(first + counting.Done() - 1)
                           .arg(first + counting.Done()));
    }
}

}  // namespace scan
