// Controls whose behaviour the windows rely on beyond what Qt's own give: the edit box that
// holds Windows-1250 text, and the combo box with an editable text field whose change handler
// runs only on the user's pick or typing; and fixed colours for a control.
#pragma once

#include <QByteArray>
#include <QComboBox>
#include <QLineEdit>

namespace platform {

class CodePageValidator;

// Gives a control's colour role its own brush, whatever the desktop's colours are. A window
// background is then painted by the control itself.
void SetColour(QWidget& control, QPalette::ColorRole role, const QBrush& brush);

// A single-line edit box for text that is kept as Windows-1250 bytes. The user can type only
// characters the code page holds, and at most the typing limit; text set by SetBytes is taken
// whole, also when it is longer than the limit or holds a line feed.
class EditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr, int typingLimit = 60);

    QByteArray Bytes() const;
    void SetBytes(const QByteArray& bytes);  // runs the change handler like any change of text
    int TypingLimit() const { return typingLimit_; }

protected:
    bool event(QEvent* event) override;

private:
    void AllowOnlyShrinkingBeyondLimit();

    int typingLimit_;
    CodePageValidator* validator_;
};

// An editable combo box. `ItemIndex` is the item whose text stands in the text field, or -1 when
// the typed text matches no item. `UserChanged` is emitted when the user picks an item or types;
// the program's SetText and SetItemIndex never emit it. Ctrl+A in its text field goes to the
// window first, as in an edit box.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    void AddItem(const QString& text) { addItem(text); }
    void RemoveItem(int index) { removeItem(index); }
    int Count() const { return count(); }
    QString Text() const { return currentText(); }
    void SetText(const QString& text);
    int ItemIndex() const;
    void SetItemIndex(int index);

signals:
    void UserChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace platform
