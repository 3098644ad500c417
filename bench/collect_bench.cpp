// Answer collection over the loopback: 1000 answers of a 20-question form sent by concurrent
// clients in this process to the collection window of the whole program, each client opening
// the form and sending it as a phone's browser does. Every answer must be counted exactly once,
// and the event loop (the windows, an open bar chart among them) must keep turning: the longest
// stall is reported.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTcpSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/program.h"
#include "event_loop_pulse.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "results/results_file.h"

namespace {

constexpr int kAnswers = 1000;
constexpr int kQuestions = 20;
constexpr int kClients = 50;

class AgreeingDialogs : public platform::Dialogs {
public:
    QString file;
    void Notice(const QString&) override {}
    bool Question(const QString&) override { return true; }
    void Error(const QString&) override {}
    QString OpenFileName(const platform::FileDialogOptions&) override { return file; }
    QString SaveFileName(const platform::FileDialogOptions&) override { return {}; }
    QColor ChooseColour(QColor preset) override { return preset; }
};

// What every client shares: where to send, the code, and how many answers are sent and taken.
struct Round {
    quint16 port = 0;
    QByteArray code;
    int started = 0;
    int finished = 0;
    int failed = 0;
    QEventLoop* done = nullptr;
};

// One client on its own kept-alive connection, one phone after another: open the form, send it
// with answer a to i ticked in every question, and start again while answers remain to be sent.
// HTTP is written and read by hand: Qt's own web client spends far more than the server does.
class Client {
public:
    explicit Client(Round& round) : round_(round) {
        QObject::connect(&socket_, &QTcpSocket::connected, &socket_, [this] { Next(); });
        QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { Read(); });
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket_.connectToHost(QHostAddress::LocalHost, round.port);
    }

private:
    void Next() {
        if (round_.started == kAnswers) return socket_.disconnectFromHost();
        number_ = round_.started++;
        cookie_.clear();
        socket_.write("GET / HTTP/1.1\r\n" + Host() + "\r\n");
    }
    void Read() {
        buffer_ += socket_.readAll();
        for (;;) {
            const qsizetype headEnd = buffer_.indexOf("\r\n\r\n");
            if (headEnd < 0) return;
            const QByteArray head = buffer_.left(headEnd);
            static const QRegularExpression lengthField(QStringLiteral("(?i)content-length: *(\\d+)"));
            const qsizetype length = lengthField.match(QString::fromLatin1(head)).captured(1).toLongLong();
            if (buffer_.size() < headEnd + 4 + length) return;
            const QByteArray body = buffer_.mid(headEnd + 4, length);
            buffer_.remove(0, headEnd + 4 + length);
            if (cookie_.isEmpty()) {
                Send(head, body);
            } else {
                if (!head.startsWith("HTTP/1.1 200")) ++round_.failed;
                if (++round_.finished == kAnswers) round_.done->quit();
                Next();
            }
        }
    }
    // The server's own name with its port: anything else is refused (421).
    QByteArray Host() const { return "Host: 127.0.0.1:" + QByteArray::number(round_.port) + "\r\n"; }
    void Send(const QByteArray& head, const QByteArray& page) {
        static const QRegularExpression cookieField(QStringLiteral("(?i)set-cookie: *([^;\\r]+)"));
        static const QRegularExpression tokenField(QStringLiteral("name=\"token\" value=\"([0-9a-f]+)\""));
        cookie_ = cookieField.match(QString::fromLatin1(head)).captured(1).toLatin1();
        const QByteArray token = tokenField.match(QString::fromLatin1(page)).captured(1).toLatin1();
        QByteArray body = "kod=" + round_.code + "&token=" + token;
        for (int q = 1; q <= kQuestions; ++q) body += "&q" + QByteArray::number(q) + "=" + char('a' + number_ % 9);
        socket_.write("POST / HTTP/1.1\r\n" + Host() + "Cookie: " + cookie_ +
                      "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }

    Round& round_;
    QTcpSocket socket_;
    QByteArray buffer_;
    QByteArray cookie_;  // empty while the form is awaited
    int number_ = 0;
};

void BM_CollectThousandAnswersOfTwentyQuestions(benchmark::State& state) {
    QTemporaryDir folder;
    AgreeingDialogs dialogs;
    platform::SystemPrinter printer(dialogs);
    app::Program program(dialogs, printer, folder.filePath(QStringLiteral("work")));
    QList<QByteArray> lines{"RESULTS", "Ankieta na lekcji", "0", QByteArray::number(kQuestions)};
    for (int q = 1; q <= kQuestions; ++q) {
        lines << "9";
        for (int a = 1; a <= 9; ++a) lines << "0";
    }
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    dialogs.file = folder.filePath(QStringLiteral("lekcja.wyn"));
    QFile file(dialogs.file);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return state.SkipWithError("cannot write the results file");
    }
    file.close();
    program.Form3->ShowForm();
    program.server.PreferredPort = 0;

    bench::EventLoopPulse pulse;
    bool allCounted = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (program.Form3->ResultsLoaded()) program.Form3->Wyzeruj1->trigger();
        program.Form3->Otwrz1->trigger();
        program.Form3->Supkowy1->trigger();  // the bar chart follows the answers as they come
        program.Form11->StartCollecting();
        Round round;
        round.port = program.Form11->Port();
        round.code = program.Form11->CurrentCollection()->Code();
        QEventLoop done;
        round.done = &done;
        state.ResumeTiming();

        pulse.Start();
        std::vector<std::unique_ptr<Client>> clients;
        for (int c = 0; c < kClients; ++c) clients.push_back(std::make_unique<Client>(round));
        QTimer::singleShot(30000, &done, &QEventLoop::quit);
        done.exec();

        state.PauseTiming();
        pulse.Stop();
        const results::ResultsTally& tally = program.results.Tally;
        allCounted = allCounted && round.failed == 0 && tally.RespondentCount == kAnswers &&
                     program.Form11->CurrentCollection()->Accepted() == kAnswers;
        for (int q = 1; q <= kQuestions; ++q) {
            int sum = 0;
            for (int a = 1; a <= 9; ++a) sum += tally.AnswerTally[q][a];
            allCounted = allCounted && sum == kAnswers && tally.AnswerTally[q][1] == (kAnswers + 8) / 9;
        }
        clients.clear();
        program.Form11->CloseForm();
        state.ResumeTiming();
    }
    if (!allCounted) state.SkipWithError("not every answer was counted exactly once");
    state.counters["longest_stall_ms"] = pulse.LongestStallMs();
    program.Form3->hide();
}
BENCHMARK(BM_CollectThousandAnswersOfTwentyQuestions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
