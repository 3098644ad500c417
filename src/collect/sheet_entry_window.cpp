// The sheet typing window.
#include "collect/sheet_entry_window.h"

#include <QKeyEvent>

#include "collect/new_results.h"
#include "collect/recovery_file.h"
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

}  // namespace

void ShowMark(QLabel& label, bool marked) {
    label.setFont(platform::ControlFont(kFace, 11, marked));
    if (marked) {
        platform::SetColour(label, QPalette::Window, kMarkedBackground);
        platform::SetColour(label, QPalette::WindowText, Qt::black);
    } else {
        // The window's own colours, whatever the desktop's are.
        label.setPalette(QPalette());
        label.setAutoFillBackground(false);
    }
}

SheetEntryWindow::SheetEntryWindow(platform::Dialogs& dialogs, results::TForm3& manager,
                                   RecoveryFile& recovery)
    : Form(dialogs, QStringLiteral("Wprowadź odpowiedzi..."), QSize(480, 420),
           platform::BorderStyle::Single),
      manager_(manager),
      recovery_(recovery) {
    setFont(platform::ControlFont(kFace, 11));
    setFocusPolicy(Qt::StrongFocus);
    CentreOnScreen();
    Label1 = AddLabel({8, 8, 464, 17}, true);
    Question = {AddLabel({8, 32, 464, 17}, true), AddLabel({8, 50, 464, 17}, true)};
    for (int a = 0; a < 9; ++a) Answer[a] = AddLabel({24, 76 + 20 * a, 448, 18});
    Label2 = AddLabel({8, 262, 464, 34});
    Label2->setText(QStringLiteral(
        "a–i lub 1–9: zaznacz / odznacz     Enter, →, ↓: dalej     ←, ↑: wstecz\n"
        "Enter przy ostatnim pytaniu: dodaj arkusz     Ctrl+Z: cofnij arkusz"));
    Label3 = AddLabel({8, 302, 464, 17});
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
    texts_ = MatchingSurveyQuestions(loaded);
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
    if ((modifiers & Qt::ControlModifier) && key == Qt::Key_Z) return Button1Click();
    const SheetTyping::KeyResult pressed = typing_->Press(key, text, modifiers);
    switch (pressed.outcome) {
        case SheetTyping::Outcome::Complete:
            return AddTypedSheet();
        case SheetTyping::Outcome::Moved:
            ShowQuestion();
            return AnnounceQuestion();
        case SheetTyping::Outcome::Toggled:
            ShowAnswer(pressed.answer);
            return platform::Announce(this, AnswerReading(*typing_, texts_, pressed.answer));
        case SheetTyping::Outcome::Ignored:
            return;
    }
}

void SheetEntryWindow::AnnounceQuestion(const QString& before) {
    platform::Announce(this, before + QuestionReading(Label1->text(), *typing_, texts_));
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
    const auto [first, second] = QuestionLines(*typing_, texts_);
    Question[0]->setText(first);
    Question[1]->setText(second);
    for (int a = 1; a <= 9; ++a) ShowAnswer(a);
}

void SheetEntryWindow::ShowAnswer(int answer) {
    QLabel* label = Answer[answer - 1];
    const int q = typing_->Question();
    const bool shown = q <= typing_->QuestionCount() && answer <= typing_->AnswerCount();
    label->setVisible(shown);
    if (!shown) return;
    label->setText(AnswerLine(*typing_, texts_, answer));
    ShowMark(*label, typing_->Sheet().IsMarked(q, answer));
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
