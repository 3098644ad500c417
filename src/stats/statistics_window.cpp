// The statistics window: its controls and states, loading and emptying channels, stepping through
// the questions, the channel colours, the redraw cycle, saving and printing the comparison.
#include "stats/statistics_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "charts/chart_reading.h"
#include "charts/chart_window.h"
#include "platform/accessibility.h"
#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/encoding.h"
#include "platform/file_names.h"
#include "platform/fonts.h"

namespace stats {

TForm7::TForm7(platform::Dialogs& dialogs, platform::Printer& printer, ChannelStore& store,
               platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Statystyki..."), QSize(792, 400),
           platform::BorderStyle::Single),
      printer_(printer),
      store_(store),
      launcher_(launcher) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(charts::kSilver));
    setPalette(silver);
    CentreOnScreen();
    BuildControls();
    WireHandlers();
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(); }); });
    Timer1.start();
}

QColor TForm7::DefaultColour(int channel) {
    static const std::array<QColor, kChannels + 1> defaults{QColor(), QColor(255, 0, 0),
                                                            QColor(0, 255, 0), QColor(0, 0, 255)};
    return defaults[channel];
}

void TForm7::BuildControls() {
    QWidget* client = Client();
    Shape1 = new QFrame(client);
    Shape1->setGeometry(0, 0, 798, 1);
    platform::SetColour(*Shape1, QPalette::Window, QColor(0x808080));
    Image1 = new charts::PictureBox(client, {8, 2, 777, 333});

    const std::array<int, kChannels + 1> checkLeft{0, 24, 240, 456};
    const std::array<int, kChannels + 1> editLeft{0, 48, 264, 480};
    for (int K = 1; K <= kChannels; ++K) {
        QCheckBox* box = AddCheckBox(QString(), {checkLeft[K], 336, 17, 17});
        box->setToolTip(QStringLiteral("(De)aktywizuje kanał"));
        ChannelBoxes[K] = box;

        auto* edit = new QLineEdit(client);
        edit->setGeometry(editLeft[K], 336, 185, 19);
        edit->setReadOnly(true);
        edit->setFrame(false);
        // In the tab order, so that the keyboard reaches the colour too (Space chooses it,
        // Delete brings back the default); a click still moves the focus on.
        edit->setFocusPolicy(Qt::StrongFocus);
        platform::ShowFocusFrame(edit);
        edit->setCursor(Qt::CrossCursor);
        edit->setContextMenuPolicy(Qt::NoContextMenu);  // the right button gives the default colour
        edit->setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11, true));
        edit->setToolTip(QStringLiteral("Zmień kolor"));
        ColourBoxes[K] = edit;
        SetChannelColour(K, DefaultColour(K));
        platform::NameControl(box, QStringLiteral("Kanał %1").arg(K));
        platform::NameControl(edit, QStringLiteral("Kolor kanału %1").arg(K));
    }
    CheckBox1 = ChannelBoxes[1];
    CheckBox2 = ChannelBoxes[2];
    CheckBox3 = ChannelBoxes[3];
    Edit1 = ColourBoxes[1];
    Edit2 = ColourBoxes[2];
    Edit3 = ColourBoxes[3];

    CheckBox4 = AddCheckBox(QStringLiteral("Skala 100%"), {704, 336, 81, 17});
    CheckBox4->setChecked(true);
    Button1 = AddButton(QStringLiteral("Poprzednie"), {16, 368, 145, 23});
    Button2 = AddButton(QStringLiteral("Następne"), {176, 368, 145, 23});
    ScrollBar1 = new QScrollBar(Qt::Horizontal, client);
    ScrollBar1->setGeometry(336, 368, 177, 21);
    ScrollBar1->setPageStep(5);
    // The arrow keys step the questions, Page Up and Page Down five at a time.
    platform::StepByKeys(ScrollBar1);
    platform::ShowFocusFrame(ScrollBar1);
    platform::NameControl(ScrollBar1, QStringLiteral("Numer pytania"));
    RadioButton1 = AddRadioButton(QStringLiteral("/ilość ank."), {528, 360, 81, 17});
    RadioButton2 = AddRadioButton(QStringLiteral("/ilość odp."), {528, 376, 73, 25});
    RadioButton1->setChecked(true);
    Button3 = AddButton(QStringLiteral("Zapisz"), {616, 368, 73, 23});
    Button4 = AddButton(QStringLiteral("Drukuj"), {704, 368, 73, 23});
    Button3->setShortcut(QKeySequence::Save);
    Button4->setShortcut(QKeySequence::Print);
    // As they stand: the picture, the row of channels under it, then the bottom row.
    platform::SetTabOrder({Image1, CheckBox1, Edit1, CheckBox2, Edit2, CheckBox3, Edit3, CheckBox4,
                           Button1, Button2, ScrollBar1, RadioButton1, RadioButton2, Button3,
                           Button4});

    // Each menu and item with its Alt letter.
    Wyniki1 = MenuBar()->addMenu(QStringLiteral("&Wyniki"));
    Wczytaj1 = Wyniki1->addMenu(QStringLiteral("&Wczytaj"));
    Kananr11 = Wczytaj1->addAction(QStringLiteral("Kanał &1"));
    Kananr21 = Wczytaj1->addAction(QStringLiteral("Kanał &2"));
    Kananr31 = Wczytaj1->addAction(QStringLiteral("Kanał &3"));
    Wyzeruj1 = Wyniki1->addMenu(QStringLiteral("Wy&zeruj"));
    Kananr12 = Wyzeruj1->addAction(QStringLiteral("Kanał &1"));
    Kananr22 = Wyzeruj1->addAction(QStringLiteral("Kanał &2"));
    Kananr32 = Wyzeruj1->addAction(QStringLiteral("Kanał &3"));
    Wszystkie1 = Wyzeruj1->addAction(QStringLiteral("&Wszystkie"));
    Koniec1 = Wyniki1->addAction(QStringLiteral("&Koniec"));
    HiddenItem = Wyniki1->addAction(QString());
    HiddenItem->setVisible(false);
}

void TForm7::WireHandlers() {
    const std::array<QAction*, kChannels + 1> loads{nullptr, Kananr11, Kananr21, Kananr31};
    const std::array<QAction*, kChannels + 1> resets{nullptr, Kananr12, Kananr22, Kananr32};
    for (int K = 1; K <= kChannels; ++K) {
        OnClick(loads[K], [this, K] { LoadChannel(K); });
        OnClick(resets[K], [this, K] { ResetChannel(K); });
        OnToggle(ChannelBoxes[K], [this, K] { ChannelBoxClick(K); });
        OnMouseDown(ColourBoxes[K],
                    [this, K](Qt::MouseButton button) { ChannelColourMouseDown(K, button); });
        OnKeysForMouse(ColourBoxes[K],
                       [this, K](Qt::MouseButton button) { ChangeChannelColour(K, button); });
    }
    OnClick(Wszystkie1, [this] { ResetAllChannels(); });
    OnClick(Koniec1, [this] { Koniec1Click(); });
    OnClick(Button1, [this] { Button1Click(); });
    OnClick(Button2, [this] { Button2Click(); });
    OnClick(Button3, [this] { Button3Click(); });
    OnClick(Button4, [this] { Button4Click(); });
    OnChange(ScrollBar1, [this] { ScrollBar1Change(); });
    OnToggle(CheckBox4, [this] { CheckBox4Click(); });
    OnChecked(RadioButton1, [this] { BaseClick(); });
    OnChecked(RadioButton2, [this] { BaseClick(); });
    // Escape ends the window as "Koniec" does.
    OnShortcut(QKeySequence(Qt::Key_Escape), [this] { Koniec1Click(); });
}

QColor TForm7::ChannelColour(int channel) const {
    return ColourBoxes[channel]->palette().color(QPalette::Base);
}

void TForm7::SetChannelColour(int channel, QColor colour) {
    QPalette palette = ColourBoxes[channel]->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Text, Qt::white);
    ColourBoxes[channel]->setPalette(palette);
    ColourBoxes[channel]->setAccessibleDescription(charts::ColourReading(colour));
}

bool TForm7::AnyChannelOn() const {
    for (int K = 1; K <= kChannels; ++K) {
        if (ChannelBoxes[K]->isChecked()) return true;
    }
    return false;
}

ChannelLooks TForm7::Looks() const {
    ChannelLooks looks;
    for (int K = 1; K <= kChannels; ++K) {
        looks[K] = {ChannelBoxes[K]->isChecked(), ChannelColour(K),
                    platform::ToCodePageForDrawing(ColourBoxes[K]->text())};
    }
    return looks;
}

void TForm7::ClearPictureFrom(int x, int y) {
    platform::Canvas canvas(Image1->Picture());
    charts::ClearPicture(canvas, x, y);
    Image1->update();
    // A cleared picture shows no channel.
    Image1->SetReading(ReadComparison(store_, ComparisonValues{}, ChannelLooks{}, SelectedBase()));
}

void TForm7::DisableStepping() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{Button1, Button2, Button3, Button4, ScrollBar1}) {
        control->setEnabled(false);
    }
}

void TForm7::FormShow() {
    for (int K = 1; K <= kChannels; ++K) ChannelBoxes[K]->setChecked(false);
    RadioButton1->setChecked(true);
    ClearPictureFrom(1, 1);
    Timer1.start();
    StartDir = platform::CurrentDirectory();
    launcher_.HideLauncher();
    for (int K = 1; K <= kChannels; ++K) ColourBoxes[K]->clear();
    for (int K = 1; K <= kChannels; ++K) ChannelBoxes[K]->setEnabled(false);
    DisableStepping();
    for (int K = 1; K <= kChannels; ++K) store_.Channels[K].IsLoaded = false;
}

void TForm7::FormClose() { launcher_.ShowLauncher(); }

void TForm7::Koniec1Click() {
    Timer1.stop();
    CloseForm();
}

void TForm7::LoadChannel(int channel) {
    const QString name =
        dialogs().OpenFileName({QStringLiteral("Wybierz plik wyników..."),
                                QStringLiteral("Pliki wyników (*.wyn)|*.wyn"), StartDir});
    if (name.isEmpty() || !platform::FileExists(name)) return;
    const LoadOutcome outcome = LoadChannelFile(store_, channel, name);
    const QString notice = LoadNotice(outcome);
    if (!notice.isEmpty()) return dialogs().Notice(notice);

    if (outcome == LoadOutcome::FirstLoad) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{Button2, Button3, Button4, ScrollBar1}) {
            control->setEnabled(true);
        }
        // In this order: a maximum below the position pulls the position down to it, and every
        // move of the position runs ScrollBar1Change.
        ScrollBar1->setMinimum(1);
        ScrollBar1->setMaximum(store_.QuestionCount);
        ScrollBar1->setValue(1);
        store_.ShownQuestion = 1;
    }
    ChannelBoxes[channel]->setEnabled(true);
    ChannelBoxes[channel]->setChecked(true);
    RedrawRequest = true;
    ColourBoxes[channel]->setText(ChannelLabel(name));
    if (outcome == LoadOutcome::FirstLoad && store_.QuestionCount == 1) {
        Button1->setEnabled(false);
        Button2->setEnabled(false);
    }
}

bool TForm7::DisableForQuestion() {
    // The question box has no owner window, so the window keeps the user from its controls.
    const bool loaded = ScrollBar1->isEnabled();
    Wyniki1->menuAction()->setEnabled(false);
    DisableStepping();
    for (int K = 1; K <= kChannels; ++K) ChannelBoxes[K]->setEnabled(false);
    return loaded;
}

void TForm7::RestoreAfterQuestion(bool loaded) {
    if (loaded && store_.ShownQuestion > 1) Button1->setEnabled(true);
    if (loaded && store_.ShownQuestion < store_.QuestionCount) Button2->setEnabled(true);
    Wyniki1->menuAction()->setEnabled(true);
    Button3->setEnabled(loaded);
    Button4->setEnabled(loaded);
    ScrollBar1->setEnabled(loaded);
    for (int K = 1; K <= kChannels; ++K) {
        ChannelBoxes[K]->setEnabled(store_.Channels[K].IsLoaded);
    }
    RedrawRequest = true;
}

void TForm7::ResetChannel(int channel) {
    const bool loaded = DisableForQuestion();
    if (dialogs().Question(QStringLiteral("Czy wyzerować wyniki w kanale %1?").arg(channel))) {
        store_.Channels[channel].IsLoaded = false;
        Wyniki1->menuAction()->setEnabled(true);
        ColourBoxes[channel]->clear();
        ChannelBoxes[channel]->setChecked(false);
    }
    RestoreAfterQuestion(loaded);
    if (store_.IsEmpty()) {
        // The next load fixes a questionnaire anew.
        ClearPictureFrom(10, 10);
        RedrawRequest = false;
        DisableStepping();
    }
}

void TForm7::ResetAllChannels() {
    const bool loaded = DisableForQuestion();
    if (!dialogs().Question(QStringLiteral("Czy wyzerować wszystkie wczytane wyniki?"))) {
        return RestoreAfterQuestion(loaded);
    }
    ClearPictureFrom(10, 10);
    for (int K = 1; K <= kChannels; ++K) store_.Channels[K].IsLoaded = false;
    Wyniki1->menuAction()->setEnabled(true);
    for (int K = 1; K <= kChannels; ++K) ColourBoxes[K]->clear();
    for (int K = 1; K <= kChannels; ++K) {
        ChannelBoxes[K]->setEnabled(false);
        ChannelBoxes[K]->setChecked(false);
    }
    RedrawRequest = false;
}

void TForm7::Button1Click() {
    Button2->setEnabled(true);
    --store_.ShownQuestion;
    if (store_.ShownQuestion <= 1) Button1->setEnabled(false);
    ScrollBar1->setValue(ScrollBar1->value() - 1);
    RedrawRequest = true;
}

void TForm7::Button2Click() {
    Button1->setEnabled(true);
    ++store_.ShownQuestion;
    if (store_.ShownQuestion >= store_.QuestionCount) Button2->setEnabled(false);
    ScrollBar1->setValue(ScrollBar1->value() + 1);
    RedrawRequest = true;
}

void TForm7::ScrollBar1Change() {
    RedrawRequest = true;
    const int position = ScrollBar1->value();
    store_.ShownQuestion = static_cast<std::uint8_t>(position);
    if (position == 1) {
        Button1->setEnabled(false);
        Button2->setEnabled(true);
    }
    if (position == store_.QuestionCount) {
        Button2->setEnabled(false);
        Button1->setEnabled(true);
    }
    if (position > 1 && position < store_.QuestionCount) {
        Button1->setEnabled(true);
        Button2->setEnabled(true);
    }
}

void TForm7::ChannelBoxClick(int) {
    RedrawRequest = true;
    if (!AnyChannelOn()) {
        ClearPictureFrom(10, 10);
        RedrawRequest = false;
    }
}

void TForm7::CheckBox4Click() {
    if (AnyChannelOn()) RedrawRequest = true;
}

void TForm7::BaseClick() {
    if (AnyChannelOn()) RedrawRequest = true;
}

void TForm7::ChannelColourMouseDown(int channel, Qt::MouseButton button) {
    ChangeChannelColour(channel, button);
    CheckBox4->setFocus();
}

void TForm7::ChangeChannelColour(int channel, Qt::MouseButton button) {
    SetChannelColour(channel, charts::PickBoxColour(dialogs(), button, ChannelColour(channel),
                                                    DefaultColour(channel)));
    if (AnyChannelOn()) RedrawRequest = true;
}

void TForm7::Timer1Timer() {
    if (RedrawRequest && AnyChannelOn()) {
        const ChannelLooks looks = Looks();
        Values = ComputeComparison(store_, looks, SelectedBase());
        platform::Canvas canvas(Image1->Picture());
        DrawComparison(canvas, store_, Values, looks, CheckBox4->isChecked());
        Image1->update();
        Image1->SetReading(ReadComparison(store_, Values, looks, SelectedBase()));
    }
    RedrawRequest = false;
}

charts::PercentBase TForm7::SelectedBase() const {
    return RadioButton2->isChecked() ? charts::PercentBase::Answers
                                     : charts::PercentBase::Respondents;
}

void TForm7::Button3Click() { charts::SavePictureToChosenFile(dialogs(), Image1->Picture()); }

void TForm7::Button4Click() {
    const ChannelLooks looks = Looks();
    // Printed before the timer showed a change (within its 100 ms): the page shows what the
    // screen is about to show. The last drawing's values stay as they are.
    const ComparisonValues values =
        RedrawRequest && AnyChannelOn() ? ComputeComparison(store_, looks, SelectedBase()) : Values;
    const bool scaleToFull = CheckBox4->isChecked();
    charts::PrintChartPage(printer_, ComparisonHeader(store_),
                           [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                               PrintComparisonBody(canvas, store_, values, looks, scaleToFull, H,
                                                   W);
                           });
}

}  // namespace stats
