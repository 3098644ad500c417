// The questionnaire form that respondents fill in on their phones: its questions and answers
// taken from the loaded results (and their survey file when it can be read), the form page, the
// other pages and the stylesheet as UTF-8 HTML and CSS, and a sent form read back into a sheet.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "editor/question_work_files.h"
#include "results/answer_sheet.h"
#include "results/results_tally.h"

namespace collect {

struct FormQuestion {
    QStringList lines;    // the question's text, one or two lines
    QStringList answers;  // one text per answer of the results, without its letter
};

struct CollectionForm {
    QString title;
    std::vector<FormQuestion> questions;
};

// The questionnaire's name as its pages show it: the survey name without its folder and ".ank"
// when it names a survey file, "Ankieta" when nothing is left.
QString SurveyTitle(const QByteArray& surveyName);

// The form of the loaded results. The texts come from `survey` when it has the results' number
// of questions; otherwise (or for a question left empty) a question reads "Pytanie N" and its
// answers only their letters.
CollectionForm MakeCollectionForm(const results::ResultsTally& tally,
                                  const std::optional<std::vector<editor::QuestionRecord>>& survey);

// The text with &, <, >, " and ' written as HTML entities.
QString EscapeHtml(const QString& text);

// The frame of every page of the classroom server: the head with its title, a phone's viewport
// and the stylesheet at `styleSheet`, up to the opened <main>; and the end after it.
QString PageHead(const QString& title, const QString& styleSheet = QStringLiteral("/styl.css"));
QString PageTail();

// The form page: `notice` above the form when not empty, the answers of `ticked` ticked, and
// `token` in the form, so that only this page can be sent once.
QByteArray FormPage(const CollectionForm& form, const QByteArray& token, const QString& notice = {},
                    const results::AnswerSheet& ticked = {});
// A page of one message, with a link back to the form when `backToForm`.
QByteArray MessagePage(const QString& title, const QString& message, bool backToForm);
QByteArray StyleSheet();

// The largest body a sent form of this questionnaire can have, every answer ticked, with room
// to spare; anything larger is refused unread.
int MaxSubmissionSize(const CollectionForm& form);

struct Submission {
    QByteArray code;   // as typed, blanks around it removed
    QByteArray token;
    results::AnswerSheet sheet;
};

// Reads a sent form (application/x-www-form-urlencoded): exactly one "kod" and one "token", and
// any number of "q<question>=<letter>" of questions and answers the form has, none twice.
// Nothing when anything else is in it.
std::optional<Submission> ParseSubmission(const QByteArray& body, const CollectionForm& form);

}  // namespace collect
