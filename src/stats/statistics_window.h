// The statistics window: three channels of results of one questionnaire compared side by side.
#pragma once

#include <QTimer>
#include <array>

#include "platform/form.h"
#include "stats/channel_store.h"
#include "stats/comparison_chart.h"

class QAction;
class QCheckBox;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace charts {
class PictureBox;
}

namespace platform {
class Printer;
}

namespace stats {

class TForm7 : public platform::Form {
    Q_OBJECT
  public:
    TForm7(platform::Dialogs& dialogs, platform::Printer& printer, ChannelStore& store,
           platform::LauncherControl& launcher);

    // The colours the channel boxes have when the program starts: red, lime and blue.
    static QColor DefaultColour(int channel);

    // Loading and emptying channels ("Wyniki" menu).
    void LoadChannel(int channel);
    void ResetChannel(int channel);
    void ResetAllChannels();
    void Koniec1Click();

    void Button1Click();  // "Poprzednie"
    void Button2Click();  // "Następne"
    void Button3Click();  // "Zapisz"
    void Button4Click();  // "Drukuj"
    void ScrollBar1Change();
    void ChannelBoxClick(int channel);  // CheckBox1..3: a channel switched on or off
    void CheckBox4Click();              // "Skala 100%"
    void BaseClick();                   // "/ilość ank." or "/ilość odp."
    // A mouse button pressed on channel K's colour box (Edit1..3): the left button opens the
    // colour dialog, the right one brings back the default colour; then the focus goes to
    // "Skala 100%".
    void ChannelColourMouseDown(int channel, Qt::MouseButton button);
    // The same colour change from the keyboard (Space, Delete), the focus staying on the box.
    void ChangeChannelColour(int channel, Qt::MouseButton button);
    // Every 100 ms: draws the comparison when a redraw was requested and a channel is on.
    void Timer1Timer();

    // Each channel's state as the controls hold it: switched on, colour, label.
    ChannelLooks Looks() const;
    QColor ChannelColour(int channel) const;
    bool AnyChannelOn() const;

    QFrame* Shape1;
    charts::PictureBox* Image1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QCheckBox* CheckBox4;  // "Skala 100%", ticked when the program starts
    QPushButton* Button1;
    QPushButton* Button2;
    QScrollBar* ScrollBar1;
    QRadioButton* RadioButton1;  // "/ilość ank."
    QRadioButton* RadioButton2;  // "/ilość odp."
    QPushButton* Button3;
    QPushButton* Button4;
    QMenu* Wyniki1;
    QMenu* Wczytaj1;
    QAction* Kananr11;
    QAction* Kananr21;
    QAction* Kananr31;
    QMenu* Wyzeruj1;
    QAction* Kananr12;
    QAction* Kananr22;
    QAction* Kananr32;
    QAction* Wszystkie1;
    QAction* Koniec1;
    QAction* HiddenItem;  // the item without a caption, never visible

    std::array<QCheckBox*, kChannels + 1> ChannelBoxes{};  // CheckBox1..3 by channel
    std::array<QLineEdit*, kChannels + 1> ColourBoxes{};   // Edit1..3 by channel

    QTimer Timer1;  // 100 ms
    bool RedrawRequest = false;
    ComparisonValues Values;  // of the last drawing; the printout shows the same bars
    QString StartDir;         // the initial folder of the open dialog

  protected:
    void FormShow() override;
    void FormClose() override;

  private:
    void BuildControls();
    void WireHandlers();
    void SetChannelColour(int channel, QColor colour);
    void ClearPictureFrom(int x, int y);
    // Disables the menu, the buttons, the scroll bar and the channel boxes while a reset
    // question is open; returns whether the store was loaded (the scroll bar enabled).
    bool DisableForQuestion();
    // The controls after a reset question: the state table again.
    void RestoreAfterQuestion(bool loaded);
    void DisableStepping();
    charts::PercentBase SelectedBase() const;

    platform::Printer& printer_;
    ChannelStore& store_;
    platform::LauncherControl& launcher_;
};

}  // namespace stats
