// A printer for tests: every page is rendered into a picture of a chosen pixel size and every
// text drawn is recorded with its position and font, so printouts are tested without a printer.
#pragma once

#include <QImage>
#include <deque>
#include <vector>

#include "platform/printer.h"

namespace testing_support {

struct RecordedText : platform::DrawnText {
    int page = 0;  // from 0, counted over all jobs
    int job = 0;   // from 0
};

class RecordingPrinter : public platform::Printer {
public:
    // Page size in printer pixels in landscape; portrait swaps the two.
    explicit RecordingPrinter(QSize landscapePage = QSize(3200, 2300), int dotsPerInch = 300);

    void SetOrientation(platform::Orientation orientation) override { orientation_ = orientation; }
    platform::Orientation CurrentOrientation() const override { return orientation_; }
    int PageWidth() override;
    int PageHeight() override;
    int Resolution() override { return dpi_; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return printing_; }
    platform::Canvas& PageCanvas() override { return canvas_; }

    // When set, BeginDoc fails as a missing printer would.
    void SetUnavailable(bool unavailable) { unavailable_ = unavailable; }

    const std::deque<QImage>& pages() const { return pages_; }
    const std::vector<RecordedText>& texts() const { return texts_; }
    int jobsStarted() const { return jobsStarted_; }
    int jobsEnded() const { return jobsEnded_; }
    // The orientation each page was printed in.
    const std::vector<platform::Orientation>& pageOrientations() const { return pageOrientations_; }

private:
    void StartPage();
    QSize PageSize() const;

    QSize landscape_;
    int dpi_;
    platform::Orientation orientation_ = platform::Orientation::Portrait;
    platform::Orientation jobOrientation_ = platform::Orientation::Portrait;  // fixed at BeginDoc
    bool printing_ = false;
    bool unavailable_ = false;
    int jobsStarted_ = 0;
    int jobsEnded_ = 0;
    std::deque<QImage> pages_;  // a deque keeps each page in place while the canvas draws on it
    std::vector<platform::Orientation> pageOrientations_;
    std::vector<RecordedText> texts_;
    platform::Canvas canvas_;
};

}  // namespace testing_support
