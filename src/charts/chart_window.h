// The frame the four chart windows share: the picture, the 100 ms redraw cycle, saving the
// picture as a bitmap file, the printout frame, and for the bar, pie and stripe charts the
// question selector with its stepping buttons.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "platform/accessibility.h"
#include "platform/form.h"
#include "results/chart_link.h"
#include "results/results_tally.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace platform {
class Canvas;
class ComboBox;
class Printer;
}  // namespace platform

namespace charts {

// "Zapisz" of a chart: the picture as a .bmp file of the user's choice, replacing any file of
// that name without asking; a cancelled dialog does nothing.
void SavePictureToChosenFile(platform::Dialogs& dialogs, const QImage& picture);

// The printout body of a chart, drawn in the page measures H and W (16-bit, as every position of
// the body derives from them).
using ChartPageBody = std::function<void(platform::Canvas&, std::uint16_t H, std::uint16_t W)>;
// "Drukuj" of a chart: one landscape page of the current printer, without a dialog, with the
// header in bold underlined 14-point "times new roman" at (10, 30) and then the body.
void PrintChartPage(platform::Printer& printer, const QByteArray& header, const ChartPageBody& body);
// The header of a one-question chart's printout: "Ankieta: " + survey name + ", Pytanie nr " + q.
QByteArray QuestionPrintoutHeader(const results::ResultsTally& tally, int question);

// The picture control `Image1`: shows the picture the drawings paint, and is read by a screen
// reader as the chart's reading.
class PictureBox : public platform::ReadablePicture {
    Q_OBJECT
  public:
    PictureBox(QWidget* parent, const QRect& geometry);

    // The picture, silver until something draws on it. Its pixels are made on first use, so that
    // the chart windows built at start-up hold no pictures before they are drawn.
    QImage& Picture();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

// Where a chart window and its picture sit.
struct ChartPlacement {
    QString caption;
    QSize client;
    QPoint position;
    QRect picture;
};

class ChartWindow : public platform::Form, public results::ChartLink {
    Q_OBJECT
  public:
    ChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                const results::ResultsTally& tally, const ChartPlacement& placement);

    void OpenChart() override { ShowForm(); }
    void CloseChart() override { CloseForm(); }
    void RequestRedraw() override { RedrawRequest = true; }

    // Every 100 ms: redraws the whole picture when a redraw was requested, gives the picture the
    // reading of what it now shows, then clears the request. Nothing else draws on the picture.
    void Timer1Timer();

    PictureBox* Image1;
    QTimer Timer1;               // 100 ms, running from creation on
    bool RedrawRequest = false;  // set by whoever changes what the window must show

  protected:
    // Enables the results manager's menu item again and stops the timer.
    void FormClose() override;

    // The window's drawing, onto a canvas on `Image1`.
    virtual void DrawPicture(platform::Canvas& canvas) = 0;
    // What a screen reader reads of the picture, from the values of its last drawing.
    virtual platform::Reading PictureReading() const = 0;
    virtual QByteArray PrintoutHeader() const = 0;
    // The printout below the header, in the page measures H and W.
    virtual void PrintBody(platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) = 0;

    // "Zapisz": the picture as a .bmp file of the user's choice, replacing any file of that name.
    void SavePicture();
    // "Drukuj": one landscape page with the header and the window's printout body.
    void PrintChart();

    const results::ResultsTally& tally_;

  private:
    platform::Printer& printer_;
};

// Places of the question selector and the buttons of the bar, pie and stripe windows.
struct QuestionControlsPlacement {
    QRect previous;  // "Poprzednie"
    QRect next;      // "Następne"
    QRect selector;
    QRect save;   // "Zapisz"
    QRect print;  // "Drukuj"
};

// A chart of one question at a time, stepped through with the selector and the two buttons.
class QuestionChartWindow : public ChartWindow {
    Q_OBJECT
  public:
    QuestionChartWindow(platform::Dialogs& dialogs, platform::Printer& printer,
                        const results::ResultsTally& tally, const ChartPlacement& placement,
                        const QuestionControlsPlacement& controls);

    void Button1Click();  // "Poprzednie"
    void Button2Click();  // "Następne"
    void ComboBox1Change();
    void Button3Click() { PrintChart(); }
    void Button4Click() { SavePicture(); }

    std::uint8_t ShownQuestion = 0;  // from 1
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    platform::ComboBox* ComboBox1;  // the question numbers 1..QuestionCount

  protected:
    void FormShow() override;
    void FormClose() override;
    QByteArray PrintoutHeader() const override;

  private:
    void ShowQuestionNumber();
};

}  // namespace charts
