// The survey text window: the questionnaire's text carried by the loaded results, read-only.
#pragma once

#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "platform/form.h"
#include "results/results_tally.h"

namespace platform {
class Printer;
}

namespace results {

// Prints the survey text on portrait pages, each line after five blanks.
void PrintSurveyText(platform::Printer& printer, const QList<QByteArray>& lines);

class TForm8 : public platform::Form {
    Q_OBJECT
public:
    TForm8(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store);

    // Fills the text box from SurveyText and shows the window (or brings it to the front).
    void ShowSurveyText();

    // Run whenever the window closes, also by its title bar: the results manager unchecks
    // "Treść ankiety".
    std::function<void()> OnClosed;

    QPlainTextEdit* Memo1;
    QPushButton* Button1;  // "Drukuj"
    void Button1Click();

protected:
    void FormClose() override;

private:
    platform::Printer& printer_;
    ResultsStore& store_;
};

}  // namespace results
