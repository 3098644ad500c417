// The chart windows' shared frame: picture, redraw cycle, saving, printing, question stepping.
#include "charts/chart_window.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "charts/chart_drawing.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/file_names.h"
#include "platform/fonts.h"
#include "platform/picture_file.h"
#include "platform/printer.h"
#include "platform/round.h"

namespace charts {

void SavePictureToChosenFile(platform::Dialogs& dialogs, const QImage& picture) {
    QString name =
        dialogs.SaveFileName({QStringLiteral("Wybierz plik, w którym chcesz zapisać wykres..."),
                              QStringLiteral("Pliki graficzne (*.bmp)|*.bmp"), QString()});
    if (name.isEmpty()) return;
    name = platform::ReplaceExtension(name, QStringLiteral(".bmp"));
    // An existing picture is replaced only by a complete new one.
    platform::SavePictureAsBitmap(picture, name);
}

void PrintChartPage(platform::Printer& printer, const QByteArray& header, const ChartPageBody& body) {
    printer.SetOrientation(platform::Orientation::Landscape);
    const auto H = static_cast<std::uint16_t>(platform::Round(0.95 * printer.PageHeight()));
    const auto W = static_cast<std::uint16_t>(platform::Round(0.83 * printer.PageWidth()));
    platform::Canvas& canvas = printer.PageCanvas();
    canvas.SetFont({QStringLiteral("times new roman"), 14, true, true, Qt::black});
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::white);
    platform::PrintJob job(printer);
    canvas.TextOut(10, 30, header);
    body(canvas, H, W);
    job.End();
}

PictureBox::PictureBox(QWidget* parent, const QRect& geometry) : platform::ReadablePicture(parent) {
    setGeometry(geometry);
}

QImage& PictureBox::Picture() {
    if (picture_.isNull()) picture_ = BlankPicture(size());
    return picture_;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), QColor(kSilver));
        return;
    }
    // On a high-density screen each picture pixel becomes a sharp block, never a blur.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(0, 0, picture_);
}

ChartWindow::ChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                         const results::ResultsTally& tally, const ChartPlacement& placement)
    : Form(dialogs, placement.caption, placement.client, platform::BorderStyle::Dialog),
      Image1(new PictureBox(Client(), placement.picture)),
      tally_(tally),
      printer_(printer) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(placement.position.x(), placement.position.y());
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(); }); });
    Timer1.start();
    // Escape closes the chart as its title bar does.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { CloseForm(); });
}

void ChartWindow::Timer1Timer() {
    if (!RedrawRequest) return;
    platform::Canvas canvas(Image1->Picture());
    DrawPicture(canvas);
    Image1->update();
    Image1->SetReading(PictureReading());
    RedrawRequest = false;
}

void ChartWindow::FormClose() {
    if (OnChartClosed) OnChartClosed();
    Timer1.stop();
}

void ChartWindow::SavePicture() { SavePictureToChosenFile(dialogs(), Image1->Picture()); }

void ChartWindow::PrintChart() {
    PrintChartPage(printer_, PrintoutHeader(),
                   [this](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                       PrintBody(canvas, H, W);
                   });
}

QuestionChartWindow::QuestionChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                                         const results::ResultsTally& tally,
                                         const ChartPlacement& placement,
                                         const QuestionControlsPlacement& controls)
    : ChartWindow(dialogs, printer, tally, placement),
      Button1(AddButton(QStringLiteral("Poprzednie"), controls.previous)),
      Button2(AddButton(QStringLiteral("Następne"), controls.next)),
      Button3(AddButton(QStringLiteral("Drukuj"), controls.print)),
      Button4(AddButton(QStringLiteral("Zapisz"), controls.save)),
      ComboBox1(AddComboBox(controls.selector)) {
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Button3, [this] { Button3Click(); });
    OnClick(Button4, [this] { Button4Click(); });
    OnChange(ComboBox1, [this] { ComboBox1Change(); });
    platform::NameControl(ComboBox1, QStringLiteral("Numer pytania"));
    Button4->setShortcut(QKeySequence::Save);
    Button3->setShortcut(QKeySequence::Print);
    // As they stand: the picture, the column beside it from the top, the buttons under it.
    platform::SetTabOrder({Image1, ComboBox1, Button4, Button3, Button1, Button2});
}

void QuestionChartWindow::FormShow() {
    ComboBox1->clear();
    for (int q = 1; q <= tally_.QuestionCount; ++q) ComboBox1->AddItem(QString::number(q));
    ComboBox1->SetItemIndex(0);
    Button1->setEnabled(false);
    ShownQuestion = 1;
    // Also disabled for results without questions, where there is nothing to step to.
    Button2->setEnabled(ShownQuestion < tally_.QuestionCount);
    Timer1.start();
}

void QuestionChartWindow::FormClose() {
    ChartWindow::FormClose();
    ComboBox1->clear();
}

void QuestionChartWindow::Button1Click() {
    Button2->setEnabled(true);
    --ShownQuestion;
    if (ShownQuestion <= 1) Button1->setEnabled(false);
    ShowQuestionNumber();
    RedrawRequest = true;
}

void QuestionChartWindow::Button2Click() {
    Button1->setEnabled(true);
    ++ShownQuestion;
    if (ShownQuestion >= tally_.QuestionCount) Button2->setEnabled(false);
    ShowQuestionNumber();
    RedrawRequest = true;
}

void QuestionChartWindow::ComboBox1Change() {
    RedrawRequest = true;
    // A typed number that matches no entry brings back the question shown.
    if (ComboBox1->ItemIndex() < 0) ComboBox1->SetItemIndex(ShownQuestion - 1);
    const int index = ComboBox1->ItemIndex();
    if (index < 0) return;  // an empty selector: results without questions
    ShownQuestion = static_cast<std::uint8_t>(index + 1);
    ShowQuestionNumber();
    Button1->setEnabled(ShownQuestion > 1);
    Button2->setEnabled(ShownQuestion < tally_.QuestionCount);
}

void QuestionChartWindow::ShowQuestionNumber() {
    ComboBox1->SetText(QString::number(ShownQuestion));
}

QByteArray QuestionPrintoutHeader(const results::ResultsTally& tally, int question) {
    return "Ankieta: " + tally.SurveyName + ", Pytanie nr " + QByteArray::number(question);
}

QByteArray QuestionChartWindow::PrintoutHeader() const {
    return QuestionPrintoutHeader(tally_, ShownQuestion);
}

}  // namespace charts
