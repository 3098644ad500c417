// Text kept as Windows-1250 bytes: the conversion at the screen and what the edit boxes accept.
#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include "platform/controls.h"
#include "platform/encoding.h"
#include "support/typing.h"

using platform::CodePageCanHold;
using platform::FromCodePage;
using platform::ToCodePage;

TEST(CodePage, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    EXPECT_EQ(ToCodePage(FromCodePage(all)), all);
}

TEST(CodePage, EveryByteConvertsAsTheCodePageConverterDoes) {
    // ASCII texts take a shorter way than others; both must agree with the converter itself,
    // byte by byte, alone and among Polish letters.
    QStringDecoder decoder("windows-1250");
    QStringEncoder encoder("windows-1250");
    for (int b = 0; b < 256; ++b) {
        for (const QByteArray& bytes : {QByteArray(1, char(b)), "Pyt. " + QByteArray(1, char(b)) + "\xB3"}) {
            const QString text = decoder.decode(bytes);
            ASSERT_EQ(FromCodePage(bytes), text) << b;
            ASSERT_EQ(ToCodePage(text), QByteArray(encoder.encode(text))) << b;
        }
    }
}

TEST(CodePage, PolishLettersHaveTheirBytes) {
    const QString polish = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(ToCodePage(polish), QByteArray("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"));
    EXPECT_EQ(FromCodePage(ToCodePage(polish)), polish);
    EXPECT_TRUE(CodePageCanHold(polish + QStringLiteral(" € „Ankieta”")));
}

TEST(CodePage, CharactersWithoutAByteAreRefused) {
    EXPECT_FALSE(CodePageCanHold(QStringLiteral("中")));
    EXPECT_FALSE(CodePageCanHold(QStringLiteral("Ankieta ✓")));
    EXPECT_FALSE(CodePageCanHold(QStringLiteral("ñ")));  // Spanish, not in the Central European page
    // The end-of-file byte and line ends would cut or split a stored line.
    EXPECT_FALSE(CodePageCanHold(QString(QChar(0x1A))));
    EXPECT_FALSE(CodePageCanHold(QStringLiteral("a\r\nb")));
    EXPECT_TRUE(CodePageCanHold(QString()));
}

TEST(CodePage, TheConversionRefusesACharacterWithoutAByteInsteadOfWritingASubstitute) {
    for (const QString& text :
         {QStringLiteral("a中b"), QStringLiteral("Ankieta ✓"), QStringLiteral("ñ")}) {
        EXPECT_THROW(ToCodePage(text), platform::CodePageError) << text.toStdString();
    }
}

TEST(EditBox, TypingAfterALineWithALineFeedIsStillJudged) {
    platform::EditBox edit;
    edit.SetBytes("Pytanie\ndalej");  // a bare line feed inside a line of a survey file
    edit.end(false);
    testing_support::TypeText(&edit, QStringLiteral("中 ż"));
    EXPECT_EQ(edit.Bytes(), QByteArray("Pytanie\ndalej \xBF"));
}

TEST(EditBox, TypingTakesOnlyWhatTheCodePageHolds) {
    platform::EditBox edit;
    testing_support::TypeText(&edit, QStringLiteral("Zażółć"));
    testing_support::TypeText(&edit, QStringLiteral("中"));
    testing_support::TypeText(&edit, QStringLiteral("✓!"));
    EXPECT_EQ(edit.text(), QStringLiteral("Zażółć!"));
    EXPECT_EQ(edit.Bytes(), QByteArray("Za\xBF\xF3\xB3\xE6!"));
    EXPECT_FALSE(edit.Bytes().contains('\x1A'));
}

TEST(EditBox, TypingStopsAtTheLimitButLinesFromFilesStayWhole) {
    platform::EditBox edit(nullptr, 60);
    QTest::keyClicks(&edit, QString(70, u'x'));
    EXPECT_EQ(edit.text().size(), 60);

    const QByteArray longLine(80, 'y');
    edit.SetBytes(longLine);
    EXPECT_EQ(edit.Bytes(), longLine);
    edit.setFocus();
    edit.end(false);
    QTest::keyClicks(&edit, QStringLiteral("z"));
    EXPECT_EQ(edit.Bytes(), longLine);  // no growing by typing beyond the limit
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.Bytes().size(), 79);  // shortening works
}
