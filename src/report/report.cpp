// The report: merging the results files, then writing every file of the report through the
// results manager's and the chart windows' own writers, drawings and printouts.
#include "report/report.h"

#include <QDir>
#include <QRegularExpression>
#include <array>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <list>
#include <thread>

#include "charts/bar_chart.h"
#include "charts/chart_window.h"
#include "charts/chart_windows.h"
#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "platform/canvas.h"
#include "platform/encoding.h"
#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/pdf_printer.h"
#include "platform/picture_file.h"
#include "platform/progress.h"
#include "platform/staging_folder.h"
#include "platform/svg_printer.h"
#include "platform/text_file.h"
#include "report/table_csv.h"
#include "results/results_file.h"
#include "results/results_table.h"
#include "results/survey_text_window.h"

namespace report {
namespace {

// The bar chart as its window shows it when opened: shares of the respondents on the 0..100
// scale ("/ilość ank." and "Skala 100%", the window's settings at the program's start).
constexpr charts::PercentBase kBarBase = charts::PercentBase::Respondents;
constexpr bool kBarScaleToFull = true;

// One question's charts: how each is drawn on its picture and printed on a page.
class QuestionCharts {
public:
    QuestionCharts(const results::ResultsTally& tally, int question)
        : bar_(charts::ComputeBarShares(tally, question, kBarBase)),
          shares_(charts::AnswerSharesOf(tally, question)) {}

    // Draws the chart on its picture, as the chart window draws it on its own again and again.
    void Draw(Chart chart, QImage& picture) const {
        platform::Canvas canvas(picture);
        switch (chart) {
        case Chart::Bar: return charts::DrawBarChart(canvas, bar_, kBarScaleToFull);
        case Chart::Pie: return charts::DrawPieChart(canvas, shares_);
        case Chart::Stripe: return charts::DrawStripeChart(canvas, shares_);
        }
    }

    charts::ChartPageBody PageBody(Chart chart) const {
        switch (chart) {
        case Chart::Bar:
            return [this](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                charts::PrintBarChartBody(canvas, bar_, kBarScaleToFull, H, W);
            };
        case Chart::Pie:
            return [this](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                charts::PrintPieChartBody(canvas, shares_, H, W);
            };
        case Chart::Stripe:
            return [this](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                charts::PrintStripeChartBody(canvas, shares_, H, W);
            };
        }
        return {};
    }

private:
    charts::BarChartShares bar_;
    charts::AnswerShares shares_;
};

// The picture of a chart window, of the size it shows and saves.
QImage ChartPicture(Chart chart) {
    switch (chart) {
    case Chart::Bar: return charts::BlankPicture(charts::kBarPicture.size());
    case Chart::Pie: return charts::BlankPicture(charts::kPiePicture.size());
    case Chart::Stripe: return charts::BlankPicture(charts::kStripePicture.size());
    }
    return {};
}

QString ChartName(Chart chart) {
    switch (chart) {
    case Chart::Bar: return QStringLiteral("slupkowy");
    case Chart::Pie: return QStringLiteral("kolowy");
    case Chart::Stripe: return QStringLiteral("paskowy");
    }
    return {};
}

std::vector<Chart> ChosenCharts(const ReportContents& contents) {
    std::vector<Chart> chosen;
    if (contents.bar) chosen.push_back(Chart::Bar);
    if (contents.pie) chosen.push_back(Chart::Pie);
    if (contents.stripe) chosen.push_back(Chart::Stripe);
    return chosen;
}

// A file or folder of the report as a message names it: its whole path as the system shows it.
QString Shown(const QString& folder, const QString& name = {}) {
    const QDir dir(folder);
    return QDir::toNativeSeparators(name.isEmpty() ? dir.absolutePath()
                                                   : dir.absoluteFilePath(name));
}

ReportFailure FileFailure(const QString& folder, const QString& name, const QString& cause) {
    return ReportFailure(QStringLiteral("Nie można zapisać pliku raportu „%1”: %2")
                             .arg(Shown(folder, name), cause)
                             .toStdString());
}

// Writes one file of the report (into the staging folder); a failure names the file where it
// was to go, with the cause.
void WriteReportFile(const QString& folder, const QString& name,
                     const std::function<void()>& write) {
    try {
        write();
    } catch (const platform::IoError& error) {
        throw FileFailure(folder, name, QString::fromStdString(error.PolishMessage()));
    } catch (const platform::PrinterError&) {
        // Qt's PDF and SVG writers tell no cause.
        throw FileFailure(folder, name, QStringLiteral("błąd zapisu"));
    }
}

// The pictures of the charts of every `every`-th question from `first` on, PNG and SVG, made on a
// thread of their own while the caller writes the other files and the PDF. The threads share only
// the tally, which nobody changes meanwhile. Destroying the maker stops the thread after its
// current question and waits for it.
class PictureMaker {
public:
    PictureMaker(const results::ResultsTally& tally, const ReportContents& contents,
                 std::vector<Chart> chosen, QString base, QString folder, QDir staging, int first,
                 int every)
        : tally_(tally),
          first_(first),
          every_(every),
          contents_(contents),
          chosen_(std::move(chosen)),
          base_(std::move(base)),
          folder_(std::move(folder)),
          staging_(std::move(staging)),
          thread_([this](std::stop_token stop) { Run(stop); }) {}

    // The questions whose pictures are written.
    int Done() const { return done_.load(); }
    bool Finished() const { return finished_.load(); }
    // Waits for the thread and gives the names of the files it wrote, or throws its failure.
    QStringList Finish() {
        thread_.join();
        if (failure_) std::rethrow_exception(failure_);
        return written_;
    }

private:
    void Run(const std::stop_token& stop) {
        try {
            platform::SvgPrinter svg;
            // One picture per chart, drawn over for every question as its window does.
            std::array<QImage, 3> pictures;
            for (Chart chart : chosen_) pictures[static_cast<int>(chart)] = ChartPicture(chart);
            for (int q = first_; q <= tally_.QuestionCount && !stop.stop_requested(); q += every_) {
                const QuestionCharts drawings(tally_, q);
                for (Chart chart : chosen_) {
                    if (contents_.png) {
                        QImage& picture = pictures[static_cast<int>(chart)];
                        drawings.Draw(chart, picture);
                        Write(q, chart, QStringLiteral("png"), [&](const QString& file) {
                            platform::SavePictureAsPng(picture, file);
                        });
                    }
                    if (contents_.svg) {
                        Write(q, chart, QStringLiteral("svg"), [&](const QString& file) {
                            svg.SetFile(file);
                            charts::PrintChartPage(svg, charts::QuestionPrintoutHeader(tally_, q),
                                                   drawings.PageBody(chart));
                        });
                    }
                }
                ++done_;
            }
        } catch (...) {
            failure_ = std::current_exception();
        }
        finished_ = true;
    }

    void Write(int question, Chart chart, const QString& extension,
               const std::function<void(const QString& file)>& write) {
        const QString name = ChartFileName(base_, question, chart, extension);
        written_ << name;
        WriteReportFile(folder_, name, [&] { write(staging_.filePath(name)); });
    }

    const results::ResultsTally& tally_;
    const int first_;
    const int every_;
    const ReportContents contents_;
    const std::vector<Chart> chosen_;
    const QString base_;
    const QString folder_;  // where the files go, for the messages
    const QDir staging_;
    std::atomic<int> done_{0};
    std::atomic<bool> finished_{false};
    std::exception_ptr failure_;
    QStringList written_;
    std::jthread thread_;  // last: started once everything above is made, stopped first
};

}  // namespace

MergedResults MergeResultsFiles(const QStringList& files) {
    MergedResults merged;
    for (const QString& file : files) {
        try {
            results::ResultsOutcome outcome;
            if (!merged.loaded) {
                outcome = results::ReadResultsFile(file, merged.store).outcome;
                merged.loaded = outcome == results::ResultsOutcome::Loaded;
            } else {
                outcome = results::MergeResultsFile(file, merged.store.Tally);
            }
            const QString notice = results::OutcomeNotice(outcome);
            if (!notice.isEmpty()) merged.refused.push_back({file, notice});
        } catch (const platform::IoError& error) {
            merged.refused.push_back({file, QString::fromStdString(error.what())});
        }
    }
    return merged;
}

QString ReportBaseName(const results::ResultsTally& tally) {
    QString name = platform::FileNamePart(platform::FromCodePage(tally.SurveyName)).trimmed();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) name.truncate(dot);
    // The survey's own name, spaces and letters of every language kept: only what a file name
    // cannot hold, here or where the report may be taken (Windows, a USB stick), becomes "_",
    // and so does a leading full stop, which would hide the files.
    static const QString kNotInFileNames = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kNotInFileNames.contains(c)) c = u'_';
    }
    if (name.startsWith(u'.')) name[0] = u'_';
    // Windows takes "CON.3b-wyniki.wyn" for its device CON: the name before the first full stop
    // must not be a device's.
    static const QRegularExpression kDevice(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const qsizetype firstDot = name.indexOf(u'.');
    if (firstDot > 0 && kDevice.match(name.left(firstDot)).hasMatch()) name.insert(firstDot, u'_');
    // Every file's name within the system's 255 bytes, with the longest ending after the base.
    constexpr qsizetype kLongestBase = 255 - 25;  // "-pytanie-007-slupkowy.png"
    while (name.toUtf8().size() > kLongestBase) {
        name.chop(name.size() >= 2 && name[name.size() - 1].isLowSurrogate() ? 2 : 1);
    }
    return name.isEmpty() ? QStringLiteral("wyniki") : name;
}

QString ResultsFileName(const QString& base) { return base + QStringLiteral("-wyniki.wyn"); }
QString TableTextFileName(const QString& base) { return base + QStringLiteral("-tabela.TXT"); }
QString TableCsvFileName(const QString& base) { return base + QStringLiteral("-tabela.csv"); }
QString PdfFileName(const QString& base) { return base + QStringLiteral("-raport.pdf"); }

QString ChartFileName(const QString& base, int question, Chart chart, const QString& extension) {
    return QStringLiteral("%1-pytanie-%2-%3.%4")
        .arg(base)
        .arg(question, 3, 10, QChar(u'0'))
        .arg(ChartName(chart), extension);
}

std::optional<QStringList> WriteReport(const results::ResultsStore& store,
                                       const ReportOptions& options,
                                       platform::Progress& progress) {
    const results::ResultsTally& tally = store.Tally;
    const ReportContents& contents = options.contents;
    const QString base = ReportBaseName(tally);
    const std::vector<Chart> chosen = ChosenCharts(contents);

    // Everything is written here first; what is left of it when the report stops goes with it.
    const QString& folder = options.folder;
    std::optional<platform::StagingFolder> staging;
    try {
        staging.emplace(folder, QStringLiteral(".raport-"));
    } catch (const platform::IoError& error) {
        throw ReportFailure(QStringLiteral("Nie można zapisać raportu w folderze „%1”: %2")
                                .arg(Shown(folder), QString::fromStdString(error.PolishMessage()))
                                .toStdString());
    }
    QStringList written;
    // Writes one file into the staging folder.
    const auto write = [&](const QString& name,
                           const std::function<void(const QString& file)>& to) {
        written << name;
        WriteReportFile(folder, name, [&] { to(staging->File(name)); });
    };
    const bool pages = contents.pdf && !chosen.empty();
    const bool pictures = (contents.png || contents.svg) && !chosen.empty();
    // Two threads make the pictures, each of every other question, beside this one's PDF.
    constexpr int kPictureThreads = 2;
    std::list<PictureMaker> makers;
    for (int first = 1; pictures && first <= kPictureThreads; ++first) {
        makers.emplace_back(tally, contents, chosen, base, folder, QDir(staging->path()), first,
                            kPictureThreads);
    }
    const auto picturesDone = [&] {
        int questions = 0;
        for (const PictureMaker& maker : makers) questions += maker.Done();
        return questions;
    };

    int done = 0;
    const int total = contents.wyn + contents.txt + contents.csv + contents.pdf +
                      (pages ? tally.QuestionCount : 0) + (pictures ? tally.QuestionCount : 0);
    const auto step = [&] {
        return progress.Advance(done + picturesDone(), total);
    };
    const auto stepDone = [&] {
        ++done;
        return step();
    };

    if (contents.wyn) {
        write(ResultsFileName(base),
              [&](const QString& file) { results::WriteResultsFile(file, store); });
        if (!stepDone()) return std::nullopt;
    }
    if (contents.txt) {
        write(TableTextFileName(base),
              [&](const QString& file) { results::WriteTableText(file, tally); });
        if (!stepDone()) return std::nullopt;
    }
    if (contents.csv) {
        const std::optional<SurveyQuestions> texts =
            FindSurveyQuestions(tally.SurveyName, options.surveyFile, options.resultsFolder);
        write(TableCsvFileName(base), [&](const QString& name) {
            platform::TextFileWriter file(name);
            file.WriteBytes(TableCsv(tally, texts ? &*texts : nullptr));
            file.Close();
        });
        if (!stepDone()) return std::nullopt;
    }
    if (contents.pdf) {
        bool stopped = false;
        write(PdfFileName(base), [&](const QString& file) {
            platform::PdfPrinter pdf(file);
            results::PrintResultsTable(pdf, tally);
            results::PrintSurveyText(pdf, store.SurveyText);
            stopped = !stepDone();
            for (int q = 1; !stopped && pages && q <= tally.QuestionCount; ++q) {
                const QuestionCharts drawings(tally, q);
                for (Chart chart : chosen) {
                    charts::PrintChartPage(pdf, charts::QuestionPrintoutHeader(tally, q),
                                           drawings.PageBody(chart));
                }
                stopped = !stepDone();
            }
            if (!stopped) pdf.Finish();
        });
        if (stopped) return std::nullopt;
    }
    for (PictureMaker& maker : makers) {
        while (!maker.Finished()) {
            if (!step()) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        written << maker.Finish();
    }
    if (!makers.empty() && !step()) return std::nullopt;

    // Every file is complete: now they take their places, all of them or none.
    try {
        staging->MoveIntoPlace(written);
    } catch (const platform::PlacementError& error) {
        QString cause = error.folderInTheWay()
                            ? QStringLiteral("w tym miejscu jest folder o tej nazwie")
                            : QString::fromStdString(error.PolishMessage());
        if (staging->KeptForRestoring()) {
            cause += QStringLiteral("; pliki, których nie dało się przywrócić, są w folderze „%1”")
                         .arg(QDir::toNativeSeparators(staging->path()));
        }
        throw FileFailure(folder, error.name(), cause);
    }
    return written;
}

bool WriteWholeReport(const results::ResultsStore& store, const QString& folder,
                      const QString& resultsFolder, platform::Progress& progress) {
    ReportOptions options;
    options.folder = folder;
    options.resultsFolder = resultsFolder;
    return WriteReport(store, options, progress).has_value();
}

}  // namespace report
