// A readable picture as a screen reader walks it, and announcements that go with the focus.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

#include "platform/accessibility.h"

namespace {

class ReadablePictureTest : public ::testing::Test {
  protected:
    ReadablePictureTest() {
        window.resize(300, 200);
        picture->setGeometry(10, 10, 100, 50);
        edit->setGeometry(10, 100, 100, 20);
        picture->SetReading({QStringLiteral("Wykres"), QStringLiteral("procent"),
                             {QStringLiteral("A: 30 %"), QStringLiteral("B: 70 %")}});
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    platform::ReadablePicture* picture = new platform::ReadablePicture(&window);
    QLineEdit* edit = new QLineEdit(&window);
};

}  // namespace

TEST_F(ReadablePictureTest, IsAChartOfItsItemsThatTheArrowKeysWalk) {
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(picture);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), QStringLiteral("Wykres"));
    EXPECT_EQ(chart->text(QAccessible::Description), QStringLiteral("procent"));
    ASSERT_EQ(chart->childCount(), 2);
    EXPECT_EQ(chart->child(1)->text(QAccessible::Name), QStringLiteral("B: 70 %"));
    EXPECT_EQ(chart->child(1)->role(), QAccessible::ListItem);
    EXPECT_EQ(chart->indexOfChild(chart->child(1)), 1);

    picture->setFocus();
    EXPECT_EQ(chart->focusChild(), chart);
    // (key, item the arrow keys then stand on): past either end they stay there.
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, 0},  {Qt::Key_Right, 1},
                                             {Qt::Key_Down, 1},  {Qt::Key_Up, 0},
                                             {Qt::Key_Left, -1}, {Qt::Key_Up, -1},
                                             {Qt::Key_End, 1},   {Qt::Key_Home, 0}};
    for (const auto& [key, item] : steps) {
        QTest::keyClick(picture, key);
        EXPECT_EQ(picture->CurrentItem(), item) << key;
    }
    EXPECT_EQ(chart->focusChild(), chart->child(0));
    EXPECT_TRUE(chart->child(0)->state().focused);

    // A reading of fewer items keeps the arrow keys on one that is there.
    QTest::keyClick(picture, Qt::Key_End);
    picture->SetReading({QStringLiteral("Wykres"), {}, {QStringLiteral("A: 100 %")}});
    EXPECT_EQ(picture->CurrentItem(), 0);
    EXPECT_EQ(chart->childCount(), 1);
}

TEST_F(ReadablePictureTest, ANewReadingIsAnnouncedOnTheFocusedControlUntilTheFocusMoves) {
    edit->setAccessibleDescription(QStringLiteral("pole"));
    edit->setFocus();
    picture->SetReading({QStringLiteral("Wykres 2"), {}, {QStringLiteral("A: 100 %")}});
    EXPECT_EQ(edit->accessibleDescription(), QStringLiteral("Wykres 2: A: 100 %"));
    // The picture itself, focused, is read by its new name and takes no announcement.
    picture->setFocus();
    EXPECT_EQ(edit->accessibleDescription(), QStringLiteral("pole"));
    picture->SetReading({QStringLiteral("Wykres 3"), {}, {}});
    EXPECT_TRUE(picture->accessibleDescription().isEmpty());
}
