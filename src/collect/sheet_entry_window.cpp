// The sheet typing window.
#include "collect/sheet_entry_window.h"

#include <QKeyEvent>

#include "collect/recovery_file.h"
#include "editor/survey_file.h"
#include "platform/accessibility.h"
#include "platform/controls.h"
#include "platform/encoding.h"
#include "platform/fonts.h"
#include "results/results_manager_window.h"

namespace collect {
namespace {

const QString kFace = QStringLiteral("MS Sans Serif");
// A marked answer stands out at a glance, as a highlighter marks it on paper: black on yellow.
const QColor kMarkedBackground(0xFF, 0xE0, 0x66);

// The survey file the results are named after, when it still has their questions and answers.
std::vector<editor::QuestionRecord> MatchingTexts(const results::ResultsTally& tally) {
    const auto questions = editor::ReadSurveyFile(platform::FromCodePage(tally.SurveyName));
    if (!questions || questions->size() != tally.QuestionCount) return {};
    for (std::size_t q = 1; q <= questions->size(); ++q) {
        if (editor::CountAnswers((*questions)[q - 1]) != tally.AnswerCount[q]) return {};
    }
    return *questions;
}

// The text of a pair of lines (a question's or an answer's) on one line.
QString PairText(const QByteArray& first, const QByteArray& second) {
    if (first.isEmpty() || second.isEmpty()) return platform::FromCodePage(first + second);
    return platform::FromCodePage(first) + u' ' + platform::FromCodePage(second);
}

// The answer 1..9 a key stands for: a to i in either case, 1 to 9; 0 for any other key.
int AnswerOfKey(const QString& text) {
    if (text.size() != 1) return 0;
    const char16_t c = text[0].toLower().unicode();
    if (c >= u'a' && c <= u'i') return c - u'a' + 1;
    if (c >= u'1' && c <= u'9') return c - u'1' + 1;
    return 0;
}

}  // namespace

SheetEntryWindow::SheetEntryWindow(platform::Dialogs& dialogs, results::TForm3& manager,
                                   RecoveryFile& recovery)
    : Form(dialogs, QStringLiteral("Wprowadź odpowiedzi..."), QSize(480, 420),
           platform::BorderStyle::Single),
      manager_(manager),
      recovery_(recovery) {
    setFont(platform::ControlFont(kFace, 11));
    setFocusPolicy(Qt::StrongFocus);
    CentreOnScreen();
    const auto addLabel = [this](const QRect& geometry, bool bold = false) {
        auto* label = new QLabel(Client());
        label->setGeometry(geometry);
        label->setTextFormat(Qt::PlainText);  // a question's text is never markup
        if (bold) label->setFont(platform::ControlFont(kFace, 11, true));
        return label;
    };
    Label1 = addLabel({8, 8, 464, 17}, true);
    Question = {addLabel({8, 32, 464, 17}, true), addLabel({8, 50, 464, 17}, true)};
    for (int a = 0; a < 9; ++a) Answer[a] = addLabel({24, 76 + 20 * a, 448, 18});
    Label2 = addLabel({8, 262, 464, 34});
    Label2->setText(QStringLiteral(
        "a–i lub 1–9: zaznacz / odznacz     Enter, →, ↓: dalej     ←, ↑: wstecz\n"
        "Enter przy ostatnim pytaniu: dodaj arkusz     Ctrl+Z: cofnij arkusz"));
    Label3 = addLabel({8, 302, 464, 17});
    Memo1 = new QPlainTextEdit(Client());
    Memo1->setGeometry(8, 322, 464, 58);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    platform::NameControl(Memo1, QStringLiteral("Ostatni arkusz"));
    Button1 = AddButton(QStringLiteral("Cofnij ostatni arkusz"), {8, 388, 161, 25});
    Button2 = AddButton(QStringLiteral("Koniec"), {391, 388, 81, 25});
    // Enter and the arrows belong to the sheet; no button may take them.
    for (QPushButton* button : {Button1, Button2}) button->setFocusPolicy(Qt::NoFocus);
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { CloseForm(); });
    // Escape ends the window as "Koniec" does.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { CloseForm(); });
    connect(&manager_, &results::TForm3::ResultsClosed, this, [this] {
        if (isVisible()) CloseForm();
    });
}

void SheetEntryWindow::OpenSheetEntry() {
    if (isVisible()) return ShowForm();
    const results::ResultsTally& loaded = manager_.Results().Tally;
    if (const auto left = recovery_.LeftBehind()) {
        const QString question =
            QStringLiteral("Wprowadzone wcześniej odpowiedzi do tej ankiety nie zostały zapisane "
                           "(ankietowanych: %1). Czy przywrócić je w miejsce wczytanych wyników "
                           "(ankietowanych: %2)?")
                .arg(left->RespondentCount)
                .arg(loaded.RespondentCount);
        if (dialogs().Question(question)) {
            manager_.TakeCounts(*left);
        } else {
            recovery_.Discard();
        }
    }
    typing_.emplace(loaded);
    texts_ = MatchingTexts(loaded);
    added_.clear();
    ShowQuestion();
    ShowSheetsAdded();
    ShowForm();
    setFocus();
    AnnounceQuestion();
}

void SheetEntryWindow::keyPressEvent(QKeyEvent* event) {
    // A key held down counts once: a held Enter must not run through the questions and add
    // empty sheets.
    if (event->isAutoRepeat()) return;
    Handle([&] { Key(event->key(), event->text(), event->modifiers()); });
}

void SheetEntryWindow::Key(int key, const QString& text, Qt::KeyboardModifiers modifiers) {
    if (!typing_) return;
    if (modifiers & Qt::ControlModifier) {
        if (key == Qt::Key_Z) Button1Click();
        return;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!typing_->Next()) return AddTypedSheet();
            ShowQuestion();
            return AnnounceQuestion();
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (typing_->Next()) {
                ShowQuestion();
                AnnounceQuestion();
            }
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
            if (typing_->Previous()) {
                ShowQuestion();
                AnnounceQuestion();
            }
            return;
        default:
            break;
    }
    const int answer = AnswerOfKey(text);
    if (answer > 0 && typing_->Toggle(answer)) {
        ShowAnswer(answer);
        platform::Announce(this, AnswerReading(answer));
    }
}

void SheetEntryWindow::AnnounceQuestion(const QString& before) {
    QStringList lines;
    for (const QLabel* line : Question) {
        if (!line->text().isEmpty()) lines << line->text();
    }
    QString spoken = Label1->text() + QStringLiteral(": ") + lines.join(u' ');
    QStringList answers;
    for (int a = 1; a <= 9; ++a) {
        if (Answer[a - 1]->isVisibleTo(this)) answers << AnswerReading(a);
    }
    if (!answers.isEmpty()) spoken += QStringLiteral(". ") + answers.join(QStringLiteral("; "));
    platform::Announce(this, before + spoken);
}

QString SheetEntryWindow::AnswerText(int answer) const {
    if (texts_.empty()) return {};
    const editor::QuestionRecord& record = texts_[typing_->Question() - 1];
    return PairText(record[2 * answer], record[2 * answer + 1]);
}

QString SheetEntryWindow::AnswerReading(int answer) const {
    const bool marked = typing_->Sheet().IsMarked(typing_->Question(), answer);
    const QString text = AnswerText(answer);
    return QChar(u'a' + answer - 1) + (text.isEmpty() ? QString() : QStringLiteral(") ") + text) +
           (marked ? QStringLiteral(": zaznaczona") : QStringLiteral(": nie zaznaczona"));
}

void SheetEntryWindow::AddTypedSheet() {
    const results::AnswerSheet sheet = typing_->Sheet();
    const results::ResultsOutcome outcome = manager_.AddSheet(sheet);
    // A refused sheet stays on screen, at its last question.
    if (outcome != results::ResultsOutcome::Merged) {
        return dialogs().Notice(results::SheetRefusedNotice());
    }
    added_.push_back(sheet);
    typing_->StartNewSheet();
    ShowQuestion();
    ShowSheetsAdded();
    AnnounceQuestion(QStringLiteral("Dodano arkusz. "));
}

void SheetEntryWindow::Button1Click() {
    if (added_.empty()) return;
    manager_.TakeSheetBack(added_.back());
    added_.pop_back();
    ShowSheetsAdded();
    platform::Announce(this, QStringLiteral("Cofnięto ostatni arkusz. ") + Label3->text());
}

void SheetEntryWindow::ShowQuestion() {
    ShowHeading();
    const int q = typing_->Question();
    if (typing_->QuestionCount() == 0) {
        // Results of no questions: each Enter counts one respondent.
        Question[0]->setText(QStringLiteral("Ankieta nie ma pytań"));
        Question[1]->clear();
    } else if (texts_.empty()) {
        Question[0]->setText(QStringLiteral("Pytanie %1").arg(q));
        Question[1]->setText(QStringLiteral("(treść pytań jest w oknie \"Treść ankiety\")"));
    } else {
        const editor::QuestionRecord& record = texts_[q - 1];
        const bool both = !record[0].isEmpty() && !record[1].isEmpty();
        Question[0]->setText(platform::FromCodePage(record[0].isEmpty() ? record[1] : record[0]));
        Question[1]->setText(both ? platform::FromCodePage(record[1]) : QString());
    }
    for (int a = 1; a <= 9; ++a) ShowAnswer(a);
}

void SheetEntryWindow::ShowAnswer(int answer) {
    QLabel* label = Answer[answer - 1];
    const int q = typing_->Question();
    const bool shown = q <= typing_->QuestionCount() && answer <= typing_->AnswerCount();
    label->setVisible(shown);
    if (!shown) return;
    const bool marked = typing_->Sheet().IsMarked(q, answer);
    label->setText((marked ? QStringLiteral("[X]  ") : QStringLiteral("[  ]  ")) +
                   QChar(u'a' + answer - 1) + QStringLiteral(") ") + AnswerText(answer));
    label->setFont(platform::ControlFont(kFace, 11, marked));
    if (marked) {
        platform::SetColour(*label, QPalette::Window, kMarkedBackground);
        platform::SetColour(*label, QPalette::WindowText, Qt::black);
    } else {
        // The window's own colours, whatever the desktop's are.
        label->setPalette(QPalette());
        label->setAutoFillBackground(false);
    }
}

void SheetEntryWindow::ShowSheetsAdded() {
    Label3->setText(QStringLiteral("Dodane arkusze: %1").arg(SheetsAdded()));
    Memo1->setPlainText(added_.empty() ? QString()
                                       : QStringLiteral("Ostatni arkusz:  ") +
                                             SheetAnswers(added_.back(), manager_.Results().Tally));
    Button1->setEnabled(!added_.empty());
    ShowHeading();
}

void SheetEntryWindow::ShowHeading() {
    const int total = typing_->QuestionCount();
    Label1->setText(QStringLiteral("Arkusz %1, pytanie %2 z %3")
                        .arg(SheetsAdded() + 1)
                        .arg(total == 0 ? 0 : typing_->Question())
                        .arg(total));
}

}  // namespace collect
