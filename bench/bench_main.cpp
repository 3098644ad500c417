// The benchmarks' main: an application object on the offscreen platform at 96 DPI with the
// program's font substitutes, as the windows and charts have it, then every benchmark.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/fonts.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Set for this process only: the start-up benchmark's programs take the caller's screen.
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArguments[] = {argv[0], platformOption, offscreen, nullptr};
    int qtArgumentCount = 3;
    qputenv("QT_FONT_DPI", QByteArrayLiteral("96"));
    qputenv("QT_ENABLE_HIGHDPI_SCALING", QByteArrayLiteral("0"));
    QApplication application(qtArgumentCount, qtArguments);
    platform::RegisterFontSubstitutes();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
