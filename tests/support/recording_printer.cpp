// The recording printer of the tests.
#include "support/recording_printer.h"

namespace testing_support {

RecordingPrinter::RecordingPrinter(QSize landscapePage, int dotsPerInch)
    : landscape_(landscapePage), dpi_(dotsPerInch), canvas_(dotsPerInch) {
    canvas_.SetTextObserver([this](const platform::DrawnText& drawn) {
        RecordedText recorded;
        static_cast<platform::DrawnText&>(recorded) = drawn;
        recorded.page = static_cast<int>(pages_.size()) - 1;
        recorded.job = jobsStarted_ - 1;
        texts_.push_back(recorded);
    });
}

int RecordingPrinter::PageWidth() {
    return orientation_ == platform::Orientation::Landscape ? landscape_.width() : landscape_.height();
}

int RecordingPrinter::PageHeight() {
    return orientation_ == platform::Orientation::Landscape ? landscape_.height() : landscape_.width();
}

void RecordingPrinter::StartPage() {
    pages_.emplace_back(PageWidth(), PageHeight(), QImage::Format_RGB32);
    pages_.back().fill(Qt::white);
    pageOrientations_.push_back(orientation_);
    canvas_.SetTarget(pages_.back(), dpi_);
}

void RecordingPrinter::BeginDoc() {
    if (unavailable_) throw platform::PrinterError("Nie znaleziono drukarki");
    if (printing_) throw platform::PrinterError("Drukowanie już trwa");
    printing_ = true;
    ++jobsStarted_;
    StartPage();
}

void RecordingPrinter::NewPage() {
    if (printing_) StartPage();
}

void RecordingPrinter::EndDoc() {
    if (!printing_) return;
    printing_ = false;
    ++jobsEnded_;
    canvas_.ClearTarget();
}

}  // namespace testing_support
