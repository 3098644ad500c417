// The survey editor window: layout, opening and closing, navigation and editing of the
// questions, and the menu "Ankiety" that starts, opens and saves survey files.
#include "editor/survey_editor_window.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <algorithm>

#include "editor/survey_file.h"
#include "editor/survey_printout.h"
#include "platform/accessibility.h"
#include "platform/controls.h"
#include "platform/file_names.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/text_file.h"

namespace editor {
namespace {

const QString kTimes = QStringLiteral("Times New Roman CE");

// "Następne" adds questions up to this number; "Wstaw" may go on to the last work-file number.
constexpr int kAddingLimit = 250;
constexpr int kLastQuestionNumber = 255;

const QString kSurveyFilter = QStringLiteral("Ankiety (*.ank)|*.ank");

}  // namespace

TForm1::TForm1(platform::Dialogs& dialogs, platform::Printer& printer, EditorState& state,
               platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Edytor Ankiet"), QSize(501, 429), platform::BorderStyle::Single),
      printer_(printer),
      state_(state),
      launcher_(launcher) {
    setFont(platform::ControlFont(kTimes, 11));
    BuildControls();
    WireHandlers();
    OnFilesDropped([this](const QStringList& names) { FilesDropped(names); });
    CentreOnScreen();
}

void TForm1::BuildControls() {
    QWidget* client = Client();

    Shape1 = new QFrame(client);
    Shape1->setGeometry(0, 0, 496, 1);
    platform::SetColour(*Shape1, QPalette::Window, QBrush(Qt::black, Qt::CrossPattern));

    Label1 = new QLabel(QStringLiteral("Pytanie "), client);
    Label1->setFont(platform::ControlFont(kTimes, 15, true));
    Label1->move(8, 8);
    Label1->setFixedHeight(17);
    Label1->adjustSize();
    for (int a = 1; a <= 9; ++a) {
        const QString text = QStringLiteral("Odp. ") + QChar(u'A' + a - 1) + u')';
        QLabel* label = new QLabel(text, client);
        label->setFont(platform::ControlFont(kTimes, 15, true));
        label->move(8, 43 + 40 * (a - 1));
        label->adjustSize();
        label->setFixedHeight(17);
        AnswerLabels[a - 1] = label;
    }

    for (int n = 1; n <= 20; ++n) {
        auto* edit = new platform::EditBox(client, 60);
        edit->setObjectName(QStringLiteral("Edit") + QString::number(n));
        edit->setFrame(false);
        int y;
        if (n <= 2) {
            y = n == 1 ? 8 : 24;
            edit->setFont(platform::ControlFont(kTimes, 13, true));
        } else {
            const int answer = (n - 1) / 2;  // Edit3/Edit4 are answer 1, ...
            y = (n % 2 == 1 ? 46 : 62) + 40 * (answer - 1);
            edit->setFont(platform::ControlFont(kTimes, 13));
        }
        // The design-time text, which FormShow clears; set after the font, so that it is laid out
        // once.
        edit->setText(edit->objectName());
        edit->setGeometry(64, y, 369, 17);
        edits_[n - 1] = edit;
        // Named after the labels: "Pytanie, wiersz 1", "Odpowiedź C, wiersz 2"; the label beside
        // a first line is tied to it.
        const int line = n % 2 == 1 ? 1 : 2;
        if (n <= 2) {
            platform::NameControl(edit, QStringLiteral("Pytanie, wiersz %1").arg(line),
                                  n == 1 ? Label1 : nullptr);
        } else {
            const int answer = (n - 1) / 2;
            platform::NameControl(
                edit,
                QStringLiteral("Odpowiedź %1, wiersz %2").arg(QChar(u'A' + answer - 1)).arg(line),
                line == 1 ? AnswerLabels[answer - 1] : nullptr);
        }
    }

    Button2 = AddButton(QStringLiteral("Poprzednie"), {10, 405, 101, 21});
    Button3 = AddButton(QStringLiteral("Wstaw"), {160, 405, 76, 21});
    Button4 = AddButton(QStringLiteral("Usuń"), {265, 405, 76, 21});
    Button1 = AddButton(QStringLiteral("Następne"), {390, 405, 101, 21});
    for (QPushButton* button : {Button1, Button2, Button3, Button4}) {
        button->setFont(platform::ControlFont(kTimes, 13));
    }

    ComboBox1 = new platform::ComboBox(client);
    ComboBox1->setGeometry(445, 10, 46, 22);
    ComboBox1->setFont(platform::ControlFont(QStringLiteral("Arial CE"), 11));
    ComboBox1->setMaxVisibleItems(25);
    platform::NameControl(ComboBox1, QStringLiteral("Numer pytania"));

    // Tab order: Edit1 to Edit20, then Button1, Button2, Button3, Button4, ComboBox1.
    QWidget* previous = edits_[0];
    for (int n = 2; n <= 20; ++n) {
        setTabOrder(previous, edits_[n - 1]);
        previous = edits_[n - 1];
    }
    for (QWidget* next : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2),
                          static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button4),
                          static_cast<QWidget*>(ComboBox1)}) {
        setTabOrder(previous, next);
        previous = next;
    }

    Ankiety1 = MenuBar()->addMenu(QStringLiteral("&Ankiety"));
    // Ctrl+A opens the menu, also from an edit box.
    auto* openAnkiety = new QShortcut(QKeySequence(QStringLiteral("Ctrl+A")), this);
    connect(openAnkiety, &QShortcut::activated, this, [this] {
        if (Ankiety1->menuAction()->isEnabled()) MenuBar()->setActiveAction(Ankiety1->menuAction());
    });
    // Each item with its Alt letter and its standard key; an edit box takes none of these.
    Nowa1 = Ankiety1->addAction(QStringLiteral("&Nowa"));
    Nowa1->setShortcut(QKeySequence::New);
    Otworz1 = Ankiety1->addAction(QStringLiteral("&Otwórz"));
    Otworz1->setShortcut(QKeySequence::Open);
    Zapisz2 = Ankiety1->addAction(QStringLiteral("&Zapisz"));
    Zapisz2->setShortcut(QKeySequence::Save);
    Drukuj1 = Ankiety1->addAction(QStringLiteral("&Drukuj"));
    Drukuj1->setShortcut(QKeySequence::Print);
    Drukujarkuszedoskanowania1 =
        Ankiety1->addAction(QStringLiteral("Drukuj &arkusze do skanowania…"));
}

void TForm1::WireHandlers() {
    // Edit5Change to Edit20Change: the caption follows the answer count. Edit1 to Edit4 have
    // no change handler.
    for (int n = 5; n <= 20; ++n) OnChange(Edit(n), [this] { RefreshCaption(); });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Button3, [this] { Button3Click(); });
    OnClick(Button4, [this] { Button4Click(); });
    OnChange(ComboBox1, [this] { ComboBox1Change(); });
    OnClick(Nowa1, [this] { Nowa1Click(); });
    OnClick(Otworz1, [this] { Otworz1Click(); });
    OnClick(Zapisz2, [this] { Zapisz2Click(); });
    OnClick(Drukuj1, [this] { Drukuj1Click(); });
}

QuestionRecord TForm1::EditTexts() const {
    QuestionRecord record;
    for (int n = 1; n <= 20; ++n) record[n - 1] = Edit(n)->Bytes();
    return record;
}

void TForm1::SaveCurrentQuestion() { state_.workFiles.Write(state_.CurrentQuestion, EditTexts()); }

void TForm1::LoadQuestion(int number) {
    state_.ReadWorkFile(number);
    ShowLineBuffer();
}

void TForm1::ShowLineBuffer() {
    for (int n = 1; n <= 20; ++n) Edit(n)->SetBytes(state_.LineBuffer[n - 1]);
}

QuestionRecord TForm1::ReadQuestion(int number) {
    state_.ReadWorkFile(number);
    return state_.LineBuffer;
}

void TForm1::RefreshCaption() {
    state_.CurrentAnswerCount = CountAnswers(EditTexts());
    UpdateEditorCaption();
}

void TForm1::UpdateEditorCaption() {
    SetCaption(EditorCaption(Caption(), state_.CurrentQuestion, state_.QuestionTotal,
                             state_.CurrentAnswerCount));
}

void TForm1::ShowNumberInCombo() { ComboBox1->SetText(QString::number(state_.CurrentQuestion)); }

void TForm1::SetNavigationEnabled(bool enabled) {
    for (QWidget* control : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2),
                             static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button4),
                             static_cast<QWidget*>(ComboBox1)}) {
        control->setEnabled(enabled);
    }
    Ankiety1->menuAction()->setEnabled(enabled);
}

void TForm1::EnableEditorControls() {
    SetNavigationEnabled(true);
    Button2->setEnabled(state_.CurrentQuestion > 1);
}

void TForm1::AskWithControlsDisabled(const QString& question, const std::function<void()>& onYes) {
    // The question box has no owner window, so the editor keeps the user from its controls.
    SetNavigationEnabled(false);
    try {
        if (dialogs().Question(question)) onYes();
    } catch (...) {
        // A failed work file must not leave the editor without a way on.
        EnableEditorControls();
        throw;
    }
    EnableEditorControls();
}

void TForm1::ClearEditBoxes() {
    for (int n = 1; n <= 20; ++n) Edit(n)->SetBytes({});
}

void TForm1::EmptyComboList() {
    while (ComboBox1->Count() > 0) ComboBox1->RemoveItem(0);
}

void TForm1::StartEmptySurvey() {
    ClearEditBoxes();
    state_.SurveyFile.clear();
    state_.CurrentQuestion = 1;
    state_.QuestionTotal = 1;
    Button2->setEnabled(false);
    SetCaption(Caption().left(13) + QStringLiteral(",  Pytanie 1z1, Odpowiedzi: 1"));
    ComboBox1->AddItem(QStringLiteral("1"));
    ComboBox1->SetText(QStringLiteral("1"));
}

void TForm1::ShowEditor() {
    const QString refusal = state_.workFiles.Claim();
    if (!refusal.isEmpty()) {
        dialogs().Notice(refusal);
        return;
    }
    ShowForm();
}

void TForm1::FormShow() {
    launcher_.HideLauncher();
    StartEmptySurvey();
}

void TForm1::FormClose() {
    state_.workFiles.DeleteAll();
    state_.workFiles.Release();
    EmptyComboList();
    launcher_.ShowLauncher();
}

void TForm1::Button1Click() {
    Edit(1)->setFocus();
    Button2->setEnabled(true);
    if (state_.CurrentQuestion == state_.QuestionTotal && state_.CurrentQuestion < kAddingLimit) {
        AskWithControlsDisabled(QStringLiteral("Czy dodać kolejne pytanie?"), [this] {
            SaveCurrentQuestion();
            ClearEditBoxes();
            ++state_.CurrentQuestion;
            ++state_.QuestionTotal;
            ComboBox1->AddItem(QString::number(state_.CurrentQuestion));
            ShowNumberInCombo();
            RefreshCaption();
        });
    } else if (state_.CurrentQuestion < state_.QuestionTotal) {
        SaveCurrentQuestion();
        ++state_.CurrentQuestion;
        ShowNumberInCombo();
        LoadQuestion(state_.CurrentQuestion);
        RefreshCaption();
        if (state_.CurrentQuestion == kAddingLimit) {
            dialogs().Notice(QStringLiteral("Nie można więcej niż 250 pytań"));
        }
    }
}

void TForm1::Button2Click() {
    Edit(1)->setFocus();
    SaveCurrentQuestion();
    --state_.CurrentQuestion;
    ShowNumberInCombo();
    if (state_.CurrentQuestion == 1) Button2->setEnabled(false);
    LoadQuestion(state_.CurrentQuestion);
    RefreshCaption();
}

void TForm1::Button3Click() {
    // The work-file numbers and the 8-bit counter end at 255: one more would wrap to 0.
    if (state_.QuestionTotal >= kLastQuestionNumber) {
        dialogs().Notice(QStringLiteral("Nie można wstawić więcej niż 255 pytań"));
        return;
    }
    SaveCurrentQuestion();
    state_.workFiles.ShiftUp(state_.CurrentQuestion, state_.QuestionTotal);
    ClearEditBoxes();
    ++state_.QuestionTotal;
    ComboBox1->AddItem(QString::number(state_.QuestionTotal));
    Edit(1)->setFocus();
    RefreshCaption();
}

void TForm1::Button4Click() {
    Edit(1)->setFocus();
    if (state_.QuestionTotal == 1) {
        dialogs().Notice(QStringLiteral("Nie możesz usunąć ostatniego pytania"));
    } else {
        AskWithControlsDisabled(QStringLiteral("Czy na pewno usunąć to pytanie?"), [this] {
            // The last question's file stays as a leftover; any other is dropped and the later
            // ones close the gap, so the question that followed comes on screen.
            if (state_.CurrentQuestion == state_.QuestionTotal) {
                --state_.CurrentQuestion;
            } else {
                state_.workFiles.ShiftDown(state_.CurrentQuestion, state_.QuestionTotal);
            }
            --state_.QuestionTotal;
            ComboBox1->RemoveItem(ComboBox1->Count() - 1);
            ShowNumberInCombo();
            LoadQuestion(state_.CurrentQuestion);
        });
    }
    RefreshCaption();
}

void TForm1::ComboBox1Change() {
    Edit(1)->setFocus();
    const int index = ComboBox1->ItemIndex();
    if (index < 0) {
        // Typed text that names no question: the current number comes back, nothing moves.
        ComboBox1->SetItemIndex(state_.CurrentQuestion - 1);
        return;
    }
    SaveCurrentQuestion();
    state_.CurrentQuestion = static_cast<std::uint8_t>(index + 1);
    Button2->setEnabled(state_.CurrentQuestion > 1);
    LoadQuestion(state_.CurrentQuestion);
    RefreshCaption();
}

void TForm1::Nowa1Click() {
    if (!dialogs().Question(QStringLiteral("Czy wyzerować wszystkie pytania?"))) return;
    EmptyComboList();
    StartEmptySurvey();
}

void TForm1::Otworz1Click() {
    OpenSurveyFile(dialogs().OpenFileName(
        {QStringLiteral("Wybierz plik ankiety do wczytania..."), kSurveyFilter, {}}));
}

void TForm1::FilesDropped(const QStringList& names) {
    if (names.size() != 1 || !platform::HasExtension(names.front(), QStringLiteral(".ank"))) {
        dialogs().Notice(QStringLiteral("Tu można upuścić tylko jeden plik ankiety (*.ank)..."));
        return;
    }
    OpenSurveyFile(names.front());
}

void TForm1::OpenSurveyFile(const QString& name) {
    if (name.isEmpty()) return;
    // The whole file is read before anything changes, so that a file that cannot be read leaves
    // the questionnaire being edited as it was.
    platform::TextFileReader file(name);
    if (!IsSurveyMagic(file.ReadLine())) {
        dialogs().Notice(QStringLiteral("To nie jest plik ankiety..."));
        file.Close();
        return;
    }
    std::vector<QuestionRecord> questions = ReadSurveyQuestions(file);
    file.Close();
    // A survey of no questions opens as one empty question, so the editor always has one.
    if (questions.empty()) questions.emplace_back();
    try {
        for (std::size_t number = 1; number <= questions.size(); ++number) {
            state_.LineBuffer = questions[number - 1];
            state_.WriteWorkFile(static_cast<int>(number));
        }
    } catch (...) {
        // Work files only partly rewritten hold neither questionnaire: the editor starts an
        // empty one, so that no later "Zapisz" takes them for questions.
        EmptyComboList();
        StartEmptySurvey();
        throw;
    }
    EmptyComboList();
    state_.QuestionTotal = static_cast<std::uint8_t>(questions.size());
    for (int number = 1; number <= state_.QuestionTotal; ++number) {
        ComboBox1->AddItem(QString::number(number));
    }
    state_.CurrentQuestion = 1;
    Button2->setEnabled(false);
    state_.SurveyFile = name;
    state_.LineBuffer = questions.front();
    ShowLineBuffer();
    RefreshCaption();
    ShowNumberInCombo();
}

void TForm1::Zapisz2Click() {
    SaveCurrentQuestion();
    QString name = dialogs().SaveFileName(
        {QStringLiteral("Wybierz plik, w którym chcesz zapisać ankietę..."), kSurveyFilter, {}});
    if (name.isEmpty()) return;
    SaveSurveyFile(name);
}

void TForm1::SaveSurveyFile(QString name) {
    SaveCurrentQuestion();
    name = platform::ReplaceExtension(name, QStringLiteral(".ank"));
    // The old file is replaced only once the new one is complete.
    platform::WriteFileReplacing(name, [this](platform::TextFileWriter& file) {
        WriteSurvey(file, state_.QuestionTotal,
                    [this](int number) { return ReadQuestion(number); });
    });
    state_.SurveyFile = name;
}

std::vector<QuestionRecord> TForm1::SurveyQuestions() {
    SaveCurrentQuestion();
    std::vector<QuestionRecord> questions;
    for (int number = 1; number <= state_.QuestionTotal; ++number) {
        questions.push_back(SavedQuestion(ReadQuestion(number)));
    }
    return questions;
}

void TForm1::Drukuj1Click() {
    SaveCurrentQuestion();
    PrintSurvey(printer_, state_.QuestionTotal,
                [this](int number) { return ReadQuestion(number); });
}

}  // namespace editor
