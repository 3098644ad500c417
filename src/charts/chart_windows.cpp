// The bar, pie, stripe and multi chart windows: their controls, places and own handlers.
#include "charts/chart_windows.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "charts/chart_reading.h"
#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "platform/controls.h"

namespace charts {

TForm4::TForm4(platform::Dialogs& dialogs, platform::Printer& printer,
               const results::ResultsTally& tally)
    : QuestionChartWindow(
          dialogs, printer, tally,
          {QStringLiteral("Wykres słupkowy..."), {602, 291}, {185, 1}, kBarPicture},
          {{24, 264, 153, 23},
           {328, 264, 161, 23},
           {528, 16, 65, 21},
           {520, 200, 73, 23},
           {520, 232, 73, 23}}),
      RadioButton1(AddRadioButton(QStringLiteral("/ilość ank."), {520, 128, 81, 17})),
      RadioButton2(AddRadioButton(QStringLiteral("/ilość odp."), {520, 144, 73, 25})),
      CheckBox1(AddCheckBox(QStringLiteral("Skala 100%"), {520, 176, 81, 17})) {
    CheckBox1->setChecked(true);
    RadioButton1->setChecked(true);
    OnToggle(CheckBox1, [this] { CheckBox1Click(); });
    OnChecked(RadioButton1, [this] { RadioButton1Click(); });
    OnChecked(RadioButton2, [this] { RadioButton2Click(); });
    platform::SetTabOrder({Image1, ComboBox1, RadioButton1, RadioButton2, CheckBox1, Button4,
                           Button3, Button1, Button2});
}

void TForm4::CheckBox1Click() {
    ScaleToFull = CheckBox1->isChecked();
    RedrawRequest = true;
}

void TForm4::FormShow() {
    QuestionChartWindow::FormShow();
    RadioButton1->setChecked(true);
    // "Skala 100%" keeps its state from the last opening.
    ScaleToFull = CheckBox1->isChecked();
}

PercentBase TForm4::SelectedBase() const {
    return RadioButton2->isChecked() ? PercentBase::Answers : PercentBase::Respondents;
}

void TForm4::DrawPicture(platform::Canvas& canvas) {
    Shares = ComputeBarShares(tally_, ShownQuestion, SelectedBase());
    DrawBarChart(canvas, Shares, ScaleToFull);
}

platform::Reading TForm4::PictureReading() const {
    return ReadBarChart(tally_, Shares, SelectedBase());
}

void TForm4::PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
    // Printed before the timer showed a change (within its 100 ms): the page shows the question
    // and base that the screen is about to show, not the previous ones.
    if (RedrawRequest) Shares = ComputeBarShares(tally_, ShownQuestion, SelectedBase());
    PrintBarChartBody(canvas, Shares, ScaleToFull, H, W);
}

SharesChartWindow::SharesChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                                     const results::ResultsTally& tally,
                                     const ChartPlacement& placement,
                                     const QuestionControlsPlacement& controls, Draw draw,
                                     Print print)
    : QuestionChartWindow(dialogs, printer, tally, placement, controls), draw_(draw), print_(print) {}

void SharesChartWindow::DrawPicture(platform::Canvas& canvas) {
    Shares = AnswerSharesOf(tally_, ShownQuestion);
    draw_(canvas, Shares);
}

platform::Reading SharesChartWindow::PictureReading() const {
    return ReadSharesChart(BaseCaption(), tally_, Shares);
}

void SharesChartWindow::PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
    // Printed before the timer showed a change: the page shows what the screen is about to show.
    print_(canvas, RedrawRequest ? AnswerSharesOf(tally_, ShownQuestion) : Shares, H, W);
}

TForm5::TForm5(platform::Dialogs& dialogs, platform::Printer& printer,
               const results::ResultsTally& tally)
    : SharesChartWindow(
          dialogs, printer, tally,
          {QStringLiteral("Wykres kołowy..."), {542, 314}, {2, 1}, kPiePicture},
          {{24, 288, 113, 23},
           {312, 288, 113, 23},
           {464, 8, 65, 21},
           {456, 228, 73, 23},
           {456, 260, 73, 23}},
          &DrawPieChart, &PrintPieChartBody) {}

TForm6::TForm6(platform::Dialogs& dialogs, platform::Printer& printer,
               const results::ResultsTally& tally)
    : SharesChartWindow(
          dialogs, printer, tally,
          {QStringLiteral("Wykres paskowy..."), {632, 276}, {61, 259}, kStripePicture},
          {{24, 248, 121, 23},
           {400, 248, 121, 23},
           {552, 8, 65, 21},
           {552, 202, 73, 23},
           {552, 234, 73, 23}},
          &DrawStripeChart, &PrintStripeChartBody) {}

ColourSwatch::ColourSwatch(QWidget* parent, const QRect& geometry) : QAbstractButton(parent) {
    setGeometry(geometry);
    setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
    platform::ShowFocusFrame(this);
}

void ColourSwatch::SetColour(QColor colour) {
    colour_ = colour;
    setAccessibleDescription(ColourReading(colour));
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TForm9::TForm9(platform::Dialogs& dialogs, platform::Printer& printer,
               const results::ResultsTally& tally)
    : ChartWindow(dialogs, printer, tally,
                  {QStringLiteral("Multi..."), {736, 381}, {39, 161}, {8, 40, 705, 305}}),
      ComboBox1(AddComboBox({24, 8, 145, 21})),
      ComboBox2(AddComboBox({184, 8, 145, 21})),
      ComboBox3(AddComboBox({344, 8, 145, 21})),
      RadioButton1(AddRadioButton(QStringLiteral("/ilość ank."), {536, 3, 81, 17})),
      RadioButton2(AddRadioButton(QStringLiteral("/ilość odp."), {536, 19, 73, 25})),
      CheckBox1(AddCheckBox(QStringLiteral("Skala 100%"), {624, 23, 97, 17})),
      Shape1(new ColourSwatch(Client(), {24, 352, 145, 17})),
      Shape2(new ColourSwatch(Client(), {184, 352, 145, 17})),
      Shape3(new ColourSwatch(Client(), {344, 352, 145, 17})),
      Button1(AddButton(QStringLiteral("Zapisz"), {560, 352, 73, 25})),
      Button2(AddButton(QStringLiteral("Drukuj"), {640, 352, 73, 25})) {
    Selectors = {nullptr, ComboBox1, ComboBox2, ComboBox3};
    Shapes = {nullptr, Shape1, Shape2, Shape3};
    RadioButton1->setChecked(true);
    CheckBox1->setChecked(true);
    OnChange(ComboBox1, [this] { ComboBox1Change(); });
    OnChange(ComboBox2, [this] { ComboBox2Change(); });
    OnChange(ComboBox3, [this] { ComboBox3Change(); });
    // The drawing reads the base and the scale from the controls themselves.
    OnToggle(CheckBox1, [this] { RedrawRequest = true; });
    OnChecked(RadioButton1, [this] { RedrawRequest = true; });
    OnChecked(RadioButton2, [this] { RedrawRequest = true; });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnMouseDown(Shape1, [this](Qt::MouseButton button) { Shape1MouseDown(button); });
    OnMouseDown(Shape2, [this](Qt::MouseButton button) { Shape2MouseDown(button); });
    OnMouseDown(Shape3, [this](Qt::MouseButton button) { Shape3MouseDown(button); });
    for (int s = 1; s <= 3; ++s) {
        OnKeysForMouse(Shapes[s],
                       [this, s](Qt::MouseButton button) { SwatchMouseDown(s, button); });
        platform::NameControl(Selectors[s], QStringLiteral("Pytanie serii %1").arg(s));
        platform::NameControl(Shapes[s], QStringLiteral("Kolor serii %1").arg(s));
    }
    Button1->setShortcut(QKeySequence::Save);
    Button2->setShortcut(QKeySequence::Print);
    // As they stand: the row above the picture, the picture, the row under it.
    platform::SetTabOrder({ComboBox1, ComboBox2, ComboBox3, RadioButton1, RadioButton2, CheckBox1,
                           Image1, Shape1, Shape2, Shape3, Button1, Button2});
}

void TForm9::FormShow() {
    for (int s = 1; s <= 3; ++s) {
        Selectors[s]->clear();
        for (int q = 1; q <= tally_.QuestionCount; ++q) {
            Selectors[s]->AddItem(QStringLiteral("Pytanie nr ") + QString::number(q));
        }
        Selectors[s]->SetItemIndex(0);
        SeriesQuestion[s] = 1;
    }
    RadioButton1->setChecked(true);
    Timer1.start();
    CheckBox1->setChecked(true);
    CheckBox1->setFocus();
    Shape1->SetColour(QColor(255, 0, 0));
    Shape2->SetColour(QColor(128, 255, 0));
    Shape3->SetColour(QColor(128, 128, 255));
}

void TForm9::FormClose() {
    ChartWindow::FormClose();
    for (int s = 1; s <= 3; ++s) Selectors[s]->clear();
}

void TForm9::SeriesSelectorChange(int series) {
    RedrawRequest = true;
    platform::ComboBox* selector = Selectors[series];
    if (selector->ItemIndex() < 0) selector->SetItemIndex(SeriesQuestion[series] - 1);
    if (selector->ItemIndex() >= 0) {
        SeriesQuestion[series] = static_cast<std::uint8_t>(selector->ItemIndex() + 1);
    }
}

void TForm9::SwatchMouseDown(int series, Qt::MouseButton button) {
    ColourSwatch* sample = Shapes[series];
    sample->SetColour(
        PickBoxColour(dialogs(), button, sample->Colour(), kDefaultSeriesColours[series]));
    RedrawRequest = true;
}

PerSeries<QColor> TForm9::SeriesColour() const {
    return {QColor(), Shape1->Colour(), Shape2->Colour(), Shape3->Colour()};
}

PercentBase TForm9::SelectedBase() const {
    return RadioButton2->isChecked() ? PercentBase::Answers : PercentBase::Respondents;
}

void TForm9::DrawPicture(platform::Canvas& canvas) {
    Values = ComputeMultiValues(tally_, SeriesQuestion, SelectedBase());
    DrawMultiChart(canvas, Values, SeriesColour(), CheckBox1->isChecked());
}

platform::Reading TForm9::PictureReading() const {
    return ReadMultiChart(tally_, Values, SelectedBase());
}

void TForm9::PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
    // The questions, colours and scale are read as they are now; the bars are those of the last
    // drawing, or of the one the timer is about to make.
    const MultiChartValues shown =
        RedrawRequest ? ComputeMultiValues(tally_, SeriesQuestion, SelectedBase()) : Values;
    PrintMultiChartBody(canvas, shown, SeriesQuestion, SeriesColour(), CheckBox1->isChecked(), H,
                        W);
}

QByteArray TForm9::PrintoutHeader() const {
    return "Ankieta: " + tally_.SurveyName + ", wykres Multi";
}

}  // namespace charts
