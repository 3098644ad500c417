// Controls changed by the program run their handlers as a user's change would, the combo box
// excepted; the window frame runs FormShow and FormClose and guards every handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/io_error.h"
#include "support/scripted_dialogs.h"

using testing_support::ScriptedDialogs;

namespace {

class ProbeForm : public platform::Form {
public:
    explicit ProbeForm(platform::Dialogs& dialogs)
        : Form(dialogs, QStringLiteral("Próba"), QSize(200, 100), platform::BorderStyle::Single) {}
    int shows = 0;
    int closes = 0;

protected:
    void FormShow() override { ++shows; }
    void FormClose() override { ++closes; }
};

}  // namespace

TEST(ComboBox, OnlyTheUsersPickOrTypingRunsTheChangeHandler) {
    ScriptedDialogs dialogs;
    ProbeForm form(dialogs);
    auto* combo = new platform::ComboBox(form.Client());
    for (const char* item : {"1", "2", "3"}) combo->AddItem(QString::fromUtf8(item));
    int changes = 0;
    form.OnChange(combo, [&] { ++changes; });

    combo->SetText(QStringLiteral("2"));
    combo->SetItemIndex(2);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo->Text(), QStringLiteral("3"));
    EXPECT_EQ(combo->ItemIndex(), 2);

    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("7"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), -1);  // typed text matching no item selects none
    EXPECT_EQ(combo->Count(), 3);       // and is never added as an item

    emit combo->activated(1);  // the user's pick from the list
    EXPECT_EQ(changes, 2);
}

TEST(EditBoxAndComboBox, CtrlASelectsAllWhereNoShortcutTakesIt) {
    QWidget window;
    auto* edit = new platform::EditBox(&window);
    auto* combo = new platform::ComboBox(&window);
    combo->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (QLineEdit* box : {static_cast<QLineEdit*>(edit), combo->lineEdit()}) {
        box->setText(QStringLiteral("tekst"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(box->selectedText(), QStringLiteral("tekst"));
    }
}

TEST(Form, ProgramChangesRunHandlersLikeTheUsers) {
    ScriptedDialogs dialogs;
    ProbeForm form(dialogs);
    auto* edit = new QLineEdit(form.Client());
    auto* check = new QCheckBox(form.Client());
    auto* radio1 = new QRadioButton(form.Client());
    auto* radio2 = new QRadioButton(form.Client());
    auto* scroll = new QScrollBar(Qt::Horizontal, form.Client());
    int edits = 0, checks = 0, radios = 0, scrolls = 0;
    form.OnChange(edit, [&] { ++edits; });
    form.OnToggle(check, [&] { ++checks; });
    form.OnChecked(radio2, [&] { ++radios; });
    form.OnChange(scroll, [&] { ++scrolls; });

    edit->setText(QStringLiteral("x"));
    check->setChecked(true);
    check->setChecked(false);
    radio2->setChecked(true);
    radio1->setChecked(true);  // radio2 unchecked: its click handler does not run
    scroll->setRange(1, 10);
    scroll->setValue(5);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(radios, 1);
    EXPECT_EQ(scrolls, 2);  // the range pulled the position to 1, then 5
}

TEST(Form, AFailingHandlerStopsAtThatStepAndShowsTheErrorWithAFullStop) {
    ScriptedDialogs dialogs;
    ProbeForm form(dialogs);
    int before = 0, after = 0;
    const bool completed = form.Handle([&] {
        ++before;
        throw platform::IoError(platform::IoError::FileNotFound);
        ++after;
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
    EXPECT_TRUE(form.Handle([] {}));
}

TEST(Form, ShowAndCloseRunTheirHandlers) {
    ScriptedDialogs dialogs;
    ProbeForm form(dialogs);
    form.ShowForm();
    form.ShowForm();  // already open: only brought to the front
    EXPECT_EQ(form.shows, 1);
    EXPECT_TRUE(form.isVisible());
    form.CloseForm();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.closes, 1);
    form.CloseForm();  // closing a window that is not open runs its closing too, harmlessly
    EXPECT_EQ(form.closes, 2);
    form.ShowForm();
    EXPECT_EQ(form.shows, 2);
    form.close();  // the title bar's close button
    EXPECT_EQ(form.closes, 3);
}

TEST(Form, HasItsFixedClientSizeAndCaption) {
    ScriptedDialogs dialogs;
    ProbeForm form(dialogs);
    form.ShowForm();
    EXPECT_EQ(form.ClientSize(), QSize(200, 100));
    EXPECT_EQ(form.Caption(), QStringLiteral("Próba"));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());  // not resizable
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    form.CloseForm();
}
