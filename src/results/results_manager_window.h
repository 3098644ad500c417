// The results manager window and the survey text window beside it.
#pragma once

#include <array>

#include "platform/form.h"
#include "results/chart_link.h"
#include "results/results_tally.h"

namespace platform {
class Printer;
}

namespace results {

// The results manager: loads, merges, saves and deletes results files and shows their counts.
class TForm3 : public platform::Form {
    Q_OBJECT
public:
    TForm3(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store,
           platform::LauncherControl& launcher);

    // The chart windows behind "Słupkowy", "Kołowy", "Paskowy" and "Multi", in this order.
    void SetChartLinks(std::array<ChartLink*, 4> charts) { charts_ = charts; }

protected:
    void FormShow() override;
    void FormClose() override;

private:
    platform::Printer& printer_;
    ResultsStore& store_;
    platform::LauncherControl& launcher_;
    std::array<ChartLink*, 4> charts_{};
};

// The survey text window: the questionnaire's text carried by the loaded results.
class TForm8 : public platform::Form {
    Q_OBJECT
public:
    TForm8(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store);

private:
    platform::Printer& printer_;
    ResultsStore& store_;
};

}  // namespace results
