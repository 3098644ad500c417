// Names, tab order, focus frames, announcements and readable pictures.
#include "platform/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

void NameControl(QWidget* control, const QString& name, QLabel* label) {
    control->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->lineEdit()) combo->lineEdit()->setAccessibleName(name);
        // On Linux a screen reader names a combo box by the text it shows and by its label: one
        // that the window does not show is tied to it hidden.
        if (!label) {
            label = new QLabel(name, control->parentWidget());
            label->hide();
        }
    }
    if (label) label->setBuddy(control);
}

void SetTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

namespace {

class StepKeys : public QObject {
public:
    explicit StepKeys(QScrollBar* scrollBar) : QObject(scrollBar), scrollBar_(scrollBar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != scrollBar_ || event->type() != QEvent::KeyPress) return false;
        const QAbstractSlider::SliderAction action =
            ActionOf(static_cast<QKeyEvent*>(event)->key());
        if (action == QAbstractSlider::SliderNoAction) return false;
        scrollBar_->triggerAction(action);
        return true;
    }

private:
    static QAbstractSlider::SliderAction ActionOf(int key) {
        switch (key) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            return QAbstractSlider::SliderSingleStepAdd;
        case Qt::Key_Left:
        case Qt::Key_Down:
            return QAbstractSlider::SliderSingleStepSub;
        case Qt::Key_PageDown:
            return QAbstractSlider::SliderPageStepAdd;
        case Qt::Key_PageUp:
            return QAbstractSlider::SliderPageStepSub;
        case Qt::Key_Home:
            return QAbstractSlider::SliderToMinimum;
        case Qt::Key_End:
            return QAbstractSlider::SliderToMaximum;
        default:
            return QAbstractSlider::SliderNoAction;
        }
    }

    QScrollBar* scrollBar_;
};

}  // namespace

void StepByKeys(QScrollBar* scrollBar) {
    scrollBar->setFocusPolicy(Qt::StrongFocus);
    scrollBar->installEventFilter(new StepKeys(scrollBar));
}

namespace {

constexpr int kFrameWidth = 2;

// The frame around a focused control: a ring just outside it, on the control's parent, black
// outside and white inside so that it shows against the window and against a control of any
// colour. It lets the mouse through and covers nothing inside the ring.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget* control) : QWidget(control->parentWidget()), control_(control) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control_) return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            Place();
            show();
            raise();
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (isVisible()) Place();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
    }

private:
    void Place() {
        const QRect around =
            control_->geometry().adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth);
        setGeometry(around);
        const QRect outer(QPoint(0, 0), around.size());
        setMask(QRegion(outer).subtracted(
            QRegion(outer.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth))));
    }

    QWidget* control_;
};

}  // namespace

void ShowFocusFrame(QWidget* control) { new FocusFrame(control); }

namespace {

// A control's own description while it carries an announcement.
constexpr char kOwnDescription[] = "narzedziaOwnDescription";

void GiveBackOwnDescription(QWidget* control) {
    const QVariant own = control->property(kOwnDescription);
    if (!own.isValid()) return;
    control->setProperty(kOwnDescription, QVariant());
    control->setAccessibleDescription(own.toString());
}

void FollowFocus() {
    static bool following = false;
    if (following) return;
    following = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget* old, QWidget*) {
        if (old) GiveBackOwnDescription(old);
    });
}

}  // namespace

void Announce(QWidget* window, const QString& text) {
    QWidget* control = window->focusWidget();
    if (!control) return;
    if (!control->property(kOwnDescription).isValid()) {
        control->setProperty(kOwnDescription, control->accessibleDescription());
    }
    FollowFocus();
    control->setAccessibleDescription(text);
}

QString Reading::Spoken() const {
    QString spoken = name;
    if (!description.isEmpty()) spoken += QStringLiteral(", ") + description;
    if (!items.isEmpty()) spoken += QStringLiteral(": ") + items.join(QStringLiteral("; "));
    return spoken;
}

namespace {

void Notify(QAccessibleInterface* object, QAccessible::Event kind) {
    if (!object) return;
    QAccessibleEvent event(object, kind);
    QAccessible::updateAccessibility(&event);
}

// One item of a readable picture: a list item with the item's text as its name.
class PictureItemInterface : public QAccessibleInterface {
public:
    PictureItemInterface(ReadablePicture* picture, int item) : picture_(picture), item_(item) {}

    bool isValid() const override {
        return picture_ && item_ < picture_->CurrentReading().items.size();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return picture_ ? picture_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(picture_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !isValid()) return QString();
        return picture_->CurrentReading().items[item_];
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QAccessibleInterface* whole = parent();
        return whole ? whole->rect() : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.readOnly = true;
        state.invisible = !isValid() || !picture_->isVisible();
        state.focused = isValid() && picture_->hasFocus() && picture_->CurrentItem() == item_;
        return state;
    }

private:
    QPointer<ReadablePicture> picture_;
    int item_;
};

// The picture as a whole: a chart named by its reading, with its items as children.
class PictureInterface : public QAccessibleWidget {
public:
    explicit PictureInterface(ReadablePicture* picture)
        : QAccessibleWidget(picture, QAccessible::Chart) {}
    ~PictureInterface() override {
        for (const QAccessible::Id id : itemIds_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        return static_cast<int>(Picture()->CurrentReading().items.size());
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        // The items are made as they are first asked for and kept; each reads its text anew.
        while (static_cast<int>(itemIds_.size()) <= index) {
            itemIds_.push_back(QAccessible::registerAccessibleInterface(
                new PictureItemInterface(Picture(), static_cast<int>(itemIds_.size()))));
        }
        return QAccessible::accessibleInterface(itemIds_[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int count = std::min<int>(childCount(), static_cast<int>(itemIds_.size()));
        for (int i = 0; i < count; ++i) {
            if (QAccessible::accessibleInterface(itemIds_[i]) == child) return i;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override {
        if (!Picture()->hasFocus()) return nullptr;
        if (Picture()->CurrentItem() >= 0) return child(Picture()->CurrentItem());
        return const_cast<PictureInterface*>(this);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return Picture()->CurrentReading().name;
        if (kind == QAccessible::Description) return Picture()->CurrentReading().description;
        return QAccessibleWidget::text(kind);
    }

private:
    ReadablePicture* Picture() const { return static_cast<ReadablePicture*>(widget()); }

    mutable std::vector<QAccessible::Id> itemIds_;
};

QAccessibleInterface* ReadablePictureInterfaces(const QString&, QObject* object) {
    auto* picture = qobject_cast<ReadablePicture*>(object);
    return picture ? new PictureInterface(picture) : nullptr;
}

QAccessibleInterface* ItemInterface(ReadablePicture* picture, int item) {
    QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(picture);
    return whole && item >= 0 ? whole->child(item) : whole;
}

}  // namespace

ReadablePicture::ReadablePicture(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(&ReadablePictureInterfaces);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::StrongFocus);
    ShowFocusFrame(this);
}

void ReadablePicture::SetReading(const Reading& reading) {
    if (reading == reading_) return;
    const Reading before = std::exchange(reading_, reading);
    const int last = static_cast<int>(reading_.items.size()) - 1;
    currentItem_ = std::min(currentItem_, last);
    if (QAccessible::isActive()) {
        QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(this);
        if (before.name != reading_.name) Notify(whole, QAccessible::NameChanged);
        if (before.description != reading_.description) {
            Notify(whole, QAccessible::DescriptionChanged);
        }
        if (before.items != reading_.items) {
            Notify(whole, QAccessible::ObjectReorder);
            if (hasFocus() && currentItem_ >= 0) {
                Notify(ItemInterface(this, currentItem_), QAccessible::NameChanged);
            }
        }
    }
    // Read out where the change was made; on the picture itself its new name is read.
    if (window()->focusWidget() != this) Announce(window(), reading_.Spoken());
}

void ReadablePicture::focusInEvent(QFocusEvent* event) {
    currentItem_ = -1;
    QWidget::focusInEvent(event);
}

void ReadablePicture::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(reading_.items.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        return GoToItem(std::min(currentItem_ + 1, last));
    case Qt::Key_Up:
    case Qt::Key_Left:
        return GoToItem(std::max(currentItem_ - 1, -1));
    case Qt::Key_Home:
        return GoToItem(std::min(0, last));
    case Qt::Key_End:
        return GoToItem(last);
    default:
        QWidget::keyPressEvent(event);
    }
}

void ReadablePicture::GoToItem(int item) {
    if (item == currentItem_) return;
    currentItem_ = item;
    if (QAccessible::isActive()) Notify(ItemInterface(this, item), QAccessible::Focus);
}

}  // namespace platform
