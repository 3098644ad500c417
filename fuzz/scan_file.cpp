// Fuzz target: arbitrary bytes read as a scan file (PNG, JPEG, TIFF or PDF, known by their first
// bytes) against a questionnaire's sheets. Every page handed on must be either refused with a
// reason or read whole: each box of its layout decided, the doubtful questions' pictures among
// its questions. At most the first three pages are read, so that a file of thousands of pages
// stays one quick run.
#include <QGuiApplication>

#include "fuzz_support.h"
#include "platform/progress.h"
#include "scan/scan_files.h"
#include "test_scans.h"

// Fontconfig, which Qt's painter asks for the fonts of a PDF page's text, keeps its
// configuration to the end of the process and never frees it: not a leak of the reading.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

// The questionnaire of the seed corpus's sheets.
const scan::ScanTarget& Target() {
    return test_scans::SmallSurvey().target;
}

class FirstPages : public platform::Progress {
public:
    bool Advance(int done, int) override { return done < 3; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    Target();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::FilePath("skan");
    fuzz::WriteBytes(path, fuzz::Bytes(data, size));
    FirstPages progress;
    int pages = 0;
    scan::ReadScanFiles({path}, Target(), progress, [&](const scan::ScannedPage& page) {
        FUZZ_CHECK(page.file == path);
        FUZZ_CHECK(page.page == ++pages);
        const scan::PageReading& reading = page.reading;
        if (!page.error.isEmpty()) {
            FUZZ_CHECK(reading.problem == scan::PageProblem::NoMarkers);
            return;
        }
        if (reading.problem != scan::PageProblem::None) {
            FUZZ_CHECK(reading.boxes.empty());
            return;
        }
        FUZZ_CHECK(reading.code.page >= 1 && reading.code.page <= static_cast<int>(Target().layout.size()));
        const scan::SheetPage& layout = Target().layout[static_cast<std::size_t>(reading.code.page - 1)];
        std::size_t box = 0;
        for (const scan::QuestionPlace& question : layout.questions) {
            for (const scan::AnswerPlace& answer : question.answers) {
                FUZZ_CHECK(box < reading.boxes.size());
                FUZZ_CHECK(reading.boxes[box].question == question.question);
                FUZZ_CHECK(reading.boxes[box].answer == answer.answer);
                ++box;
            }
        }
        FUZZ_CHECK(box == reading.boxes.size());
        for (const scan::QuestionPicture& picture : reading.doubtful) {
            FUZZ_CHECK(!picture.picture.isNull());
            FUZZ_CHECK(picture.question >= layout.questions.front().question &&
                       picture.question <= layout.questions.back().question);
        }
    });
    FUZZ_CHECK(pages >= 1);
    return 0;
}
