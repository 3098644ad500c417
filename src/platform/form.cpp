// The shared window frame and the guarded wiring of control events.
#include "platform/form.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QUrl>
#include <QWindow>

#include "platform/controls.h"
#include "platform/guard.h"
#include "platform/printer.h"

namespace platform {

Form::Form(Dialogs& dialogs, const QString& caption, QSize clientSize, BorderStyle border)
    : dialogs_(dialogs),
      baseCaption_(QString(caption).remove(QRegularExpression(QStringLiteral("[.\\s]+$")))),
      client_(new QWidget(this)) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint;
    if (border == BorderStyle::Single) flags |= Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
    setWindowTitle(caption);
    client_->setFixedSize(clientSize);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QSize Form::ClientSize() const { return client_->size(); }

QMenuBar* Form::MenuBar() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    return bar;
}

void Form::CentreOnScreen() {
    centred_ = true;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    adjustSize();
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void Form::PlaceAt(int left, int top) {
    placedAt_ = QPoint(left, top);
    move(left, top);
}

void Form::ShowForm() {
    show();
    raise();
    activateWindow();
}

void Form::CloseForm() {
    if (isVisible()) {
        close();
    } else {
        Handle([this] { FormClose(); });
    }
}

bool Form::Handle(const std::function<void()>& handler) {
    const PrintoutName printout(baseCaption_);
    return RunGuarded(dialogs_, handler);
}

void Form::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_ && (centred_ || placedAt_)) {
        // The window manager is told where the frame, title bar included, goes before the window
        // first comes on screen, with the window at its final size, so that Qt's own placing,
        // which would put the window's inside there, does not follow. A centred window's frame
        // is not known yet: the place that centres its inside stands for the frame's, and the
        // window comes back there each time.
        if (centred_) CentreOnScreen();
        if (windowHandle()) {
            windowHandle()->resize(size());
            windowHandle()->setFramePosition(placedAt_.value_or(pos()));
        }
    }
    shownOnce_ = true;
    // A window coming back from the task bar is not being opened.
    if (!event->spontaneous()) Handle([this] { FormShow(); });
}

void Form::closeEvent(QCloseEvent* event) {
    Handle([this] { FormClose(); });
    event->accept();
}

QPushButton* Form::AddButton(const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, Client());
    button->setGeometry(geometry);
    return button;
}

QLabel* Form::AddLabel(const QRect& geometry, bool bold, int points) {
    auto* label = new QLabel(Client());
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    if (bold || points > 0) {
        QFont own = font();
        own.setBold(bold);
        if (points > 0) own.setPointSize(points);
        label->setFont(own);
    }
    return label;
}

QCheckBox* Form::AddCheckBox(const QString& caption, const QRect& geometry) {
    auto* box = new QCheckBox(caption, Client());
    box->setGeometry(geometry);
    return box;
}

QRadioButton* Form::AddRadioButton(const QString& caption, const QRect& geometry) {
    auto* button = new QRadioButton(caption, Client());
    button->setGeometry(geometry);
    return button;
}

ComboBox* Form::AddComboBox(const QRect& geometry) {
    auto* box = new ComboBox(Client());
    box->setGeometry(geometry);
    return box;
}

void Form::OnClick(QAbstractButton* button, std::function<void()> handler) {
    connect(button, &QAbstractButton::clicked, this, [this, handler] { Handle(handler); });
}

void Form::OnClick(QAction* item, std::function<void()> handler) {
    connect(item, &QAction::triggered, this, [this, handler] { Handle(handler); });
}

void Form::OnToggle(QAbstractButton* checkBox, std::function<void()> handler) {
    connect(checkBox, &QAbstractButton::toggled, this, [this, handler] { Handle(handler); });
}

void Form::OnChecked(QAbstractButton* radioButton, std::function<void()> handler) {
    connect(radioButton, &QAbstractButton::toggled, this, [this, handler](bool checked) {
        if (checked) Handle(handler);
    });
}

void Form::OnChange(QLineEdit* edit, std::function<void()> handler) {
    connect(edit, &QLineEdit::textChanged, this, [this, handler] { Handle(handler); });
}

void Form::OnChange(QScrollBar* scrollBar, std::function<void()> handler) {
    connect(scrollBar, &QAbstractSlider::valueChanged, this, [this, handler] { Handle(handler); });
}

void Form::OnChange(ComboBox* comboBox, std::function<void()> handler) {
    connect(comboBox, &ComboBox::UserChanged, this, [this, handler] { Handle(handler); });
}

namespace {

// Passes to a handler a control's mouse presses, which the control sees as well, or the keys that
// stand for a mouse button on it, which the control does not then get: Space or Enter for the
// left button, Delete or Backspace for the right one.
class MouseButtonFilter : public QObject {
public:
    enum class From { Mouse, Keys };

    MouseButtonFilter(QObject* parent, From from, std::function<void(Qt::MouseButton)> onButton)
        : QObject(parent), from_(from), onButton_(std::move(onButton)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (from_ == From::Mouse && event->type() == QEvent::MouseButtonPress) {
            onButton_(static_cast<QMouseEvent*>(event)->button());
        }
        if (from_ == From::Keys && event->type() == QEvent::KeyPress) {
            const Qt::MouseButton button = ButtonOfKey(*static_cast<QKeyEvent*>(event));
            if (button != Qt::NoButton) {
                onButton_(button);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static Qt::MouseButton ButtonOfKey(const QKeyEvent& key) {
        if (key.modifiers() & ~Qt::KeypadModifier) return Qt::NoButton;
        switch (key.key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Qt::LeftButton;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return Qt::RightButton;
        default:
            return Qt::NoButton;
        }
    }

    From from_;
    std::function<void(Qt::MouseButton)> onButton_;
};

}  // namespace

void Form::OnMouseDown(QWidget* control, std::function<void(Qt::MouseButton)> handler) {
    control->installEventFilter(new MouseButtonFilter(
        control, MouseButtonFilter::From::Mouse,
        [this, handler](Qt::MouseButton b) { Handle([&] { handler(b); }); }));
}

void Form::OnKeysForMouse(QWidget* control, std::function<void(Qt::MouseButton)> handler) {
    control->installEventFilter(new MouseButtonFilter(
        control, MouseButtonFilter::From::Keys,
        [this, handler](Qt::MouseButton b) { Handle([&] { handler(b); }); }));
}

void Form::OnShortcut(const QKeySequence& keys, std::function<void()> handler) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, handler] { Handle(handler); });
}

namespace {

QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    return files;
}

// Takes the drags of files meant for a window from the window and its controls: an edit box
// would otherwise take a file's path as text.
class FileDropFilter : public QObject {
public:
    FileDropFilter(Form* form, std::function<void(const QStringList&)> onDrop)
        : QObject(form), form_(form), onDrop_(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedFiles(drag->mimeData()).isEmpty()) break;
            // A copy: the file manager must never take a dropped file as moved away.
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = DroppedFiles(drop->mimeData());
            if (files.isEmpty()) break;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            QMetaObject::invokeMethod(
                form_, [form = form_, onDrop = onDrop_, files] { form->Handle([&] { onDrop(files); }); },
                Qt::QueuedConnection);
            return true;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Form* form_;
    std::function<void(const QStringList&)> onDrop_;
};

}  // namespace

void Form::OnFilesDropped(std::function<void(const QStringList&)> handler) {
    setAcceptDrops(true);
    auto* filter = new FileDropFilter(this, std::move(handler));
    installEventFilter(filter);
    for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(filter);
}

}  // namespace platform
