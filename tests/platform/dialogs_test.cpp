// The program's own boxes: captions, buttons and answers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/dialogs.h"

namespace {

// Runs `inspect` on the message box once it is open, then closes it with the button labelled
// `press`.
void WhenBoxOpens(const std::function<void(QMessageBox&)>& inspect, const QString& press) {
    QTimer::singleShot(0, [inspect, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        inspect(*box);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) button->click();
        }
    });
}

}  // namespace

TEST(QtDialogs, QuestionIsYesNoInPolishWithYesTheDefault) {
    platform::QtDialogs dialogs;
    WhenBoxOpens(
        [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), QStringLiteral("Pytanie..."));
            EXPECT_EQ(box.text(), QStringLiteral("Czy dodać kolejne pytanie?"));
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            ASSERT_NE(box.defaultButton(), nullptr);
            EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Tak"));
            QStringList labels;
            for (QAbstractButton* button : box.buttons()) labels.append(button->text());
            labels.sort();
            EXPECT_EQ(labels, (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));
        },
        QStringLiteral("Tak"));
    EXPECT_TRUE(dialogs.Question(QStringLiteral("Czy dodać kolejne pytanie?")));

    WhenBoxOpens([](QMessageBox&) {}, QStringLiteral("Nie"));
    EXPECT_FALSE(dialogs.Question(QStringLiteral("Czy na pewno usunąć to pytanie?")));
}

TEST(QtDialogs, NoticeAndErrorAreCaptionedWithTheApplicationTitle) {
    platform::QtDialogs dialogs;
    WhenBoxOpens(
        [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), QStringLiteral("Narzędzia"));
            EXPECT_EQ(box.text(), QStringLiteral("Nie można więcej niż 250 pytań"));
            EXPECT_EQ(box.buttons().size(), 1);
        },
        QStringLiteral("OK"));
    dialogs.Notice(QStringLiteral("Nie można więcej niż 250 pytań"));

    WhenBoxOpens(
        [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), QStringLiteral("Narzędzia"));
            EXPECT_EQ(box.icon(), QMessageBox::Critical);
            EXPECT_EQ(box.text(), QStringLiteral("File not found."));
        },
        QStringLiteral("OK"));
    dialogs.Error(QStringLiteral("File not found."));
}

TEST(QtDialogs, QtsOwnDialogTextsArePolish) {
    ASSERT_TRUE(platform::InstallPolishDialogTexts());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Open"), QStringLiteral("Otwórz"));
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "&Red:"), QStringLiteral("&Czerwień:"));
}

TEST(DialogNameFilter, TakesDescriptionAndPattern) {
    EXPECT_EQ(platform::DialogNameFilter(QStringLiteral("Ankiety (*.ank)|*.ank")),
              QStringLiteral("Ankiety (*.ank)"));
    EXPECT_EQ(platform::DialogNameFilter(QStringLiteral("Obrazy|*.bmp")), QStringLiteral("Obrazy (*.bmp)"));
}
