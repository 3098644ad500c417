// The frame every window of the program shares: a fixed-size window with a caption, an optional
// menu bar and a client area on which controls sit at fixed pixel positions; FormShow and
// FormClose hooks; and the wiring of control events to guarded handlers.
//
// A control changed by the program runs its handler as a user's change would. Each handler kind
// therefore hangs on the Qt signal that has that behaviour:
//   push button, menu item   -> clicked / triggered             (user only)
//   edit box change          -> QLineEdit::textChanged          (typing and the program's setText)
//   check box click          -> QAbstractButton::toggled        (also when the program ticks it)
//   radio button click       -> toggled, when it becomes checked (also by the program)
//   scroll bar change        -> QAbstractSlider::valueChanged   (user and program alike)
//   combo box change         -> ComboBox::UserChanged           (the user's pick or typing only;
//                                                                 never the program's SetText)
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <functional>
#include <optional>

#include "platform/dialogs.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QKeySequence;
class QRadioButton;
class QRect;
class QLineEdit;
class QMenuBar;
class QScrollBar;

namespace platform {

class ComboBox;

// What a tool window asks of the launcher: to step aside while the tool is open.
class LauncherControl {
public:
    virtual ~LauncherControl() = default;
    virtual void ShowLauncher() = 0;
    virtual void HideLauncher() = 0;
};

enum class BorderStyle {
    Single,  // fixed size; system menu, minimise and close
    Dialog,  // fixed size; close only
};

class Form : public QMainWindow {
    Q_OBJECT
public:
    Form(Dialogs& dialogs, const QString& caption, QSize clientSize, BorderStyle border);

    QWidget* Client() const { return client_; }
    QSize ClientSize() const;
    QMenuBar* MenuBar();
    QString Caption() const { return windowTitle(); }
    // The caption the window was made with, without its trailing dots ("Wykres słupkowy"): the
    // name its printouts are filed under.
    const QString& BaseCaption() const { return baseCaption_; }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    Dialogs& dialogs() const { return dialogs_; }

    void CentreOnScreen();
    void PlaceAt(int left, int top);

    // Shows the window and brings it to the front; an open window is only brought to the front.
    void ShowForm();
    // Closes the window, running FormClose; closing a window that is not open runs it too.
    void CloseForm();

    // Runs a handler through the guard: a failure is shown in the error box.
    bool Handle(const std::function<void()>& handler);

    // Controls on the client area at their fixed places.
    QPushButton* AddButton(const QString& caption, const QRect& geometry);
    // A label of plain text (a questionnaire's text is never markup), in the window's font, bold
    // when asked and in its own size when `points` is given.
    QLabel* AddLabel(const QRect& geometry, bool bold = false, int points = 0);
    QCheckBox* AddCheckBox(const QString& caption, const QRect& geometry);
    QRadioButton* AddRadioButton(const QString& caption, const QRect& geometry);
    ComboBox* AddComboBox(const QRect& geometry);

    void OnClick(QAbstractButton* button, std::function<void()> handler);
    void OnClick(QAction* item, std::function<void()> handler);
    void OnToggle(QAbstractButton* checkBox, std::function<void()> handler);
    void OnChecked(QAbstractButton* radioButton, std::function<void()> handler);
    void OnChange(QLineEdit* edit, std::function<void()> handler);
    void OnChange(QScrollBar* scrollBar, std::function<void()> handler);
    void OnChange(ComboBox* comboBox, std::function<void()> handler);
    // A mouse button pressed on a control (the colour boxes: left opens the colour dialog, right
    // brings back the default colour).
    void OnMouseDown(QWidget* control, std::function<void(Qt::MouseButton)> handler);
    // The keys that stand for a mouse button on a control with the keyboard focus (the colour
    // boxes): Space or Enter for the left button, Delete or Backspace for the right one.
    void OnKeysForMouse(QWidget* control, std::function<void(Qt::MouseButton)> handler);
    // A key of the whole window (Escape, Ctrl+S), wherever its focus is.
    void OnShortcut(const QKeySequence& keys, std::function<void()> handler);
    // Files dropped from a file manager on the window or on any control it has by then: the
    // handler gets their paths in the order dropped. It runs guarded once the drop is over, so
    // that its boxes do not hold up the program the files came from. A drop of anything else
    // (text on an edit box) goes to the control as before.
    void OnFilesDropped(std::function<void(const QStringList&)> handler);

protected:
    virtual void FormShow() {}
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Dialogs& dialogs_;
    QString baseCaption_;
    QWidget* client_;
    bool centred_ = false;  // placed in the centre of the screen, once its frame is known
    bool shownOnce_ = false;
    std::optional<QPoint> placedAt_;  // the frame's place on the screen, when not centred
};

}  // namespace platform
