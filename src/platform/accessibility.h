// What a screen reader and a keyboard user get of the windows: the names of controls and the
// labels tied to them, the tab order, a visible focus for controls that draw none of their own,
// announcements of what a window now shows, and pictures read out as a name and a list of items.
// Every window names and orders its controls through these, so that all follow the same rules.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <initializer_list>

class QLabel;
class QScrollBar;

namespace platform {

// Gives a control the name a screen reader says for it ("Pytanie, wiersz 1", "Numer pytania")
// and, where the window shows a label for it, ties the label to it: the label is then read as
// the control's label. A combo box, which a screen reader on Linux names by the text it shows,
// is given a hidden label of the name where the window shows none; its text field gets the name.
void NameControl(QWidget* control, const QString& name, QLabel* label = nullptr);

// The order Tab takes through the controls, as they stand in the window.
void SetTabOrder(std::initializer_list<QWidget*> controls);

// Lets a horizontal scroll bar take the keyboard focus and step by the keys as the picture it
// moves through reads: Right and Up one step on, Left and Down one step back, Page Up and Page
// Down a page, Home and End to the ends. (A scroll bar of Qt's own takes Left as a step on.)
void StepByKeys(QScrollBar* scrollBar);

// Draws a frame just outside a control while it has the keyboard focus, for controls that show
// no focus of their own (a colour box, a picture). Nothing of the control itself is painted over.
void ShowFocusFrame(QWidget* control);

// Tells a screen reader what the window shows now, after a change the user made elsewhere in
// it (another question, another base): the text becomes the description of the control that has
// the window's focus, which a screen reader reads out as soon as it changes. The control takes
// its own description back when the focus leaves it.
void Announce(QWidget* window, const QString& text);

// What a screen reader reads of a picture: its name, a description and the items it shows, one
// by one.
struct Reading {
    QString name;
    QString description;
    QStringList items;

    // The whole reading as one text, for an announcement.
    QString Spoken() const;

    friend bool operator==(const Reading&, const Reading&) = default;
};

// A picture control that a screen reader reads as its Reading: an object with the reading's
// name and description, and one child per item. It takes the keyboard focus (shown by a frame
// around it); the arrow keys, Home and End then walk its items. A new reading is announced.
class ReadablePicture : public QWidget {
    Q_OBJECT
public:
    explicit ReadablePicture(QWidget* parent);

    const Reading& CurrentReading() const { return reading_; }
    void SetReading(const Reading& reading);
    // The item the arrow keys stand on, from 0; -1 for the picture as a whole.
    int CurrentItem() const { return currentItem_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void GoToItem(int item);

    Reading reading_;
    int currentItem_ = -1;
};

}  // namespace platform
