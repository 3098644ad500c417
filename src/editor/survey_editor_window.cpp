// The survey editor window: layout, opening and closing, and the work-file steps it shares
// with every navigation and file action.
#include "editor/survey_editor_window.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>

#include "platform/fonts.h"
#include "platform/printer.h"

namespace editor {
namespace {

const QString kTimes = QStringLiteral("Times New Roman CE");

}  // namespace

TForm1::TForm1(platform::Dialogs& dialogs, platform::Printer& printer, EditorState& state,
               platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Edytor Ankiet"), QSize(501, 429), platform::BorderStyle::Single),
      printer_(printer),
      state_(state),
      launcher_(launcher) {
    setFont(platform::ControlFont(kTimes, 11));
    BuildControls();
    CentreOnScreen();
}

void TForm1::BuildControls() {
    QWidget* client = Client();

    Shape1 = new QFrame(client);
    Shape1->setGeometry(0, 0, 496, 1);
    Shape1->setStyleSheet(QStringLiteral("background-color: #808080;"));

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
        edit->setText(edit->objectName());  // the design-time text; FormShow clears it
        int y;
        if (n <= 2) {
            y = n == 1 ? 8 : 24;
            edit->setFont(platform::ControlFont(kTimes, 13, true));
        } else {
            const int answer = (n - 1) / 2;  // Edit3/Edit4 are answer 1, ...
            y = (n % 2 == 1 ? 46 : 62) + 40 * (answer - 1);
            edit->setFont(platform::ControlFont(kTimes, 13));
        }
        edit->setGeometry(64, y, 369, 17);
        edits_[n - 1] = edit;
    }

    Button2 = new QPushButton(QStringLiteral("Poprzednie"), client);
    Button2->setGeometry(10, 405, 101, 21);
    Button3 = new QPushButton(QStringLiteral("Wstaw"), client);
    Button3->setGeometry(160, 405, 76, 21);
    Button4 = new QPushButton(QStringLiteral("Usuń"), client);
    Button4->setGeometry(265, 405, 76, 21);
    Button1 = new QPushButton(QStringLiteral("Następne"), client);
    Button1->setGeometry(390, 405, 101, 21);
    for (QPushButton* button : {Button1, Button2, Button3, Button4}) {
        button->setFont(platform::ControlFont(kTimes, 13));
    }

    ComboBox1 = new platform::ComboBox(client);
    ComboBox1->setGeometry(445, 10, 46, 22);
    ComboBox1->setFont(platform::ControlFont(QStringLiteral("Arial CE"), 11));
    ComboBox1->setMaxVisibleItems(25);

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
    Ankiety1->menuAction()->setShortcut(QKeySequence(QStringLiteral("Ctrl+A")));
    Nowa1 = Ankiety1->addAction(QStringLiteral("Nowa"));
    Otworz1 = Ankiety1->addAction(QStringLiteral("Otwórz"));
    Zapisz2 = Ankiety1->addAction(QStringLiteral("Zapisz"));
    Drukuj1 = Ankiety1->addAction(QStringLiteral("Drukuj"));

    // Edit5Change to Edit20Change: the caption follows the answer count. Edit1 to Edit4 have
    // no change handler.
    for (int n = 5; n <= 20; ++n) OnChange(Edit(n), [this] { RefreshCaption(); });
}

QuestionRecord TForm1::EditTexts() const {
    QuestionRecord record;
    for (int n = 1; n <= 20; ++n) record[n - 1] = Edit(n)->Bytes();
    return record;
}

void TForm1::SaveCurrentQuestion() { state_.workFiles.Write(state_.CurrentQuestion, EditTexts()); }

void TForm1::LoadQuestion(int number) {
    state_.ReadWorkFile(number);
    for (int n = 1; n <= 20; ++n) Edit(n)->SetBytes(state_.LineBuffer[n - 1]);
}

void TForm1::RefreshCaption() {
    state_.CurrentAnswerCount = CountAnswers(EditTexts());
    UpdateEditorCaption();
}

void TForm1::UpdateEditorCaption() {
    SetCaption(EditorCaption(Caption(), state_.CurrentQuestion, state_.QuestionTotal,
                             state_.CurrentAnswerCount));
}

void TForm1::FormShow() {
    launcher_.HideLauncher();
    for (int n = 1; n <= 20; ++n) Edit(n)->clear();
    state_.CurrentQuestion = 1;
    state_.QuestionTotal = 1;
    Button2->setEnabled(false);
    SetCaption(Caption().left(13) + QStringLiteral(",  Pytanie 1z1, Odpowiedzi: 1"));
    ComboBox1->AddItem(QStringLiteral("1"));
    ComboBox1->SetText(QStringLiteral("1"));
}

void TForm1::FormClose() {
    state_.workFiles.DeleteAll();
    for (int i = 0; i < state_.QuestionTotal; ++i) ComboBox1->RemoveItem(0);
    launcher_.ShowLauncher();
}

}  // namespace editor
