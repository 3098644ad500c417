// Text printed line by line on the current printer's page: each line under the previous one,
// a run too wide for the page broken after the last character that fits, a new page when the
// page is full. The survey printout and the survey text printout write through it.
#pragma once

#include <QByteArray>

namespace platform {

class Printer;

class PrinterTextStream {
public:
    explicit PrinterTextStream(Printer& printer) : printer_(printer) {}
    // A stream left open (a failure ended its printout) ends its job, so the printer is free again.
    ~PrinterTextStream();
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
    bool open_ = false;
    int x_ = 0;
    int y_ = 0;
    int W_ = 0;
    int H_ = 0;
    int L_ = 0;  // height of the line being written; 0 while nothing is drawn on it
};

}  // namespace platform
