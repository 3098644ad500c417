// The one main of every test executable: an application object on the offscreen platform at
// 96 DPI, the program's font substitutions, then every test.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    qputenv("QT_FONT_DPI", QByteArrayLiteral("96"));
    qputenv("QT_ENABLE_HIGHDPI_SCALING", QByteArrayLiteral("0"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    platform::RegisterFontSubstitutes();
    return RUN_ALL_TESTS();
}
