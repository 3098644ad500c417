// The chart pictures' texts resolve to the same fonts and pixels on every Qt platform and screen:
// the report's command line on the offscreen platform draws what the windows draw on a desktop.
#include <gtest/gtest.h>

#include <QProcess>

namespace {

// The fonts and pixels of the bar, pie and stripe pictures as the child program draws them with
// these settings of Qt's (the platform and the screen's scaling or resolution).
QString PicturesDrawnWith(const QStringList& settings) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_FONT_DPI",
                             "QT_ENABLE_HIGHDPI_SCALING", "DISPLAY", "WAYLAND_DISPLAY"}) {
        environment.remove(QString::fromLatin1(name));
    }
    for (const QString& setting : settings) {
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(PICTURE_FONTS_CHILD), {});
    EXPECT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().constData();
    return QString::fromUtf8(child.readAllStandardOutput());
}

TEST(PictureFonts, ResolveToTheSameFontsAndPixelsOnEveryPlatformAndScreen) {
    const QString commandLine = PicturesDrawnWith({QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    // The charts' faces as their stand-ins, at the pixel size of their points at 96 dpi.
    EXPECT_TRUE(commandLine.contains(QStringLiteral(
        "bar: MS Sans Serif 8 pt -> Liberation Sans Regular, 11 px, hinting 2, no antialiasing")))
        << commandLine.toStdString();
    EXPECT_TRUE(commandLine.contains(
        QStringLiteral("bar: MS Sans Serif 10 pt bold underlined -> Liberation Sans Bold, 13 px, "
                       "hinting 2, no antialiasing")));
    EXPECT_EQ(commandLine.count(QStringLiteral(": pixels ")), 3);
    const QStringList others[] = {
        {QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("QT_SCALE_FACTOR=2")},
        {QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("QT_FONT_DPI=120")},
        {QStringLiteral("QT_QPA_PLATFORM=minimal:enable_fonts")},
    };
    for (const QStringList& settings : others) {
        EXPECT_EQ(PicturesDrawnWith(settings), commandLine) << settings.join(u' ').toStdString();
    }
}

}  // namespace
