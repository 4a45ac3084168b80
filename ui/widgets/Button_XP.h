#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include "ui/widgets/Button_XP_Canvas.h"

class QKeyEvent;
class QTimer;

namespace buttonxp {

// The property codes. Stored layouts keep them as plain numbers, and a code
// outside the named ones is kept as it is: a Style draws with the Flat border,
// a PicturePlace leaves picture and caption where the last layout put them, a
// PictureSizing keeps the picture size and a Pointer shows the arrow.
enum class Style : int { Classic = 0, Flat = 1, Toolbar = 2, XP = 3, Borderless = 4 };

// Where the picture stands relative to the caption.
enum class PicturePlace : int { Above = 0, Left = 1, Right = 2, Below = 3 };

// The size the picture is drawn at: 16 x 16, 32 x 32, or its own size.
enum class PictureSizing : int { Small = 0, Large = 1, Own = 2 };

// The mouse pointer over the button; Default leaves the host's, Custom shows
// MouseIcon.
enum class Pointer : int {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    Icon = 4,
    Size = 5,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    UpArrow = 10,
    Hourglass = 11,
    NoDrop = 12,
    ArrowHourglass = 13,
    ArrowQuestion = 14,
    SizeAll = 15,
    Custom = 99,
};

}  // namespace buttonxp

// An owner-drawn push button with five looks (ButtonStyle 0 classic, 1 flat,
// 2 toolbar, 3 XP, 4 borderless), an optional picture beside the caption,
// hover tracking by a polling timer, a click sound and an address opened on
// every click. Each state change repaints the whole button into an off-screen
// image, which is what the widget shows. It takes the focus by Tab or click;
// Space presses it and clicks on release, Enter clicks at once.
//
// Property getters carry the property's name; setters are set<Name>. Colours
// are buttonxp::ColorValue, so system colours follow the palette; codes are
// the enums above. Enabled and Font are the widget's own (setEnabled, setFont).
class Button_XP : public QWidget {
    Q_OBJECT
public:
    using ColorValue = buttonxp::ColorValue;
    using Style = buttonxp::Style;
    using PicturePlace = buttonxp::PicturePlace;
    using PictureSizing = buttonxp::PictureSizing;
    using Pointer = buttonxp::Pointer;

    explicit Button_XP(QWidget* parent = nullptr);
    ~Button_XP() override;

    ColorValue BackColor() const { return backColor_; }
    void setBackColor(ColorValue value);
    ColorValue ForeColor() const { return foreColor_; }
    void setForeColor(ColorValue value);
    bool ShowFocusRect() const { return showFocusRect_; }
    void setShowFocusRect(bool value);
    // Without a caption of its own the button shows its object name.
    QString Caption() const;
    void setCaption(const QString& value);
    PicturePlace PicturePosition() const { return picturePosition_; }
    void setPicturePosition(PicturePlace value);
    Style ButtonStyle() const { return buttonStyle_; }
    void setButtonStyle(Style value);
    // A picture with an alpha channel keeps its own transparency; one without
    // is a bitmap whose MaskColor pixels are left out.
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& value);
    int PictureWidth() const { return pictureWidth_; }
    void setPictureWidth(int value);
    int PictureHeight() const { return pictureHeight_; }
    void setPictureHeight(int value);
    PictureSizing PictureSize() const { return pictureSize_; }
    void setPictureSize(PictureSizing value);
    int OriginalPicSizeW() const { return originalPicSizeW_; }
    void setOriginalPicSizeW(int value);
    int OriginalPicSizeH() const { return originalPicSizeH_; }
    void setOriginalPicSizeH(int value);
    QFont Font() const { return font(); }
    QPixmap PictureHover() const { return pictureHover_; }
    void setPictureHover(const QPixmap& value);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& value);
    bool Enabled() const;
    Pointer MousePointer() const { return mousePointer_; }
    void setMousePointer(Pointer value);
    QString URL() const { return url_; }
    void setURL(const QString& value);
    ColorValue XPColor_Pressed() const { return xpColorPressed_; }
    void setXPColor_Pressed(ColorValue value);
    ColorValue XPColor_Hover() const { return xpColorHover_; }
    void setXPColor_Hover(ColorValue value);
    bool XPDefaultColors() const { return xpDefaultColors_; }
    void setXPDefaultColors(bool value);
    QString SoundOver() const { return soundOver_; }
    void setSoundOver(const QString& value);
    QString SoundClick() const { return soundClick_; }
    void setSoundClick(const QString& value);
    bool DefCurHand() const { return defCurHand_; }
    void setDefCurHand(bool value);
    bool XPShowBorderAlways() const { return xpShowBorderAlways_; }
    void setXPShowBorderAlways(bool value);
    ColorValue MaskColor() const { return maskColor_; }
    void setMaskColor(ColorValue value);
    bool TransparentBG() const { return transparentBG_; }
    void setTransparentBG(bool value);
    short BEVEL() const { return bevel_; }
    void setBEVEL(short value);
    short BEVELDEPTH() const { return bevelDepth_; }
    void setBEVELDEPTH(short value);

    // Part of the control's interface as described for hosts, kept for them;
    // Kelvory's own window uses none of the three. The native window the
    // button is drawn in (that of its top-level window unless the button has a
    // window of its own); the control's version, whose setter ignores its
    // value; and the host's mark of the button as its window's default button,
    // which draws the default-button mark.
    WId hwnd() const { return effectiveWinId(); }
    QString version() const;
    void setVersion(const QString&) {}
    void setDisplayAsDefault(bool value);

    // Lower-case access key taken from the caption; null when there is none.
    QChar AccessKey() const { return accessKey_; }

    // Stored layout: only the properties that differ from their defaults, under
    // their names, codes as plain numbers. Loading compares names without regard
    // to case and gives every missing property its default.
    QVariantMap saveProperties() const;
    void loadProperties(const QVariantMap& stored);

    // The off-screen image last drawn, and the layout it used.
    const QImage& surface() const { return surface_; }
    QRect innerRect() const;
    QRect pictureRect() const { return pictureRect_; }
    QRect textRect() const { return textRect_; }

    static const QString DefaultSoundOver;
    static const QString DefaultSoundClick;

public slots:
    void Refresh();
    void GoToURL();
    // Clicks the button without sound or pressed look, as its access key and
    // assistive technology do. Does nothing while the button is disabled.
    void Press();

signals:
    void Click();
    void KeyDown(short KeyCode, short Shift);
    void KeyPress(short KeyAscii);
    void KeyUp(short KeyCode, short Shift);
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void MouseIn(short Shift);
    void MouseOut(short Shift);

protected:
    // Whether the mouse cursor is over this button's own window; the hover
    // timer asks it every tick.
    virtual bool cursorOverButton() const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void overTimerTick();
    void handlePress(short button, short shift, float x, float y);
    void handleRelease(short button, short shift, float x, float y);
    void playClickSound();
    bool inside(float x, float y) const;
    // Return or Enter, without modifiers and not repeated by a held key.
    static bool activatesByEnter(const QKeyEvent& event);
    void captionChanged();
    void applyPictureSize();
    void applyCursor();
    void resizeSteps();
    void updateRegion();

    // Drawing (Button_XP_Paint.cpp).
    void redraw();
    void drawXpFace(buttonxp::PixelCanvas& canvas);
    void drawBorder(buttonxp::PixelCanvas& canvas, bool sunken);
    void drawBevel(buttonxp::PixelCanvas& canvas, bool sunken, int depth);
    void drawDefaultMark(buttonxp::PixelCanvas& canvas);
    void drawHostBackground();
    void computeLayout();
    void drawPicture();
    void drawCaption();
    QRgb resolve(ColorValue value) const;
    QRgb toolbarHoverColor() const;
    QRgb toolbarPressedColor() const;

    ColorValue backColor_;
    ColorValue foreColor_;
    bool showFocusRect_ = true;
    QString caption_;
    bool captionSet_ = false;
    PicturePlace picturePosition_ = PicturePlace::Left;
    Style buttonStyle_ = Style::Toolbar;
    QPixmap picture_;
    int pictureWidth_ = 32;
    int pictureHeight_ = 32;
    PictureSizing pictureSize_ = PictureSizing::Large;
    int originalPicSizeW_ = 32;
    int originalPicSizeH_ = 32;
    QPixmap pictureHover_;
    QPixmap mouseIcon_;
    Pointer mousePointer_ = Pointer::Default;
    QString url_;
    ColorValue xpColorPressed_;
    ColorValue xpColorHover_;
    bool xpDefaultColors_ = true;
    QString soundOver_;
    QString soundClick_;
    bool defCurHand_ = false;
    bool xpShowBorderAlways_ = false;
    ColorValue maskColor_ = 0;
    bool transparentBG_ = false;
    short bevel_ = 1;
    short bevelDepth_ = 8;
    bool displayAsDefault_ = false;

    // Run-time state.
    bool focused_ = false;
    bool pressed_ = false;
    bool hovered_ = false;
    bool keyHeld_ = false;
    short lastButton_ = 0;
    short lastShift_ = 0;
    float lastX_ = 0;
    float lastY_ = 0;
    QPixmap pictureInUse_;
    QChar accessKey_;
    int shortcutId_ = 0;
    ColorValue surfaceBack_;  // what the image is cleared to; style 2 changes it
    QImage surface_;
    bool renderingHost_ = false;  // drawHostBackground is rendering the host
    QRect pictureRect_;
    QRect textRect_;
    QTimer* overTimer_ = nullptr;
};
