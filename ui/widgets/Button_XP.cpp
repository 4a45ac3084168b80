#include "ui/widgets/Button_XP.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include "platform/Services.h"
#include "ui/widgets/Button_XP_Accessible.h"
#include "ui/widgets/Button_XP_Input.h"

using buttonxp::buttonCode;
using buttonxp::keyCode;
using buttonxp::shiftCode;
using buttonxp::systemColor;

namespace {

constexpr int HoverPollMs = 10;
constexpr int MinimumSide = 10;  // pixels; narrower or lower buttons grow to it

}  // namespace

Button_XP::Button_XP(QWidget* parent)
    : QWidget(parent),
      backColor_(systemColor(buttonxp::ButtonFace)),
      foreColor_(systemColor(buttonxp::ButtonText)),
      xpColorPressed_(systemColor(buttonxp::Highlight3D)),
      xpColorHover_(systemColor(buttonxp::Light3D)),
      soundOver_(DefaultSoundOver),
      soundClick_(DefaultSoundClick),
      surfaceBack_(backColor_) {
    installButtonXPAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    overTimer_ = new QTimer(this);
    overTimer_->setObjectName(QStringLiteral("OverTimer"));
    overTimer_->setInterval(HoverPollMs);
    connect(overTimer_, &QTimer::timeout, this, &Button_XP::overTimerTick);
    // The default caption is the object name, so it follows renames.
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!captionSet_) {
            captionChanged();
        }
    });
    captionChanged();
}

Button_XP::~Button_XP() = default;

// ---- Actions ----

void Button_XP::Refresh() {
    redraw();
    update();
}

void Button_XP::GoToURL() {
    if (url_.left(7) == QLatin1String("mailto:")) {
        platform::services().openAddress(url_);
    } else if (!url_.isEmpty()) {
        // A Qt window has no browser of its own to navigate, so web addresses
        // go to the system's handler as well.
        platform::services().openAddress(url_);
    }
}

void Button_XP::playClickSound() {
    QString path = soundClick_;
    if (QDir::separator() == QLatin1Char('/')) {
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    platform::services().playSound(path);
}

bool Button_XP::cursorOverButton() const {
    return QApplication::widgetAt(QCursor::pos()) == this;
}

// ---- Resizing ----

void Button_XP::resizeSteps() {
    if (width() < MinimumSide || height() < MinimumSide) {
        resize(std::max(width(), MinimumSide), std::max(height(), MinimumSide));
    }
    updateRegion();
    Refresh();
}

void Button_XP::updateRegion() {
    if (buttonStyle_ != Style::XP) {
        clearMask();
        return;
    }
    const int w = width();
    const int h = height();
    QRegion region(0, 0, w, h);
    // Three pixels off each corner give the rounded XP outline.
    const QPoint cuts[] = {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
                           {0, h - 1}, {1, h - 1}, {0, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}, {w - 1, h - 2}};
    for (const QPoint& cut : cuts) {
        region -= QRegion(cut.x(), cut.y(), 1, 1);
    }
    setMask(region);
}

void Button_XP::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeSteps();
}

// ---- Events ----

bool Button_XP::activatesByEnter(const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
    return enter && held == Qt::NoModifier && !event.isAutoRepeat();
}

bool Button_XP::inside(float x, float y) const {
    return x >= 0 && y >= 0 && x < width() && y < height();
}

bool Button_XP::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == shortcutId_) {
            Press();
            return true;
        }
    }
    return QWidget::event(event);
}

void Button_XP::Press() {
    if (isEnabled()) {
        emit Click();
        GoToURL();
    }
}

void Button_XP::paintEvent(QPaintEvent*) {
    if (surface_.size() != size()) {
        redraw();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void Button_XP::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
        case QEvent::EnabledChange:
        case QEvent::FontChange:
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
            Refresh();
            break;
        default:
            break;
    }
}

void Button_XP::handlePress(short button, short shift, float x, float y) {
    lastButton_ = button;
    lastShift_ = shift;
    lastX_ = x;
    lastY_ = y;
    if (button != buttonxp::RightButton) {
        pressed_ = true;
        Refresh();
    }
    emit MouseDown(button, shift, x, y);
}

void Button_XP::handleRelease(short button, short shift, float x, float y) {
    if (QWidget::mouseGrabber() == this) {
        releaseMouse();  // the capture taken by a double click ends with its release
    }
    pressed_ = false;
    if (button != buttonxp::RightButton) {
        Refresh();
        if (inside(x, y)) {
            playClickSound();
            emit Click();
            GoToURL();
        }
    }
    emit MouseUp(button, shift, x, y);
}

void Button_XP::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    handlePress(buttonCode(event->button()), shiftCode(event->modifiers()), static_cast<float>(at.x()),
                static_cast<float>(at.y()));
}

void Button_XP::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(at.y());
    const short shift = shiftCode(event->modifiers());
    if (inside(x, y) && !hovered_) {
        overTimer_->start();
        hovered_ = true;
        if (!pictureHover_.isNull()) {
            pictureInUse_ = pictureHover_;
        }
        emit MouseIn(shift);
        Refresh();
        QCoreApplication::processEvents();
    }
    emit MouseMove(buttonCode(event->buttons()), shift, x, y);
}

void Button_XP::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    handleRelease(buttonCode(event->button()), shiftCode(event->modifiers()), static_cast<float>(at.x()),
                  static_cast<float>(at.y()));
}

void Button_XP::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click presses again with the arguments of
    // the first, so its release clicks a second time.
    grabMouse();
    handlePress(lastButton_, lastShift_, lastX_, lastY_);
}

// The hover ends when a tick finds the pointer off the button. Leave events
// cannot stand in for the polling: the toolkit sends one as soon as a dialog
// blocks the window, and none while the pointer crosses the blocked window,
// yet the hover look stays while the pointer rests on the button whose click
// opened the dialog, and goes as soon as the pointer moves off it.
void Button_XP::overTimerTick() {
    if (cursorOverButton()) {
        return;
    }
    overTimer_->stop();
    hovered_ = false;
    pictureInUse_ = picture_;
    emit MouseOut(lastShift_);
    Refresh();
    if (pressed_) {
        // A press that leaves the button shows released but stays armed.
        pressed_ = false;
        Refresh();
        pressed_ = true;
    }
}

void Button_XP::keyPressEvent(QKeyEvent* event) {
    const short code = keyCode(event->key());
    if (!keyHeld_ && code == buttonxp::SpaceKey) {
        pressed_ = true;
        hovered_ = true;
        Refresh();
    }
    keyHeld_ = true;
    if (activatesByEnter(*event)) {
        // Enter clicks at once, as a push button's does. What the click opens
        // (a message, a dialog) takes the focus, and with it the key's release.
        playClickSound();
        Press();
    }
    emit KeyDown(code, shiftCode(event->modifiers()));
    const QString text = event->text();
    if (!text.isEmpty() && text[0].unicode() != 0) {
        emit KeyPress(static_cast<short>(text[0].unicode()));
    }
}

void Button_XP::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;  // a held key reports only further key-downs
    }
    const short code = keyCode(event->key());
    const short shift = shiftCode(event->modifiers());
    if (code == buttonxp::SpaceKey) {
        pressed_ = false;
        hovered_ = false;
        Refresh();
        handleRelease(buttonxp::LeftButton, shift, 0, 0);
    }
    keyHeld_ = false;
    emit KeyUp(code, shift);
}

void Button_XP::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    focused_ = true;
    Refresh();
}

void Button_XP::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    focused_ = false;
    pressed_ = false;
    keyHeld_ = false;  // its release goes wherever the focus went
    Refresh();
}
