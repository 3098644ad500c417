// The recording printer of the tests.
#include "support/recording_printer.h"

namespace testing_support {

RecordingPrinter::RecordingPrinter(QSize landscapePage, int dotsPerInch)
    : landscape_(landscapePage), dpi_(dotsPerInch), canvas_(dotsPerInch) {
    canvas_.SetTextObserver([this](const platform::DrawnText& drawn) {
        if (!printing_) return;  // a text outside a job reaches no page
        RecordedText recorded;
        static_cast<platform::DrawnText&>(recorded) = drawn;
        recorded.page = static_cast<int>(pages_.size()) - 1;
        recorded.job = jobsStarted_ - 1;
        texts_.push_back(recorded);
    });
}

// During a job the page keeps the size of the orientation in force at BeginDoc.
QSize RecordingPrinter::PageSize() const {
    const platform::Orientation orientation = printing_ ? jobOrientation_ : orientation_;
    return orientation == platform::Orientation::Landscape ? landscape_ : landscape_.transposed();
}

int RecordingPrinter::PageWidth() { return PageSize().width(); }

int RecordingPrinter::PageHeight() { return PageSize().height(); }

void RecordingPrinter::StartPage() {
    pages_.emplace_back(PageSize(), QImage::Format_RGB32);
    pages_.back().fill(Qt::white);
    pageOrientations_.push_back(jobOrientation_);
    canvas_.SetTarget(pages_.back(), dpi_);
}

void RecordingPrinter::BeginDoc() {
    if (unavailable_) throw platform::PrinterError("Nie znaleziono drukarki");
    if (printing_) throw platform::PrinterError("Drukowanie już trwa");
    printing_ = true;
    jobOrientation_ = orientation_;
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
