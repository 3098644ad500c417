// Phone scanning over the loopback: 12-megapixel JPEG photos of filled sheets, made as the scan
// benchmark makes a phone's photos, sent one after another to the phone scanning of the whole
// program (a bar chart open) as a phone's browser sends them; each is timed from the end of its
// upload to the end of its answer. Every photo must be answered, and the event loop must keep
// turning meanwhile: the longest stall is reported.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <random>
#include <vector>

#include "app/program.h"
#include "event_loop_pulse.h"
#include "large_files.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "test_scans.h"

namespace {

constexpr int kPhotos = 8;
constexpr int kFirstSheet = 101;

const test_scans::SampleSurvey& Survey() {
    static const test_scans::SampleSurvey survey = test_scans::MakeSurvey({4, 3, 5, 2, 6});
    return survey;
}

// The photos of sheets kFirstSheet.., each a one-page sheet filled with clear marks and
// photographed at 12 megapixels.
const std::vector<QByteArray>& Photos() {
    static const std::vector<QByteArray> photos = [] {
        std::vector<QByteArray> made;
        std::mt19937 random(2028);
        constexpr int kDpi = 300;
        if (Survey().target.layout.size() != 1) return made;
        const std::vector<QImage> pages = test_scans::RenderSheets(Survey(), kFirstSheet, kPhotos, kDpi);
        for (int i = 0; i < kPhotos; ++i) {
            const scan::SheetCode code{Survey().sheets.fingerprint, kFirstSheet + i, 1, 1};
            const test_scans::MarkedPage marked = test_scans::MarkPage(
                pages[static_cast<std::size_t>(i)], Survey().target.layout.front(), code, kDpi,
                test_scans::ClearMarks(), random);
            made.push_back(test_scans::PhotoFile(marked.image, test_scans::RandomPhoneLook(random), random));
        }
        return made;
    }();
    return photos;
}

// Sends one photo as a browser sends a form with a file field, on a connection of its own, and
// waits for the whole answer: the milliseconds from the upload's end to it, and its body.
struct Answered {
    double ms = -1;
    QByteArray body;
};
Answered SendPhoto(quint16 port, const QByteArray& code, const QByteArray& photo) {
    const QByteArray boundary = "----benchBoundary7MA4YWxkTrZu0gW";
    const QByteArray body = "--" + boundary +
                            "\r\nContent-Disposition: form-data; name=\"zdjecie\"; filename=\"IMG_0001.jpg\"\r\n"
                            "Content-Type: image/jpeg\r\n\r\n" +
                            photo + "\r\n--" + boundary + "--\r\n";
    QTcpSocket socket;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QElapsedTimer sinceUpload;
    QByteArray received;
    QEventLoop done;
    QObject::connect(&socket, &QTcpSocket::connected, [&] {
        socket.write("POST /telefon?kod=" + code + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                     "\r\nContent-Type: multipart/form-data; boundary=" + boundary +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                     body);
    });
    QObject::connect(&socket, &QTcpSocket::bytesWritten, [&] {
        if (socket.bytesToWrite() == 0 && !sinceUpload.isValid()) sinceUpload.start();
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, &done, &QEventLoop::quit);
    QTimer::singleShot(30000, &done, &QEventLoop::quit);
    socket.connectToHost(QHostAddress::LocalHost, port);
    done.exec();
    received += socket.readAll();
    Answered answered;
    if (received.startsWith("HTTP/1.1 200") && sinceUpload.isValid()) {
        answered.ms = sinceUpload.nsecsElapsed() / 1e6;
        answered.body = received.mid(received.indexOf("\r\n\r\n") + 4);
    }
    return answered;
}

void BM_PhonePhotoOf12MegapixelsAnsweredAfterItsUpload(benchmark::State& state) {
    const std::vector<QByteArray>& photos = Photos();
    if (photos.empty()) return state.SkipWithError("the sheet takes more than one page");
    {
        QByteArray first = photos.front();
        QBuffer device(&first);
        const QSize size = QImageReader(&device, "jpeg").size();
        if (qint64(size.width()) * size.height() < 11'500'000) return state.SkipWithError("photos not of 12 MP");
    }
    QTemporaryDir folder;
    bench::ChoosingDialogs dialogs{QString()};
    platform::SystemPrinter printer(dialogs);
    app::Program program(dialogs, printer, folder.filePath(QStringLiteral("work")));
    program.server.PreferredPort = 0;
    program.Form3->ShowForm();
    program.Form3->TakeResults(Survey().tally, Survey().surveyText);
    program.Form3->Supkowy1->trigger();  // the bar chart follows the sheets as they come
    program.PhoneScan->StartScanning();
    const quint16 port = program.PhoneScan->Port();
    const QByteArray code = program.PhoneScan->CurrentScanning()->Code();

    bench::EventLoopPulse pulse;
    pulse.Start();

    std::vector<double> times;
    int added = 0;
    int waiting = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const Answered answered = SendPhoto(port, code, photos[next++ % photos.size()]);
        if (answered.ms < 0) return state.SkipWithError("a photo was not answered");
        state.SetIterationTime(answered.ms / 1000);
        times.push_back(answered.ms);
        added += answered.body.contains(": dodany</li>");
        waiting += answered.body.contains(": do sprawdzenia przy komputerze</li>");
    }
    pulse.Stop();
    std::sort(times.begin(), times.end());
    state.counters["answer_ms_median"] = times[times.size() / 2];
    state.counters["answer_ms_longest"] = times.back();
    state.counters["sheets_added"] = added;
    state.counters["sheets_to_check"] = waiting;
    state.counters["longest_stall_ms"] = pulse.LongestStallMs();
    program.PhoneScan->CloseForm();
    program.SheetReview->CloseForm();
    program.Form3->hide();
}
BENCHMARK(BM_PhonePhotoOf12MegapixelsAnsweredAfterItsUpload)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kPhotos);

}  // namespace
