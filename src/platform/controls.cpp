// The edit box and combo box of the windows.
#include "platform/controls.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "platform/encoding.h"

namespace platform {

void SetColour(QWidget& control, QPalette::ColorRole role, const QBrush& brush) {
    QPalette palette = control.palette();
    palette.setBrush(role, brush);
    control.setPalette(palette);
    if (role == QPalette::Window) control.setAutoFillBackground(true);
}

EditBox::EditBox(QWidget* parent, int typingLimit)
    : QLineEdit(parent), typingLimit_(typingLimit), validator_(new CodePageValidator(this)) {
    setMaxLength(typingLimit_);
    setValidator(validator_);
    connect(this, &QLineEdit::textEdited, this, &EditBox::AllowOnlyShrinkingBeyondLimit);
}

QByteArray EditBox::Bytes() const { return ToCodePage(text()); }

void EditBox::SetBytes(const QByteArray& bytes) {
    const QString text = FromCodePage(bytes);
    // A longer line from a file is kept whole; typing may then only shorten it.
    setMaxLength(std::max<int>(typingLimit_, static_cast<int>(text.size())));
    validator_->TakeText(text);
    setText(text);
}

void EditBox::AllowOnlyShrinkingBeyondLimit() {
    setMaxLength(std::max<int>(typingLimit_, static_cast<int>(text().size())));
}

namespace {

// Ctrl+A is left to the window first: a window's menu may have it as its shortcut. Where no
// shortcut takes it, the key press comes back and selects all as usual.
bool LeaveSelectAllToTheWindow(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        return false;
    }
    event->ignore();
    return true;
}

}  // namespace

bool EditBox::event(QEvent* event) {
    return LeaveSelectAllToTheWindow(event) || QLineEdit::event(event);
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this] { emit UserChanged(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { emit UserChanged(); });
}

// The shortcut check reaches the text field, which has the focus, and then the box, which would
// hand it to the text field again.
bool ComboBox::event(QEvent* event) {
    return LeaveSelectAllToTheWindow(event) || QComboBox::event(event);
}

bool ComboBox::eventFilter(QObject* watched, QEvent* event) {
    return (watched == lineEdit() && LeaveSelectAllToTheWindow(event)) ||
           QComboBox::eventFilter(watched, event);
}

void ComboBox::SetText(const QString& text) {
    const QSignalBlocker blocker(lineEdit());
    setEditText(text);
}

int ComboBox::ItemIndex() const { return findText(currentText(), Qt::MatchExactly); }

void ComboBox::SetItemIndex(int index) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    SetText(index >= 0 ? itemText(index) : QString());
}

}  // namespace platform
