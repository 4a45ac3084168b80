#pragma once

#include <QColor>
#include <QFocusFrame>
#include <QPointer>

// The keyboard focus made plain on every control of an area: a solid ring,
// two pixels wide, drawn just outside whichever control inside the area has
// the focus (a picker as a whole, not its text field). The controls' own looks
// stay as they are, focused or not, so the ring also marks the owner-drawn
// buttons and the value boxes, whose own focus cues are slight.
//
// The ring is a focus frame to the toolkit: assistive technology does not see
// it as a control of its own.
class FocusRing : public QFocusFrame {
public:
    explicit FocusRing(QWidget* area);

    // The control the ring is around, or nullptr while it is hidden.
    QWidget* target() const { return target_; }

    static constexpr int Width = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);
    void place();

    QWidget* area_;
    QPointer<QWidget> target_;
};

// The ring's colour: dark blue, which stands out against the white window,
// the yellow and green boxes and the grey buttons alike (contrast 5.3 : 1
// against the frames it is drawn on, 4 : 1 or more against the controls), and
// which a focused value box's own frame takes too.
inline const QColor FocusRingColour(0x2f, 0x65, 0xca);
