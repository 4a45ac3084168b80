// The button's properties: their setters, and the stored layout the host
// keeps them in.

#include <QBuffer>
#include <QCursor>
#include <QHash>

#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_AccessKey.h"

using buttonxp::systemColor;
using Pointer = buttonxp::Pointer;

const QString Button_XP::DefaultSoundOver = QStringLiteral(".\\resources\\over.wav");
const QString Button_XP::DefaultSoundClick = QStringLiteral(".\\resources\\click.wav");

namespace {

Qt::CursorShape cursorShape(Pointer pointer) {
    switch (pointer) {
        case Pointer::Cross:
            return Qt::CrossCursor;
        case Pointer::IBeam:
            return Qt::IBeamCursor;
        case Pointer::Size:
        case Pointer::SizeAll:
            return Qt::SizeAllCursor;
        case Pointer::SizeNESW:
            return Qt::SizeBDiagCursor;
        case Pointer::SizeNS:
            return Qt::SizeVerCursor;
        case Pointer::SizeNWSE:
            return Qt::SizeFDiagCursor;
        case Pointer::SizeWE:
            return Qt::SizeHorCursor;
        case Pointer::UpArrow:
            return Qt::UpArrowCursor;
        case Pointer::Hourglass:
            return Qt::WaitCursor;
        case Pointer::NoDrop:
            return Qt::ForbiddenCursor;
        case Pointer::ArrowHourglass:
            return Qt::BusyCursor;
        case Pointer::ArrowQuestion:
            return Qt::WhatsThisCursor;
        default:  // Arrow, Icon, and codes without a shape of their own
            return Qt::ArrowCursor;
    }
}

// Stored layouts keep the codes as plain numbers; these are the one place
// where they become enums and back.
template <typename Code>
int codeOf(Code code) {
    return static_cast<int>(code);
}

template <typename Code>
Code fromCode(const QVariant& stored) {
    return static_cast<Code>(stored.toInt());
}

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
    accessKey_ = buttonxp::accessKeyOf(caption);
    if (shortcutId_ != 0) {
        releaseShortcut(shortcutId_);
        shortcutId_ = 0;
    }
    if (!accessKey_.isNull()) {
        const auto key = static_cast<Qt::Key>(accessKey_.toUpper().unicode());
        shortcutId_ = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)));
    }
    setAccessibleName(buttonxp::withoutAccessMarks(caption));
    Refresh();
}

void Button_XP::setPicturePosition(PicturePlace value) {
    picturePosition_ = value;
    Refresh();
}

void Button_XP::setButtonStyle(Style value) {
    buttonStyle_ = value;
    if (value == Style::XP) {
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

void Button_XP::setPictureSize(PictureSizing value) {
    pictureSize_ = value;
    applyPictureSize();
    Refresh();
}

void Button_XP::applyPictureSize() {
    switch (pictureSize_) {
        case PictureSizing::Small:
            pictureWidth_ = 16;
            pictureHeight_ = 16;
            break;
        case PictureSizing::Large:
            pictureWidth_ = 32;
            pictureHeight_ = 32;
            break;
        case PictureSizing::Own:
            pictureWidth_ = picture_.isNull() ? 32 : originalPicSizeW_;
            pictureHeight_ = picture_.isNull() ? 32 : originalPicSizeH_;
            break;
    }  // any other code keeps the size
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

void Button_XP::setMousePointer(Pointer value) {
    mousePointer_ = value;
    applyCursor();
}

void Button_XP::applyCursor() {
    if (mousePointer_ == Pointer::Custom && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
    } else if (mousePointer_ == Pointer::Default || mousePointer_ == Pointer::Custom) {
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
    put("PicturePosition", codeOf(picturePosition_), codeOf(PicturePlace::Left));
    put("ButtonStyle", codeOf(buttonStyle_), codeOf(Style::Toolbar));
    if (!picture_.isNull()) {
        stored.insert(QStringLiteral("Picture"), pictureBytes(picture_));
    }
    put("PictureWidth", pictureWidth_, 32);
    put("PictureHeight", pictureHeight_, 32);
    put("PictureSize", codeOf(pictureSize_), codeOf(PictureSizing::Large));
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
    put("MousePointer", codeOf(mousePointer_), codeOf(Pointer::Default));
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
    picturePosition_ = fromCode<PicturePlace>(read("PicturePosition", codeOf(PicturePlace::Left)));
    buttonStyle_ = fromCode<Style>(read("ButtonStyle", codeOf(Style::Toolbar)));
    picture_ = pictureFrom(read("Picture", QByteArray()));
    pictureInUse_ = picture_;
    pictureWidth_ = read("PictureWidth", 32).toInt();
    pictureHeight_ = read("PictureHeight", 32).toInt();
    pictureSize_ = fromCode<PictureSizing>(read("PictureSize", codeOf(PictureSizing::Large)));
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
    mousePointer_ = fromCode<Pointer>(read("MousePointer", codeOf(Pointer::Default)));
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
