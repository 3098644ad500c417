// "Drukuj arkusze do skanowania…" of the survey editor: numbered sheets of the questionnaire
// being edited, printed so that they fit the results made from its survey file.
#pragma once

#include <QString>

namespace editor {
class TForm1;
}
namespace platform {
class Printer;
}

namespace scan {

// The name on the sheets: the survey file's name without its folder and extension, "Ankieta"
// for a questionnaire that has no file.
QString SheetSurveyName(const QString& surveyFile);

// Offers to save a questionnaire that has no file or differs from its file, asks how many
// sheets and the first one's number, and prints them with a progress box that can stop it.
void PrintSheetsOfEditor(editor::TForm1& editor, platform::Printer& printer);

}  // namespace scan
