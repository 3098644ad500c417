// The four chart windows of the loaded results: bar, pie, stripe and multi chart.
#pragma once

#include <QAbstractButton>
#include <array>

#include "charts/bar_chart.h"
#include "charts/chart_window.h"
#include "charts/multi_chart.h"

namespace charts {

// The pictures `Image1` of the bar, pie and stripe windows in their windows: what they show and
// save, and the size every picture of these charts is drawn in.
constexpr QRect kBarPicture{8, 8, 500, 250};
constexpr QRect kPiePicture{8, 6, 441, 275};
constexpr QRect kStripePicture{8, 8, 530, 230};

class TForm4 : public QuestionChartWindow {  // bar chart
    Q_OBJECT
  public:
    TForm4(platform::Dialogs& dialogs, platform::Printer& printer,
           const results::ResultsTally& tally);

    void CheckBox1Click();  // "Skala 100%"
    void RadioButton1Click() { RedrawRequest = true; }
    void RadioButton2Click() { RedrawRequest = true; }

    QRadioButton* RadioButton1;  // "/ilość ank."
    QRadioButton* RadioButton2;  // "/ilość odp."
    QCheckBox* CheckBox1;        // "Skala 100%", checked when the program starts
    bool ScaleToFull = true;
    BarChartShares Shares;  // of the last drawing; the printout shows the same bars

  protected:
    void FormShow() override;
    void DrawPicture(platform::Canvas& canvas) override;
    platform::Reading PictureReading() const override;
    void PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) override;

  private:
    PercentBase SelectedBase() const;
};

// A chart of one question's shares of the answers given, drawn and printed by the given
// functions: the pie and the stripe chart.
class SharesChartWindow : public QuestionChartWindow {
    Q_OBJECT
  public:
    using Draw = void (*)(platform::Canvas&, const AnswerShares&);
    using Print = void (*)(platform::Canvas&, const AnswerShares&, std::uint16_t H, std::uint16_t W);

    SharesChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                      const results::ResultsTally& tally, const ChartPlacement& placement,
                      const QuestionControlsPlacement& controls, Draw draw, Print print);

    AnswerShares Shares;  // of the last drawing; the printout shows the same question

  protected:
    void DrawPicture(platform::Canvas& canvas) override;
    platform::Reading PictureReading() const override;
    void PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) override;

  private:
    Draw draw_;
    Print print_;
};

class TForm5 : public SharesChartWindow {  // pie chart
    Q_OBJECT
  public:
    TForm5(platform::Dialogs& dialogs, platform::Printer& printer,
           const results::ResultsTally& tally);
};

class TForm6 : public SharesChartWindow {  // stripe chart
    Q_OBJECT
  public:
    TForm6(platform::Dialogs& dialogs, platform::Printer& printer,
           const results::ResultsTally& tally);
};

// A colour sample under a selector of the multi chart. It takes the keyboard focus, shown by a
// frame around it, and a screen reader reads it as a button with its colour as its description.
class ColourSwatch : public QAbstractButton {
    Q_OBJECT
  public:
    ColourSwatch(QWidget* parent, const QRect& geometry);

    QColor Colour() const { return colour_; }
    void SetColour(QColor colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_ = Qt::white;
};

class TForm9 : public ChartWindow {  // multi chart
    Q_OBJECT
  public:
    TForm9(platform::Dialogs& dialogs, platform::Printer& printer,
           const results::ResultsTally& tally);

    void ComboBox1Change() { SeriesSelectorChange(1); }
    void ComboBox2Change() { SeriesSelectorChange(2); }
    void ComboBox3Change() { SeriesSelectorChange(3); }
    void Button1Click() { SavePicture(); }
    void Button2Click() { PrintChart(); }
    // A mouse button on a series' colour sample: left chooses a colour, right the default.
    void Shape1MouseDown(Qt::MouseButton button) { SwatchMouseDown(1, button); }
    void Shape2MouseDown(Qt::MouseButton button) { SwatchMouseDown(2, button); }
    void Shape3MouseDown(Qt::MouseButton button) { SwatchMouseDown(3, button); }

    // The colour of each series, as its sample shows it.
    PerSeries<QColor> SeriesColour() const;

    // The question of each series 1..3 ("Pytanie nr " entries of its selector); index 0 unused.
    PerSeries<std::uint8_t> SeriesQuestion{};
    PerSeries<platform::ComboBox*> Selectors{};  // ComboBox1..3 by series
    PerSeries<ColourSwatch*> Shapes{};           // Shape1..3 by series
    MultiChartValues Values;  // of the last drawing; the printout shows the same bars
    platform::ComboBox* ComboBox1;
    platform::ComboBox* ComboBox2;
    platform::ComboBox* ComboBox3;
    QRadioButton* RadioButton1;  // "/ilość ank."
    QRadioButton* RadioButton2;  // "/ilość odp."
    QCheckBox* CheckBox1;        // "Skala 100%"
    ColourSwatch* Shape1;
    ColourSwatch* Shape2;
    ColourSwatch* Shape3;
    QPushButton* Button1;  // "Zapisz"
    QPushButton* Button2;  // "Drukuj"

  protected:
    void FormShow() override;
    void FormClose() override;
    void DrawPicture(platform::Canvas& canvas) override;
    platform::Reading PictureReading() const override;
    QByteArray PrintoutHeader() const override;
    void PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) override;

  private:
    void SeriesSelectorChange(int series);
    void SwatchMouseDown(int series, Qt::MouseButton button);
    PercentBase SelectedBase() const;
};

}  // namespace charts
