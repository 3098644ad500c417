// Printing benchmarks: each printout written into a PDF file as "Drukuj" does on a system without
// a printer, timed by the wall clock from the start of the printout to the file closed, with the
// size of the file and of its pages' drawing (their content streams, unpacked).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <functional>

#include "chart_inputs.h"
#include "charts/bar_chart.h"
#include "charts/chart_window.h"
#include "charts/multi_chart.h"
#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "editor/survey_printout.h"
#include "platform/pdf_printer.h"
#include "results/results_table.h"
#include "stats/comparison_chart.h"

namespace {

// The bytes of every stream in a PDF file, unpacked where they are packed.
long long UnpackedStreamBytes(const QByteArray& pdf) {
    long long total = 0;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream", at)) >= 0) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") {
            at += 6;
            continue;
        }
        qsizetype begin = at + 6;
        if (pdf[begin] == '\r') ++begin;
        if (pdf[begin] == '\n') ++begin;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0) break;
        const QByteArray packed = pdf.mid(begin, end - begin);
        const qsizetype dictionary = pdf.lastIndexOf("<<", at);
        const bool flate = pdf.mid(dictionary, at - dictionary).contains("FlateDecode");
        if (!flate) {
            total += packed.size();
        } else {
            z_stream zs{};
            inflateInit(&zs);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
            zs.avail_in = static_cast<uInt>(packed.size());
            char out[65536];
            int result = Z_OK;
            while (result == Z_OK) {
                zs.next_out = reinterpret_cast<Bytef*>(out);
                zs.avail_out = sizeof out;
                result = inflate(&zs, Z_NO_FLUSH);
                total += static_cast<long long>(sizeof out - zs.avail_out);
            }
            inflateEnd(&zs);
        }
        at = end + 9;
    }
    return total;
}

// Content streams only: the pages' drawing, without embedded fonts. Qt writes a page's content
// as the stream of the object its page's /Contents names.
long long PageContentBytes(const QByteArray& pdf) {
    long long total = 0;
    static const QRegularExpression contents(QStringLiteral("/Contents (\\d+) 0 R"));
    for (auto match = contents.globalMatch(QString::fromLatin1(pdf)); match.hasNext();) {
        const QByteArray object = match.next().captured(1).toLatin1() + " 0 obj";
        const qsizetype start = pdf.indexOf("\n" + object);
        const qsizetype end = pdf.indexOf("endobj", start);
        if (start >= 0 && end > start) total += UnpackedStreamBytes(pdf.mid(start, end - start + 6));
    }
    return total;
}

// Times printouts into a PDF file and reports the file's size and its pages' drawing.
// With NARZEDZIA_BENCH_PDF set to a folder, the last file is kept there as `<name>.pdf`.
void MeasurePrintout(benchmark::State& state, const char* name,
                     const std::function<void(platform::Printer&)>& print) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wydruk.pdf"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        platform::PdfPrinter printer(path);
        print(printer);
        printer.Finish();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray pdf = file.readAll();
    state.counters["file_KB"] = static_cast<double>(pdf.size()) / 1024;
    state.counters["content_KB"] = static_cast<double>(PageContentBytes(pdf)) / 1024;
    const QString kept = qEnvironmentVariable("NARZEDZIA_BENCH_PDF");
    if (!kept.isEmpty()) {
        const QString copy = kept + u'/' + QString::fromLatin1(name) + QStringLiteral(".pdf");
        QFile::remove(copy);
        QFile::copy(path, copy);
    }
}

// A chart page with nine answers, as a chart window's "Drukuj" prints it.
void MeasureChartPage(benchmark::State& state, const char* name, const charts::ChartPageBody& body) {
    MeasurePrintout(state, name, [&](platform::Printer& printer) {
        charts::PrintChartPage(printer, "Ankieta: Ankieta, Pytanie nr 1", body);
    });
}

void BM_PrintBarChartPageToPdf(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally(1);
    const auto shares = charts::ComputeBarShares(tally, 1, charts::PercentBase::Respondents);
    MeasureChartPage(state, "bar", [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
        charts::PrintBarChartBody(canvas, shares, false, H, W);
    });
}
BENCHMARK(BM_PrintBarChartPageToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintPieChartPageToPdf(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally(1);
    MeasureChartPage(state, "pie", [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
        charts::PrintPieChartBody(canvas, charts::AnswerSharesOf(tally, 1), H, W);
    });
}
BENCHMARK(BM_PrintPieChartPageToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintStripeChartPageToPdf(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally(1);
    MeasureChartPage(state, "stripe", [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
        charts::PrintStripeChartBody(canvas, charts::AnswerSharesOf(tally, 1), H, W);
    });
}
BENCHMARK(BM_PrintStripeChartPageToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintMultiChartPageToPdf(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally(3);
    const auto values = charts::ComputeMultiValues(tally, {0, 1, 2, 3}, charts::PercentBase::Respondents);
    MeasureChartPage(state, "multi", [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
        charts::PrintMultiChartBody(canvas, values, {0, 1, 2, 3}, charts::kDefaultSeriesColours, false, H, W);
    });
}
BENCHMARK(BM_PrintMultiChartPageToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintComparisonPageToPdf(benchmark::State& state) {
    const bench::ThreeChannels channels;
    const stats::ChannelStore& store = channels.store;
    const stats::ChannelLooks& looks = channels.looks;
    const stats::ComparisonValues values =
        stats::ComputeComparison(store, looks, charts::PercentBase::Respondents);
    MeasurePrintout(state, "comparison", [&](platform::Printer& printer) {
        charts::PrintChartPage(printer, stats::ComparisonHeader(store),
                               [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                                   stats::PrintComparisonBody(canvas, store, values, looks, false, H, W);
                               });
    });
}
BENCHMARK(BM_PrintComparisonPageToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintResultsTable250QuestionsToPdf(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally(250);
    MeasurePrintout(state, "table", [&](platform::Printer& printer) { results::PrintResultsTable(printer, tally); });
}
BENCHMARK(BM_PrintResultsTable250QuestionsToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PrintSurvey250QuestionsToPdf(benchmark::State& state) {
    editor::QuestionRecord record;
    for (std::size_t line = 0; line < record.size(); ++line) {
        record[line] = "Tekst wiersza " + QByteArray::number(static_cast<int>(line + 1)) + " pytania ankiety";
    }
    MeasurePrintout(state, "survey", [&](platform::Printer& printer) {
        editor::PrintSurvey(printer, 250, [&](int) { return record; });
    });
}
BENCHMARK(BM_PrintSurvey250QuestionsToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
