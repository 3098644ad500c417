// The printer text stream: line breaking, line advance and page breaks on the printer's canvas.
#include "platform/printer_text_stream.h"

#include "platform/printer.h"

namespace platform {

PrinterTextStream::~PrinterTextStream() {
    if (!open_) return;
    try {
        printer_.EndDoc();
    } catch (...) {
        // Already ending on a failure; that one is the one reported.
    }
}

void PrinterTextStream::Open() {
    printer_.BeginDoc();
    open_ = true;
    // Texts are drawn on an opaque background: the paper's white, whatever a chart left set.
    printer_.PageCanvas().SetBrush(Qt::white);
    W_ = printer_.PageWidth();
    H_ = printer_.PageHeight();
    x_ = 0;
    y_ = 0;
    L_ = 0;
    pending_.clear();
}

void PrinterTextStream::Write(const QByteArray& text) { pending_ += text; }

void PrinterTextStream::Flush() {
    DrawRun(pending_);
    pending_.clear();
}

void PrinterTextStream::EndLine() {
    Flush();
    LineBreak();
}

void PrinterTextStream::Close() {
    if (!open_) return;
    Flush();
    open_ = false;
    printer_.EndDoc();
}

void PrinterTextStream::DrawRun(QByteArray text) {
    Canvas& canvas = printer_.PageCanvas();
    while (!text.isEmpty()) {
        qsizetype n = text.size();
        while (n > 0 && x_ + canvas.TextWidth(text.left(n)) > W_) --n;
        // A character wider than the whole line goes on a line of its own rather than breaking
        // line after line without end.
        if (n == 0 && x_ == 0) n = 1;
        const QByteArray piece = text.left(n);
        if (n > 0) {
            const int height = canvas.TextHeight(piece);
            if (height > L_) L_ = height + 2;
            canvas.TextOut(x_, y_, piece);
        }
        text.remove(0, n);
        if (text.isEmpty()) {
            x_ += canvas.TextWidth(piece);
        } else {
            LineBreak();
        }
    }
}

void PrinterTextStream::LineBreak() {
    x_ = 0;
    y_ += L_ > 0 ? L_ : printer_.PageCanvas().TextHeight(" ");
    if (y_ > H_ - 2 * L_) {
        printer_.NewPage();
        x_ = 0;
        y_ = 0;
    }
    L_ = 0;
}

}  // namespace platform
