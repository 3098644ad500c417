// What a screen reader and a keyboard user get of every window: no interactive object without a
// name, an Alt letter of its own on every menu and item, charts that read the values their
// pictures draw, the table read cell by cell, and the keys that close, save and step.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "results/results_test_files.h"
#include "support/menu_text.h"
#include "support/program_on_folder.h"

using testing_support::ScriptedDialogs;

namespace {

// Twelve respondents: question 1 answered 5, 4, 3 times, question 2 7 and 5 times.
const QByteArray kClass1 = results_testing::ExampleFile();
const QByteArray kClass2 =
    results_testing::Lines({"RESULTS", "Ankieta", "10", "2", "3", "1", "2", "3", "2", "4", "6"});

class AccessibilityTest : public ::testing::Test {
  protected:
    AccessibilityTest() { program.Form7->Timer1.stop(); }

    // The results manager with the class's results, and every chart of them open and drawn.
    void OpenResultsAndCharts() {
        program.Form3->ShowForm();
        run.dialogs.fileNames.push_back(Write("klasa1.wyn", kClass1));
        program.Form3->Otwrz1->trigger();
        for (QAction* item : {program.Form3->Supkowy1, program.Form3->Koowy1,
                              program.Form3->Paskowy1, program.Form3->Multi1}) {
            item->trigger();
        }
        WaitForCharts();
    }
    // The statistics window with both classes in channels 1 and 2, drawn.
    void OpenStatistics() {
        program.Form7->ShowForm();
        run.dialogs.fileNames.push_back(Write("klasa1.wyn", kClass1));
        program.Form7->Kananr11->trigger();
        run.dialogs.fileNames.push_back(Write("klasa2.wyn", kClass2));
        program.Form7->Kananr21->trigger();
        program.Form7->Timer1Timer();
    }
    void WaitForCharts() {
        const std::vector<charts::ChartWindow*> open = Charts();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (charts::ChartWindow* chart : open) {
                if (chart->RedrawRequest) return false;
            }
            return true;
        }));
    }
    std::vector<charts::ChartWindow*> Charts() const {
        return {program.Form4.get(), program.Form5.get(), program.Form6.get(), program.Form9.get()};
    }
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = run.folder.File(name);
        testing_support::WriteBytes(path, bytes);
        return path;
    }
    static QStringList Items(QWidget* picture) {
        QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(picture);
        QStringList items;
        for (int i = 0; i < chart->childCount(); ++i) {
            items << chart->child(i)->text(QAccessible::Name);
        }
        return items;
    }
    // Pressed on a window made the active one, as a user's key reaches it.
    static void Press(QWidget* control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        control->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(control->window()));
        QTest::keyClick(control, static_cast<Qt::Key>(key), modifiers);
    }

    testing_support::ProgramOnFolder run;
    app::Program& program = run.program;
};

// The interactive objects of a window's accessible tree, as "role 'name'", that a listener
// could not tell apart: no name, or a combo box named by nothing but the number it shows (on
// Linux a combo box's name is its text; a label tied to it names it).
void FindUnnamed(QAccessibleInterface* object, const QString& window, QStringList& unnamed) {
    if (!object || object->state().invisible) return;
    const QAccessible::Role role = object->role();
    static const QList<QAccessible::Role> interactive{
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton,
        QAccessible::ComboBox,   QAccessible::EditableText, QAccessible::Table,
        QAccessible::Cell,       QAccessible::Chart,    QAccessible::ListItem,
        QAccessible::MenuItem};
    const QString name = object->text(QAccessible::Name).trimmed();
    const bool named = role == QAccessible::ComboBox
                           ? !object->relations(QAccessible::Label).isEmpty()
                           : !name.isEmpty();
    if ((object->state().focusable || interactive.contains(role)) && !named) {
        unnamed << QStringLiteral("%1: role %2 '%3'").arg(window).arg(role).arg(name);
    }
    for (int i = 0; i < object->childCount(); ++i) FindUnnamed(object->child(i), window, unnamed);
}

// The numbers in texts, each text at most one: "- 42%" and "42" give 42, "Pytanie nr 2" none.
std::vector<int> DrawnNumbers(const std::vector<QByteArray>& texts) {
    static const QRegularExpression number(QStringLiteral("^(- )?(\\d+)%?$"));
    std::vector<int> numbers;
    for (const QByteArray& text : texts) {
        const QRegularExpressionMatch match = number.match(QString::fromLatin1(text));
        if (match.hasMatch()) numbers.push_back(match.captured(2).toInt());
    }
    return numbers;
}

// The percentages and counts the items read: "A, kanał 1 (klasa1.): 42 %, 5 ankietowanych".
std::pair<std::vector<int>, std::vector<int>> ReadNumbers(const QStringList& items) {
    static const QRegularExpression reading(QStringLiteral(": (\\d+) %, (\\d+) ankietowan"));
    std::pair<std::vector<int>, std::vector<int>> numbers;
    for (const QString& item : items) {
        const QRegularExpressionMatch match = reading.match(item);
        EXPECT_TRUE(match.hasMatch()) << item.toStdString();
        numbers.first.push_back(match.captured(1).toInt());
        numbers.second.push_back(match.captured(2).toInt());
    }
    return numbers;
}

// Draws again from the window's kept values and returns the texts drawn; the picture drawn so
// must be the one on screen.
std::vector<QByteArray> Redrawn(QImage& onScreen,
                                const std::function<void(platform::Canvas&)>& draw) {
    QImage picture = charts::BlankPicture(onScreen.size());
    platform::Canvas canvas(picture);
    std::vector<QByteArray> texts;
    canvas.SetTextObserver([&](const platform::DrawnText& drawn) { texts.push_back(drawn.text); });
    draw(canvas);
    EXPECT_EQ(picture, onScreen);
    return texts;
}

}  // namespace

TEST_F(AccessibilityTest, NoInteractiveObjectOfAnyWindowIsWithoutAName) {
    QStringList unnamed;
    const auto walk = [&](QWidget* window) {
        ASSERT_TRUE(window->isVisible()) << window->windowTitle().toStdString();
        FindUnnamed(QAccessible::queryAccessibleInterface(window), window->windowTitle(), unnamed);
    };
    walk(program.Form0.get());
    program.Form1->ShowEditor();
    walk(program.Form1.get());
    program.Form1->close();
    OpenResultsAndCharts();
    for (QWidget* window : std::initializer_list<QWidget*>{
             program.Form3.get(), program.Form8.get(), program.Form4.get(), program.Form5.get(),
             program.Form6.get(), program.Form9.get()}) {
        walk(window);
    }
    program.Form3->Wprowadodpowiedzi1->trigger();
    walk(program.SheetEntry.get());
    program.server.PreferredPort = 0;
    program.Form3->Zbierajodpowiedziwsieci1->trigger();
    walk(program.Form11.get());
    program.Form3->Skanujarkuszetelefonem1->trigger();
    walk(program.PhoneScan.get());
    program.Form3->close();
    OpenStatistics();
    walk(program.Form7.get());
    EXPECT_EQ(unnamed, QStringList());
}

TEST_F(AccessibilityTest, EveryMenuAndItemHasAnAltLetterOfItsOwnAndKeepsItsText) {
    const std::function<void(const QList<QAction*>&, const QString&)> check =
        [&](const QList<QAction*>& items, const QString& where) {
            QList<QKeySequence> letters;
            for (const QAction* item : items) {
                if (item->isSeparator() || !item->isVisible()) continue;
                const QKeySequence letter = QKeySequence::mnemonic(item->text());
                EXPECT_FALSE(letter.isEmpty()) << (where + item->text()).toStdString();
                EXPECT_FALSE(letters.contains(letter)) << (where + item->text()).toStdString();
                EXPECT_FALSE(testing_support::ItemText(item).contains(u'&'));
                letters << letter;
                if (item->menu()) {
                    check(item->menu()->actions(), where + item->text() + QStringLiteral(" > "));
                }
            }
        };
    for (platform::Form* window : std::initializer_list<platform::Form*>{
             program.Form1.get(), program.Form3.get(), program.Form7.get()}) {
        check(window->MenuBar()->actions(), window->Caption() + QStringLiteral(": "));
    }
    EXPECT_EQ(testing_support::ItemText(program.Form3->Skasujplikwynikw1),
              QStringLiteral("Skasuj plik wyników"));
    EXPECT_EQ(program.Form3->Otwrz1->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(program.Form1->Drukuj1->shortcut(), QKeySequence(QKeySequence::Print));
}

TEST_F(AccessibilityTest, EveryChartReadsTheValuesItsPictureDraws) {
    OpenResultsAndCharts();
    // Question 2 on the answers' base in the bar chart; series on questions 2, 1, 2 in the multi.
    program.Form4->Button2Click();
    program.Form4->RadioButton2->setChecked(true);
    program.Form9->SeriesQuestion = {0, 2, 1, 2};
    program.Form9->RequestRedraw();
    WaitForCharts();
    OpenStatistics();
    const results::ResultsTally& tally = program.results.Tally;

    struct Case {
        const char* window;
        charts::PictureBox* picture;
        const char* name;
        std::function<void(platform::Canvas&)> draw;
        std::vector<int> counts;  // of the bars, left to right
        // The drawn values in the order the items read them.
        std::function<std::vector<int>(const std::vector<int>&)> inReadingOrder;
    };
    const auto same = [](const std::vector<int>& drawn) { return drawn; };
    charts::TForm4& bar = *program.Form4;
    charts::TForm9& multi = *program.Form9;
    stats::TForm7& statistics = *program.Form7;
    const Case cases[] = {
        {"bar", bar.Image1, "Wykres słupkowy, pytanie 2 z 2",
         [&](platform::Canvas& c) { DrawBarChart(c, bar.Shares, bar.ScaleToFull); }, {7, 5}, same},
        {"pie", program.Form5->Image1, "Wykres kołowy, pytanie 1 z 2",
         [&](platform::Canvas& c) { DrawPieChart(c, program.Form5->Shares); }, {5, 4, 3}, same},
        {"stripe", program.Form6->Image1, "Wykres paskowy, pytanie 1 z 2",
         [&](platform::Canvas& c) { DrawStripeChart(c, program.Form6->Shares); }, {5, 4, 3}, same},
        // Groups a, b, c: the series on questions 2, 1, 2 where the question has the answer.
        {"multi", multi.Image1, "Wykres Multi, pytania 2, 1 i 2 z 2",
         [&](platform::Canvas& c) {
             DrawMultiChart(c, multi.Values, multi.SeriesColour(), multi.CheckBox1->isChecked());
         },
         {7, 5, 7, 5, 4, 5, 3},
         same},
        // Drawn channel by channel, read answer by answer.
        {"comparison", statistics.Image1, "Wykres porównawczy, pytanie 1 z 2",
         [&](platform::Canvas& c) {
             DrawComparison(c, program.channels, statistics.Values, statistics.Looks(),
                            statistics.CheckBox4->isChecked());
         },
         {5, 1, 4, 2, 3, 3},
         [](const std::vector<int>& d) {
             return std::vector<int>{d[0], d[3], d[1], d[4], d[2], d[5]};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(c.picture);
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->role(), QAccessible::Chart);
        EXPECT_EQ(chart->text(QAccessible::Name), QString::fromUtf8(c.name));
        const auto [percents, counts] = ReadNumbers(Items(c.picture));
        EXPECT_EQ(percents, c.inReadingOrder(DrawnNumbers(Redrawn(c.picture->Picture(), c.draw))));
        EXPECT_EQ(counts, c.counts);
    }
    EXPECT_EQ(Items(bar.Image1),
              (QStringList{QStringLiteral("A: 58 %, 7 ankietowanych"),
                           QStringLiteral("B: 42 %, 5 ankietowanych")}));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar.Image1)->text(QAccessible::Description),
              QStringLiteral("procent z 12 odpowiedzi"));
    EXPECT_EQ(Items(statistics.Image1).first(),
              QStringLiteral("A, kanał 1 (klasa1.): 42 %, 5 ankietowanych"));
    Q_UNUSED(tally);
}

TEST_F(AccessibilityTest, TheResultsTableTakesTheFocusAndReadsEachCellWithItsQuestionAndAnswer) {
    OpenResultsAndCharts();
    results::StringGrid* table = program.Form3->StringGrid1;
    EXPECT_EQ(table->accessibleName(), QStringLiteral("Tabela wyników"));
    program.Form3->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.Form3.get()));
    table->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->hasFocus(); }));
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Right);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(table);
    QAccessibleTableInterface* cells = grid->tableInterface();
    ASSERT_NE(cells, nullptr);
    const QModelIndex current = table->currentIndex();
    EXPECT_EQ(cells->cellAt(current.row(), current.column())->text(QAccessible::Name),
              QStringLiteral("Pytanie 2, odpowiedź B: 5"));
    EXPECT_EQ(cells->cellAt(1, 2)->text(QAccessible::Name),
              QStringLiteral("Pytanie 2 nie ma odpowiedzi C"));
    // Tab leaves the table for the buttons under it, from the left.
    QTest::keyClick(table, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), program.Form3->Button3);
}

TEST_F(AccessibilityTest, EscapeClosesChartsAndStatisticsAndTheStandardKeysSaveAndPrint) {
    OpenResultsAndCharts();
    charts::TForm4& bar = *program.Form4;
    run.dialogs.fileNames.push_back(QString());  // the save dialog, cancelled
    Press(bar.ComboBox1, Qt::Key_S, Qt::ControlModifier);
    Press(bar.ComboBox1, Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.printer.jobsEnded() == 1; }));
    EXPECT_NE(run.dialogs.Last(ScriptedDialogs::Kind::SaveFile), nullptr);
    Press(bar.ComboBox1, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_TRUE(program.Form3->Supkowy1->isEnabled());

    program.Form3->close();
    OpenStatistics();
    Press(program.Form7->CheckBox4, Qt::Key_Escape);
    EXPECT_FALSE(program.Form7->isVisible());
    EXPECT_TRUE(program.Form0->isVisible());
}

TEST_F(AccessibilityTest, ColourBoxesAndTheScrollBarWorkFromTheKeyboard) {
    OpenStatistics();
    stats::TForm7& statistics = *program.Form7;
    QLineEdit* colour = statistics.Edit2;
    colour->setFocus();
    run.dialogs.colours.push_back(QColor(10, 20, 30));
    Press(colour, Qt::Key_Space);
    EXPECT_EQ(statistics.ChannelColour(2), QColor(10, 20, 30));
    EXPECT_EQ(colour->accessibleDescription(), QStringLiteral("kolor RGB 10, 20, 30"));
    EXPECT_EQ(QApplication::focusWidget(), colour);  // the keyboard stays where it was
    Press(colour, Qt::Key_Delete);
    EXPECT_EQ(statistics.ChannelColour(2), stats::TForm7::DefaultColour(2));

    statistics.ScrollBar1->setFocus();
    Press(statistics.ScrollBar1, Qt::Key_Right);
    EXPECT_EQ(program.channels.ShownQuestion, 2);
    EXPECT_FALSE(statistics.Button2->isEnabled());

    statistics.close();
    OpenResultsAndCharts();
    charts::TForm9& multi = *program.Form9;
    multi.Shape3->setFocus();
    run.dialogs.colours.push_back(QColor(1, 2, 3));
    Press(multi.Shape3, Qt::Key_Space);
    EXPECT_EQ(multi.Shape3->Colour(), QColor(1, 2, 3));
    Press(multi.Shape3, Qt::Key_Backspace);
    EXPECT_EQ(multi.Shape3->Colour(), charts::kDefaultSeriesColours[3]);
}

TEST_F(AccessibilityTest, AChangeOfTheChartIsAnnouncedWhereTheFocusIs) {
    OpenResultsAndCharts();
    charts::TForm4& bar = *program.Form4;
    bar.ComboBox1->setFocus();
    Press(bar.ComboBox1, Qt::Key_Down);  // question 2
    WaitForCharts();
    EXPECT_EQ(bar.ComboBox1->accessibleDescription(),
              QStringLiteral("Wykres słupkowy, pytanie 2 z 2, procent z 12 ankietowanych: "
                             "A: 58 %, 7 ankietowanych; B: 42 %, 5 ankietowanych"));
    // Once the focus moves on, the selector has no description again.
    bar.RadioButton1->setFocus();
    EXPECT_TRUE(bar.ComboBox1->accessibleDescription().isEmpty());
}

TEST_F(AccessibilityTest, TheSheetWindowAnnouncesEachQuestionAndMarkAndClosesWithEscape) {
    OpenResultsAndCharts();
    program.Form3->Wprowadodpowiedzi1->trigger();
    collect::SheetEntryWindow& sheets = *program.SheetEntry;
    Press(&sheets, Qt::Key_B);
    EXPECT_EQ(sheets.accessibleDescription(), QStringLiteral("b: zaznaczona"));
    Press(&sheets, Qt::Key_Return);
    EXPECT_TRUE(sheets.accessibleDescription().startsWith(
        QStringLiteral("Arkusz 1, pytanie 2 z 2: Pytanie 2")))
        << sheets.accessibleDescription().toStdString();
    EXPECT_TRUE(sheets.accessibleDescription().endsWith(
        QStringLiteral("a: nie zaznaczona; b: nie zaznaczona")));
    Press(&sheets, Qt::Key_Escape);
    EXPECT_FALSE(sheets.isVisible());
}
