// The review window of scanned sheets.
#include "scan/sheet_review_window.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPixmap>
#include <algorithm>

#include "collect/new_results.h"
#include "collect/sheet_entry_window.h"
#include "platform/accessibility.h"
#include "platform/fonts.h"
#include "results/results_manager_window.h"
#include "scan/read_sheet_numbers.h"
#include "scan/review_picture.h"

namespace scan {
namespace {

const QString kFace = QStringLiteral("MS Sans Serif");
constexpr int kWidth = 760;
constexpr QRect kPictureRect(8, 94, kWidth - 16, 250);

bool Contains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

std::vector<int> QuestionsToCheck(const ScannedSheet& sheet, int questionCount) {
    std::vector<int> questions = sheet.doubtfulQuestions;
    questions.insert(questions.end(), sheet.missingQuestions.begin(), sheet.missingQuestions.end());
    std::sort(questions.begin(), questions.end());
    questions.erase(std::unique(questions.begin(), questions.end()), questions.end());
    std::erase_if(questions, [&](int q) { return q < 1 || q > questionCount; });
    if (questions.empty()) {
        for (int q = 1; q <= questionCount; ++q) questions.push_back(q);
    }
    return questions;
}

SheetReviewWindow::SheetReviewWindow(platform::Dialogs& dialogs, results::TForm3& manager,
                                     ReadSheetNumbers& numbers)
    : Form(dialogs, QStringLiteral("Sprawdzanie arkuszy"), QSize(kWidth, 606),
           platform::BorderStyle::Single),
      manager_(manager),
      numbers_(numbers) {
    setFont(platform::ControlFont(kFace, 11));
    setFocusPolicy(Qt::StrongFocus);
    CentreOnScreen();
    Label1 = AddLabel({8, 8, kWidth - 16, 17}, true);
    Label2 = AddLabel({8, 28, kWidth - 16, 17});
    Question = {AddLabel({8, 52, kWidth - 16, 17}, true), AddLabel({8, 70, kWidth - 16, 17}, true)};
    Image1 = AddLabel(kPictureRect);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setWordWrap(true);
    platform::NameControl(Image1, QStringLiteral("Zeskanowane pytanie"));
    for (int a = 0; a < 9; ++a) Answer[a] = AddLabel({24, 352 + 20 * a, kWidth - 32, 18});
    Label3 = AddLabel({8, 534, kWidth - 16, 17});
    Label3->setText(QStringLiteral(
        "Ramki: gruba ciągła – krzyżyk, kropkowana – puste, podwójna – zamalowane (cofnięte), "
        "gruba kropkowana – niepewne"));
    Label4 = AddLabel({8, 554, kWidth - 16, 17});
    Label4->setText(
        QStringLiteral("a–i lub 1–9: zaznacz / odznacz     Enter, →: dalej (po "
                       "ostatnim pytaniu Enter dodaje arkusz)     ←: wstecz     "
                       "Esc: koniec"));
    Button1 = AddButton(QStringLiteral("&Pomiń arkusz"), {8, 576, 121, 25});
    Button2 = AddButton(QStringLiteral("&Koniec"), {kWidth - 89, 576, 81, 25});
    // Enter and the arrows belong to the sheet; the buttons take Alt+P and Alt+K.
    for (QPushButton* button : {Button1, Button2}) button->setFocusPolicy(Qt::NoFocus);
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { CloseForm(); });
    // Escape ends the window as "Koniec" does.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { CloseForm(); });
    connect(&manager_, &results::TForm3::ResultsClosed, this, [this] {
        if (!Reviewing()) return;
        outcome_.resultsClosed = true;
        CloseForm();
    });
}

void SheetReviewWindow::Review(std::vector<ScannedSheet> sheets,
                               std::function<void(const Outcome&)> finished) {
    sheets_ = std::move(sheets);
    current_ = 0;
    finished_ = std::move(finished);
    outcome_ = {};
    const results::ResultsTally& tally = manager_.Results().Tally;
    texts_ = collect::MatchingSurveyQuestions(tally);
    layout_ = LayOutSheet(tally);
    if (sheets_.empty()) {
        typing_.reset();
        if (finished_) std::exchange(finished_, {})(outcome_);
        return;
    }
    ShowSheet();
    ShowForm();
    setFocus();
    AnnounceQuestion();
}

void SheetReviewWindow::Append(std::vector<ScannedSheet> sheets) {
    if (!Reviewing()) return Review(std::move(sheets), {});
    sheets_.insert(sheets_.end(), std::make_move_iterator(sheets.begin()), std::make_move_iterator(sheets.end()));
    ShowQuestion();  // the count of sheets
    ShowForm();
}

void SheetReviewWindow::keyPressEvent(QKeyEvent* event) {
    // A key held down counts once: a held Enter must not run through the sheets.
    if (event->isAutoRepeat()) return;
    if (event->modifiers() & Qt::AltModifier) return Form::keyPressEvent(event);
    Handle([&] { Key(event->key(), event->text(), event->modifiers()); });
}

void SheetReviewWindow::Key(int key, const QString& text, Qt::KeyboardModifiers modifiers) {
    if (!Reviewing()) return;
    const collect::SheetTyping::KeyResult pressed = typing_->Press(key, text, modifiers);
    switch (pressed.outcome) {
        case collect::SheetTyping::Outcome::Complete:
            return AddReviewedSheet();
        case collect::SheetTyping::Outcome::Moved:
            ShowQuestion();
            return AnnounceQuestion();
        case collect::SheetTyping::Outcome::Toggled:
            ShowAnswer(pressed.answer);
            return platform::Announce(this,
                                      collect::AnswerReading(*typing_, texts_, pressed.answer));
        case collect::SheetTyping::Outcome::Ignored:
            return;
    }
}

void SheetReviewWindow::AddReviewedSheet() {
    const results::ResultsOutcome added = manager_.AddSheet(typing_->Sheet());
    // A refused sheet stays on screen, at its last question.
    if (added != results::ResultsOutcome::Merged) {
        return dialogs().Notice(results::SheetRefusedNotice());
    }
    numbers_.Add(CurrentSheet().number);
    ++outcome_.added;
    NextSheet(QStringLiteral("Dodano arkusz %1. ").arg(CurrentSheet().number));
}

void SheetReviewWindow::Button1Click() {
    if (!Reviewing()) return;
    ++outcome_.skipped;
    NextSheet(QStringLiteral("Pominięto arkusz %1. ").arg(CurrentSheet().number));
}

void SheetReviewWindow::NextSheet(const QString& told) {
    if (++current_ >= sheets_.size()) return CloseForm();
    ShowSheet();
    AnnounceQuestion(told);
}

void SheetReviewWindow::AnnounceQuestion(const QString& before) {
    platform::Announce(this, before + Label2->text() + QStringLiteral(". ") +
                                 collect::QuestionReading(Label1->text(), *typing_, texts_) +
                                 QStringLiteral(". ") + Image1->accessibleDescription());
}

void SheetReviewWindow::FormClose() {
    if (!Reviewing()) return;
    outcome_.unchecked = static_cast<int>(sheets_.size() - current_);
    typing_.reset();
    sheets_.clear();
    // Off the screen before the summary that may follow comes up.
    hide();
    if (finished_) std::exchange(finished_, {})(outcome_);
}

void SheetReviewWindow::ShowSheet() {
    const ScannedSheet& sheet = CurrentSheet();
    const results::ResultsTally& tally = manager_.Results().Tally;
    typing_.emplace(tally, sheet.marks, QuestionsToCheck(sheet, tally.QuestionCount));
    ShowQuestion();
}

void SheetReviewWindow::ShowQuestion() {
    Label1->setText(QStringLiteral("Arkusz %1, pytanie %2 z %3")
                        .arg(CurrentSheet().number)
                        .arg(typing_->Question())
                        .arg(typing_->QuestionCount()));
    Label2->setText(QStringLiteral("Do sprawdzenia: pytanie %1 z %2 tego arkusza, arkusz %3 z %4")
                        .arg(typing_->Step())
                        .arg(typing_->Steps())
                        .arg(current_ + 1)
                        .arg(sheets_.size()));
    const auto [first, second] = collect::QuestionLines(*typing_, texts_);
    Question[0]->setText(first);
    Question[1]->setText(second);
    ShowPicture();
    for (int a = 1; a <= 9; ++a) ShowAnswer(a);
}

void SheetReviewWindow::ShowPicture() {
    const ScannedSheet& sheet = CurrentSheet();
    const int q = typing_->Question();
    const auto picture = std::find_if(sheet.pictures.begin(), sheet.pictures.end(),
                                      [&](const QuestionPicture& p) { return p.question == q; });
    const auto [page, place] = PlaceOf(q);
    if (picture != sheet.pictures.end() && place) {
        QImage shown = ReviewPicture(*picture, *place, sheet.doubtfulBoxes);
        if (shown.width() > kPictureRect.width() || shown.height() > kPictureRect.height()) {
            shown =
                shown.scaled(kPictureRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        Image1->setPixmap(QPixmap::fromImage(shown));
        // What the frames say, for a screen reader.
        QStringList readings;
        for (const BoxReading& box : sheet.doubtfulBoxes) {
            if (box.question != q) continue;
            readings << QChar(u'a' + box.answer - 1) + QStringLiteral(": ") + BoxMarkName(box.mark);
        }
        Image1->setAccessibleDescription(readings.join(QStringLiteral(", ")));
        return;
    }
    // A question of a page that no scan held, or one whose picture is missing: typed from paper.
    const QString text = Contains(sheet.missingQuestions, q) && page
                             ? QStringLiteral(
                                   "Arkusz %1: strona %2 nie została zeskanowana. "
                                   "Zaznacz odpowiedzi tego pytania z papieru.")
                                   .arg(sheet.number)
                                   .arg(page->number)
                             : QStringLiteral(
                                   "Arkusz %1: obrazu tego pytania brak. Zaznacz "
                                   "odpowiedzi z papieru.")
                                   .arg(sheet.number);
    Image1->setText(text);
    Image1->setAccessibleDescription(text);
}

void SheetReviewWindow::ShowAnswer(int answer) {
    QLabel* label = Answer[answer - 1];
    const int q = typing_->Question();
    const bool shown = q <= typing_->QuestionCount() && answer <= typing_->AnswerCount();
    label->setVisible(shown);
    if (!shown) return;
    QString text = collect::AnswerLine(*typing_, texts_, answer);
    for (const BoxReading& box : CurrentSheet().doubtfulBoxes) {
        if (box.question == q && box.answer == answer) {
            text += QStringLiteral("      (odczyt: %1)").arg(BoxMarkName(box.mark));
        }
    }
    label->setText(text);
    collect::ShowMark(*label, typing_->Sheet().IsMarked(q, answer));
}

std::pair<const SheetPage*, const QuestionPlace*> SheetReviewWindow::PlaceOf(int question) const {
    for (const SheetPage& page : layout_) {
        for (const QuestionPlace& place : page.questions) {
            if (place.question == question) return {&page, &place};
        }
    }
    return {nullptr, nullptr};
}

}  // namespace scan
