// Moving through a sheet, marking its answers, and the texts of the question on screen.
#include "collect/sheet_typing.h"

#include <QStringList>
#include <numeric>

#include "platform/encoding.h"

namespace collect {
namespace {

// The answer 1..9 a key stands for: a to i in either case, 1 to 9; 0 for any other key.
int AnswerOfKey(const QString& text) {
    if (text.size() != 1) return 0;
    const char16_t c = text[0].toLower().unicode();
    if (c >= u'a' && c <= u'i') return c - u'a' + 1;
    if (c >= u'1' && c <= u'9') return c - u'1' + 1;
    return 0;
}

// The text of a pair of lines (a question's or an answer's) on one line.
QString PairText(const QByteArray& first, const QByteArray& second) {
    if (first.isEmpty() || second.isEmpty()) return platform::FromCodePage(first + second);
    return platform::FromCodePage(first) + u' ' + platform::FromCodePage(second);
}

// The text of an answer of the question on screen, when `texts` holds the questionnaire.
QString AnswerText(const SheetTyping& typing, const std::vector<editor::QuestionRecord>& texts,
                   int answer) {
    if (texts.empty()) return {};
    const editor::QuestionRecord& record = texts[static_cast<std::size_t>(typing.Question() - 1)];
    const auto line = static_cast<std::size_t>(2 * answer);
    return PairText(record[line], record[line + 1]);
}

}  // namespace

SheetTyping::SheetTyping(const results::ResultsTally& tally)
    : questionCount_(tally.QuestionCount),
      answerCounts_(tally.AnswerCount),
      questions_(tally.QuestionCount) {
    std::iota(questions_.begin(), questions_.end(), 1);
}

SheetTyping::SheetTyping(const results::ResultsTally& tally, const results::AnswerSheet& marks,
                         std::vector<int> questions)
    : questionCount_(tally.QuestionCount),
      answerCounts_(tally.AnswerCount),
      questions_(std::move(questions)),
      sheet_(marks) {}

bool SheetTyping::Toggle(int answer) {
    const int question = Question();
    if (question > questionCount_ || answer < 1 || answer > AnswerCount()) return false;
    sheet_.Toggle(question, answer);
    return true;
}

bool SheetTyping::Next() {
    if (step_ + 1 >= questions_.size()) return false;
    ++step_;
    return true;
}

bool SheetTyping::Previous() {
    if (step_ == 0) return false;
    --step_;
    return true;
}

void SheetTyping::StartNewSheet() {
    step_ = 0;
    sheet_ = {};
}

SheetTyping::KeyResult SheetTyping::Press(int key, const QString& text,
                                          Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) return {};
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {Next() ? Outcome::Moved : Outcome::Complete};
        case Qt::Key_Right:
        case Qt::Key_Down:
            return {Next() ? Outcome::Moved : Outcome::Ignored};
        case Qt::Key_Left:
        case Qt::Key_Up:
            return {Previous() ? Outcome::Moved : Outcome::Ignored};
        default:
            break;
    }
    const int answer = AnswerOfKey(text);
    if (answer == 0 || !Toggle(answer)) return {};
    return {Outcome::Toggled, answer};
}

QString SheetAnswers(const results::AnswerSheet& sheet, const results::ResultsTally& tally) {
    QStringList questions;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        QString marks;
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            if (!sheet.IsMarked(q, a)) continue;
            if (!marks.isEmpty()) marks += u' ';
            marks += QChar(u'a' + a - 1);
        }
        questions << QStringLiteral("%1: %2").arg(q).arg(marks.isEmpty() ? QStringLiteral("–") : marks);
    }
    return questions.join(QStringLiteral("   "));
}

std::pair<QString, QString> QuestionLines(const SheetTyping& typing,
                                          const std::vector<editor::QuestionRecord>& texts) {
    const int q = typing.Question();
    // Results of no questions: each Enter counts one respondent.
    if (typing.QuestionCount() == 0) return {QStringLiteral("Ankieta nie ma pytań"), {}};
    if (texts.empty()) {
        return {QStringLiteral("Pytanie %1").arg(q),
                QStringLiteral("(treść pytań jest w oknie \"Treść ankiety\")")};
    }
    const editor::QuestionRecord& record = texts[static_cast<std::size_t>(q - 1)];
    const bool both = !record[0].isEmpty() && !record[1].isEmpty();
    return {platform::FromCodePage(record[0].isEmpty() ? record[1] : record[0]),
            both ? platform::FromCodePage(record[1]) : QString()};
}

QString AnswerLine(const SheetTyping& typing, const std::vector<editor::QuestionRecord>& texts,
                   int answer) {
    const bool marked = typing.Sheet().IsMarked(typing.Question(), answer);
    return (marked ? QStringLiteral("[X]  ") : QStringLiteral("[  ]  ")) +
           QChar(u'a' + answer - 1) + QStringLiteral(") ") + AnswerText(typing, texts, answer);
}

QString AnswerReading(const SheetTyping& typing, const std::vector<editor::QuestionRecord>& texts,
                      int answer) {
    const bool marked = typing.Sheet().IsMarked(typing.Question(), answer);
    const QString text = AnswerText(typing, texts, answer);
    return QChar(u'a' + answer - 1) + (text.isEmpty() ? QString() : QStringLiteral(") ") + text) +
           (marked ? QStringLiteral(": zaznaczona") : QStringLiteral(": nie zaznaczona"));
}

QString QuestionReading(const QString& heading, const SheetTyping& typing,
                        const std::vector<editor::QuestionRecord>& texts) {
    const auto [first, second] = QuestionLines(typing, texts);
    QString spoken = heading + QStringLiteral(": ") + first;
    if (!second.isEmpty()) spoken += u' ' + second;
    QStringList answers;
    if (typing.Question() <= typing.QuestionCount()) {
        for (int a = 1; a <= typing.AnswerCount(); ++a) answers << AnswerReading(typing, texts, a);
    }
    if (answers.isEmpty()) return spoken;
    // A question that ends in its own mark ("Czy…?") is not read with a full stop after it.
    const bool ended = !spoken.isEmpty() && QStringLiteral(".?!:").contains(spoken.back());
    return spoken + (ended ? QStringLiteral(" ") : QStringLiteral(". ")) + answers.join(QStringLiteral("; "));
}

}  // namespace collect
