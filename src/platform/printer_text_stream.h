// Text printed line by line on the current printer's page: each line under the previous one,
// a run too wide for the page broken after the last character that fits, a new page when the
// page is full. The survey printout and the survey text printout write through it.
#pragma once

#include <QByteArray>
#include <optional>

#include "platform/printer.h"

namespace platform {

class PrinterTextStream {
public:
    explicit PrinterTextStream(Printer& printer) : printer_(printer) {}
    PrinterTextStream(const PrinterTextStream&) = delete;
    PrinterTextStream& operator=(const PrinterTextStream&) = delete;

    // Starts the print job and takes the printable area; the pen is at the page's top left.
    void Open();
    // Keeps Windows-1250 text for the line being written; nothing is drawn yet.
    void Write(const QByteArray& text);
    // Draws the kept text in the canvas's current font; the line stays open.
    void Flush();
    // Draws the kept text, then moves to the next line.
    void EndLine();
    // Ends the print job, which sends the last page.
    void Close();

private:
    void DrawRun(QByteArray text);
    void LineBreak();

    Printer& printer_;
    QByteArray pending_;
    // The job while the stream is open; one left open by a failure is ended with the stream.
    std::optional<PrintJob> job_;
    int x_ = 0;
    int y_ = 0;
    int W_ = 0;
    int H_ = 0;
    int L_ = 0;  // height of the line being written; 0 while nothing is drawn on it
};

}  // namespace platform
