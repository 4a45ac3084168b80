#include "ui/widgets/Button_XP.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QDir>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include "platform/Services.h"
#include "ui/widgets/Button_XP_Accessible.h"

using buttonxp::systemColor;

const QString Button_XP::DefaultSoundOver = QStringLiteral(".\\resources\\over.wav");
const QString Button_XP::DefaultSoundClick = QStringLiteral(".\\resources\\click.wav");

namespace {

constexpr int HoverPollMs = 10;
constexpr int MinimumSide = 10;  // pixels; narrower or lower buttons grow to it

// Mouse buttons and shift state as the events report them.
constexpr short LeftButton = 1;
constexpr short RightButton = 2;
constexpr short MiddleButton = 4;
constexpr short SpaceKey = 32;

short buttonCode(Qt::MouseButtons buttons) {
    short code = 0;
    if (buttons & Qt::LeftButton) {
        code |= LeftButton;
    }
    if (buttons & Qt::RightButton) {
        code |= RightButton;
    }
    if (buttons & Qt::MiddleButton) {
        code |= MiddleButton;
    }
    return code;
}

short shiftCode(Qt::KeyboardModifiers modifiers) {
    short code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        code |= 4;
    }
    return code;
}

// Key codes in the events follow the common PC virtual-key numbering:
// letters and digits are their upper-case character codes.
short keyCode(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space) {
        return static_cast<short>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<short>(112 + (key - Qt::Key_F1));
    }
    static const QHash<int, short> codes = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
        {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},  {Qt::Key_PageUp, 33},
        {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},      {Qt::Key_Home, 36},    {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},       {Qt::Key_Right, 39},    {Qt::Key_Down, 40},    {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},
    };
    return codes.value(key, 0);
}

QChar computeAccessKey(const QString& caption) {
    const qsizetype length = caption.size();
    if (length < 2) {
        return {};
    }
    const qsizetype first = caption.indexOf(QLatin1Char('&'));
    if (first < 0 || first == length - 1) {
        return {};
    }
    if (caption[first + 1] != QLatin1Char('&')) {
        return caption[first + 1].toLower();
    }
    // "&&" is a literal ampersand; only the next ampersand may still mark a key.
    const qsizetype second = caption.indexOf(QLatin1Char('&'), first + 2);
    if (second >= 0 && second + 1 < length && caption[second + 1] != QLatin1Char('&')) {
        return caption[second + 1].toLower();
    }
    return {};
}

// The caption as read aloud: "&&" is an ampersand, a single '&' is dropped.
QString withoutAccessMarks(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
        } else if (caption[i] == QLatin1Char('&')) {
            continue;
        }
        plain += caption[i];
    }
    return plain;
}

Qt::CursorShape cursorShape(int pointer) {
    switch (pointer) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:
        case 15:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        default:
            return Qt::ArrowCursor;
    }
}

constexpr int CustomPointer = 99;

QByteArray pictureBytes(const QPixmap& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

QPixmap pictureFrom(const QVariant& value) {
    if (value.canConvert<QPixmap>() && value.metaType().id() != QMetaType::QByteArray) {
        return value.value<QPixmap>();
    }
    QPixmap picture;
    picture.loadFromData(value.toByteArray());
    return picture;
}

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

// ---- Properties ----

void Button_XP::setBackColor(ColorValue value) {
    backColor_ = value;
    surfaceBack_ = value;
    Refresh();
}

void Button_XP::setForeColor(ColorValue value) {
    foreColor_ = value;
    Refresh();
}

void Button_XP::setShowFocusRect(bool value) {
    showFocusRect_ = value;
    Refresh();
}

QString Button_XP::Caption() const {
    return captionSet_ ? caption_ : objectName();
}

void Button_XP::setCaption(const QString& value) {
    caption_ = value;
    captionSet_ = true;
    captionChanged();
}

void Button_XP::captionChanged() {
    const QString caption = Caption();
    accessKey_ = computeAccessKey(caption);
    if (shortcutId_ != 0) {
        releaseShortcut(shortcutId_);
        shortcutId_ = 0;
    }
    if (!accessKey_.isNull()) {
        const auto key = static_cast<Qt::Key>(accessKey_.toUpper().unicode());
        shortcutId_ = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)));
    }
    setAccessibleName(withoutAccessMarks(caption));
    Refresh();
}

void Button_XP::setPicturePosition(int value) {
    picturePosition_ = value;
    Refresh();
}

void Button_XP::setButtonStyle(int value) {
    buttonStyle_ = value;
    if (value == 3) {
        transparentBG_ = false;
    }
    resizeSteps();
}

void Button_XP::setPicture(const QPixmap& value) {
    picture_ = value;
    pictureInUse_ = value;
    if (value.isNull()) {
        originalPicSizeW_ = 32;
        originalPicSizeH_ = 32;
    } else {
        originalPicSizeW_ = value.width();
        originalPicSizeH_ = value.height();
    }
    applyPictureSize();
    Refresh();
}

void Button_XP::setPictureWidth(int value) {
    pictureWidth_ = value;
    Refresh();
}

void Button_XP::setPictureHeight(int value) {
    pictureHeight_ = value;
    Refresh();
}

void Button_XP::setPictureSize(int value) {
    pictureSize_ = value;
    applyPictureSize();
    Refresh();
}

void Button_XP::applyPictureSize() {
    switch (pictureSize_) {
        case 0:
            pictureWidth_ = 16;
            pictureHeight_ = 16;
            break;
        case 1:
            pictureWidth_ = 32;
            pictureHeight_ = 32;
            break;
        case 2:
            pictureWidth_ = picture_.isNull() ? 32 : originalPicSizeW_;
            pictureHeight_ = picture_.isNull() ? 32 : originalPicSizeH_;
            break;
        default:
            break;  // any other value keeps the size
    }
}

void Button_XP::setOriginalPicSizeW(int value) {
    originalPicSizeW_ = value;
    Refresh();
}

void Button_XP::setOriginalPicSizeH(int value) {
    originalPicSizeH_ = value;
    Refresh();
}

void Button_XP::setPictureHover(const QPixmap& value) {
    pictureHover_ = value;
    Refresh();
}

void Button_XP::setMouseIcon(const QPixmap& value) {
    mouseIcon_ = value;
    applyCursor();
}

bool Button_XP::Enabled() const {
    return !testAttribute(Qt::WA_ForceDisabled);
}

void Button_XP::setMousePointer(int value) {
    mousePointer_ = value;
    applyCursor();
}

void Button_XP::applyCursor() {
    if (mousePointer_ == CustomPointer && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
    } else if (mousePointer_ == 0 || mousePointer_ == CustomPointer) {
        if (testAttribute(Qt::WA_SetCursor)) {
            unsetCursor();  // only when one was set: this looks the pointer up on some systems
        }
    } else {
        setCursor(cursorShape(mousePointer_));
    }
}

void Button_XP::setURL(const QString& value) {
    url_ = value;
}

void Button_XP::setXPColor_Pressed(ColorValue value) {
    xpColorPressed_ = value;
    Refresh();
}

void Button_XP::setXPColor_Hover(ColorValue value) {
    xpColorHover_ = value;
    Refresh();
}

void Button_XP::setXPDefaultColors(bool value) {
    xpDefaultColors_ = value;
    Refresh();
}

void Button_XP::setSoundOver(const QString& value) {
    soundOver_ = value;
}

void Button_XP::setSoundClick(const QString& value) {
    soundClick_ = value;
}

void Button_XP::setDefCurHand(bool value) {
    defCurHand_ = value;
}

void Button_XP::setXPShowBorderAlways(bool value) {
    xpShowBorderAlways_ = value;
    Refresh();
}

void Button_XP::setMaskColor(ColorValue value) {
    maskColor_ = value;
    Refresh();
}

void Button_XP::setTransparentBG(bool value) {
    transparentBG_ = value;
    Refresh();
}

void Button_XP::setBEVEL(short value) {
    bevel_ = value;
    Refresh();
}

void Button_XP::setBEVELDEPTH(short value) {
    bevelDepth_ = value;
    Refresh();
}

QString Button_XP::version() const {
    return QStringLiteral("1.0");
}

void Button_XP::setDisplayAsDefault(bool value) {
    displayAsDefault_ = value;
    Refresh();
}

// ---- Stored layout ----

QVariantMap Button_XP::saveProperties() const {
    QVariantMap stored;
    auto put = [&stored](const char* name, const QVariant& value, const QVariant& defaultValue) {
        if (value != defaultValue) {
            stored.insert(QLatin1String(name), value);
        }
    };
    put("BackColor", backColor_, systemColor(buttonxp::ButtonFace));
    put("ForeColor", foreColor_, systemColor(buttonxp::ButtonText));
    put("ShowFocusRect", showFocusRect_, true);
    put("Caption", Caption(), objectName());
    put("PicturePosition", picturePosition_, 1);
    put("ButtonStyle", buttonStyle_, 2);
    if (!picture_.isNull()) {
        stored.insert(QStringLiteral("Picture"), pictureBytes(picture_));
    }
    put("PictureWidth", pictureWidth_, 32);
    put("PictureHeight", pictureHeight_, 32);
    put("PictureSize", pictureSize_, 1);
    put("OriginalPicSizeW", originalPicSizeW_, 32);
    put("OriginalPicSizeH", originalPicSizeH_, 32);
    if (testAttribute(Qt::WA_SetFont)) {
        stored.insert(QStringLiteral("Font"), font().toString());
    }
    if (!pictureHover_.isNull()) {
        stored.insert(QStringLiteral("PictureHover"), pictureBytes(pictureHover_));
    }
    if (!mouseIcon_.isNull()) {
        stored.insert(QStringLiteral("MouseIcon"), pictureBytes(mouseIcon_));
    }
    put("Enabled", Enabled(), true);
    put("MousePointer", mousePointer_, 0);
    put("URL", url_, QString());
    put("XPColor_Pressed", xpColorPressed_, systemColor(buttonxp::Highlight3D));
    put("XPColor_Hover", xpColorHover_, systemColor(buttonxp::Light3D));
    put("XPDefaultColors", xpDefaultColors_, true);
    put("SoundOver", soundOver_, DefaultSoundOver);
    put("SoundClick", soundClick_, DefaultSoundClick);
    put("DefCurHand", defCurHand_, false);
    put("XPShowBorderAlways", xpShowBorderAlways_, false);
    put("MaskColor", maskColor_, 0u);
    put("TransparentBG", transparentBG_, false);
    put("BEVEL", bevel_, short(1));
    put("BEVELDEPTH", bevelDepth_, short(8));
    return stored;
}

void Button_XP::loadProperties(const QVariantMap& stored) {
    QHash<QString, QVariant> byName;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        byName.insert(it.key().toLower(), it.value());
    }
    auto read = [&byName](const char* name, const QVariant& defaultValue) {
        return byName.value(QString::fromLatin1(name).toLower(), defaultValue);
    };
    backColor_ = read("BackColor", systemColor(buttonxp::ButtonFace)).toUInt();
    surfaceBack_ = backColor_;
    foreColor_ = read("ForeColor", systemColor(buttonxp::ButtonText)).toUInt();
    showFocusRect_ = read("ShowFocusRect", true).toBool();
    const QVariant caption = read("Caption", QVariant());
    captionSet_ = caption.isValid();
    caption_ = caption.toString();
    picturePosition_ = read("PicturePosition", 1).toInt();
    buttonStyle_ = read("ButtonStyle", 2).toInt();
    picture_ = pictureFrom(read("Picture", QByteArray()));
    pictureInUse_ = picture_;
    pictureWidth_ = read("PictureWidth", 32).toInt();
    pictureHeight_ = read("PictureHeight", 32).toInt();
    pictureSize_ = read("PictureSize", 1).toInt();
    originalPicSizeW_ = read("OriginalPicSizeW", 32).toInt();
    originalPicSizeH_ = read("OriginalPicSizeH", 32).toInt();
    const QString fontText = read("Font", QString()).toString();
    QFont stored_font;
    if (!fontText.isEmpty() && stored_font.fromString(fontText)) {
        setFont(stored_font);
    } else {
        setFont(QFont());  // back to the host's font
    }
    pictureHover_ = pictureFrom(read("PictureHover", QByteArray()));
    mouseIcon_ = pictureFrom(read("MouseIcon", QByteArray()));
    setEnabled(read("Enabled", true).toBool());
    mousePointer_ = read("MousePointer", 0).toInt();
    url_ = read("URL", QString()).toString();
    xpColorPressed_ = read("XPColor_Pressed", systemColor(buttonxp::Highlight3D)).toUInt();
    xpColorHover_ = read("XPColor_Hover", systemColor(buttonxp::Light3D)).toUInt();
    xpDefaultColors_ = read("XPDefaultColors", true).toBool();
    soundOver_ = read("SoundOver", DefaultSoundOver).toString();
    soundClick_ = read("SoundClick", DefaultSoundClick).toString();
    defCurHand_ = read("DefCurHand", false).toBool();
    xpShowBorderAlways_ = read("XPShowBorderAlways", false).toBool();
    maskColor_ = read("MaskColor", 0u).toUInt();
    transparentBG_ = read("TransparentBG", false).toBool();
    bevel_ = static_cast<short>(read("BEVEL", 1).toInt());
    bevelDepth_ = static_cast<short>(read("BEVELDEPTH", 8).toInt());
    applyCursor();
    captionChanged();
    resizeSteps();
}

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
    if (buttonStyle_ != 3) {
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
    if (button != RightButton) {
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
    if (button != RightButton) {
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
    if (!keyHeld_ && code == SpaceKey) {
        pressed_ = true;
        hovered_ = true;
        Refresh();
    }
    keyHeld_ = true;
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
    if (code == SpaceKey) {
        pressed_ = false;
        hovered_ = false;
        Refresh();
        handleRelease(LeftButton, shift, 0, 0);
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
    Refresh();
}
