// The survey text window.
#include "results/survey_text_window.h"

#include <QStringList>

#include "platform/accessibility.h"
#include "platform/controls.h"
#include "platform/encoding.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/printer_text_stream.h"

namespace results {

void PrintSurveyText(platform::Printer& printer, const QList<QByteArray>& lines) {
    printer.SetOrientation(platform::Orientation::Portrait);
    printer.PageCanvas().SetFont({QStringLiteral("times new roman"), 12, false, false, Qt::black});
    platform::PrinterTextStream stream(printer);
    stream.Open();
    for (const QByteArray& line : lines) {
        stream.Write("     " + line);
        stream.EndLine();
    }
    stream.Close();
}

TForm8::TForm8(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store)
    : Form(dialogs, QStringLiteral("Treść ankiety..."), QSize(417, 405),
           platform::BorderStyle::Dialog),
      printer_(printer),
      store_(store) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(377, 56);

    Memo1 = new QPlainTextEdit(Client());
    Memo1->setGeometry(8, 8, 401, 361);
    Memo1->setReadOnly(true);
    Memo1->setFont(platform::ControlFont(QStringLiteral("Arial"), 11));
    platform::SetColour(*Memo1, QPalette::Text, Qt::black);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines wrap
    platform::NameControl(Memo1, QStringLiteral("Treść ankiety"));

    Button1 = AddButton(QStringLiteral("Drukuj"), {160, 376, 97, 25});
    Button1->setShortcut(QKeySequence::Print);
    OnClick(Button1, [this] { Button1Click(); });
    // Escape closes the window as its title bar does, back to the results manager.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { CloseForm(); });
}

void TForm8::ShowSurveyText() {
    QStringList lines;
    for (const QByteArray& line : store_.SurveyText) lines.append(platform::FromCodePage(line));
    Memo1->setPlainText(lines.join(u'\n'));
    ShowForm();
}

void TForm8::Button1Click() { PrintSurveyText(printer_, store_.SurveyText); }

void TForm8::FormClose() {
    if (OnClosed) OnClosed();
}

}  // namespace results
