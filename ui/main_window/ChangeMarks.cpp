#include "ui/main_window/ChangeMarks.h"

#include <QCoreApplication>

#include <QComboBox>
#include <QEvent>
#include <QFocusFrame>
#include <QLineEdit>
#include <QPainter>

#include "core/Fields.h"
#include "platform/Text.h"
#include "ui/main_window/FieldStates.h"
#include "ui/main_window/FieldText.h"

namespace {

const QColor kBarColor(32, 32, 32);
constexpr int kBarHeight = 2;
const char kBarName[] = "changedMark";

// The bar along the bottom edge of a text field, over its own frame line:
// outside the text area, so it never covers a digit, and seen on an empty
// field too. Lets every mouse event through; a focus frame to the toolkit,
// so that assistive technology passes over it (the mark's words are in the
// control's description). Once made it stays shown and draws nothing while
// off: showing and hiding a control would tell assistive technology about
// it on every keystroke that changes a value or takes it back.
class ChangedBar : public QFocusFrame {
public:
    explicit ChangedBar(QWidget* face) : QFocusFrame(face) {
        setObjectName(QLatin1String(kBarName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        place();
        face->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize) {
            place();
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        if (on_) {
            QPainter painter(this);
            painter.fillRect(rect(), kBarColor);
        }
    }

public:
    void setOn(bool on) {
        on_ = on;
        update();
    }

private:
    bool on_ = false;

    void place() {
        const QRect face = parentWidget()->rect();
        setGeometry(face.left(), face.bottom() - kBarHeight + 1, face.width(), kBarHeight);
    }
};

// The text field that shows the control's value: the box itself, or the
// picker's own text field.
QWidget* faceOf(QWidget* control) {
    if (auto* picker = qobject_cast<QComboBox*>(control)) {
        if (picker->lineEdit()) {
            return picker->lineEdit();
        }
    }
    return control;
}

void showChanged(QWidget* face, bool changed) {
    QFont font = face->font();
    font.setBold(changed);
    face->setFont(font);
    // Only a changed bar carries this name.
    auto* bar =
        static_cast<ChangedBar*>(face->findChild<QWidget*>(QLatin1String(kBarName), Qt::FindDirectChildrenOnly));
    if (!changed) {
        if (bar) {
            bar->setOn(false);
        }
        return;
    }
    if (!bar) {
        bar = new ChangedBar(face);
        bar->show();
    }
    bar->setOn(true);
    // The not-stored mark's red frame, when the field has one too, stays
    // whole on top.
    if (QWidget* notStored = face->findChild<QWidget*>(QStringLiteral("fieldMark"), Qt::FindDirectChildrenOnly)) {
        bar->stackUnder(notStored);
    } else {
        bar->raise();
    }
}

}  // namespace

void setChangedMark(QWidget* control, const QString& sentence) {
    if (!control) {
        return;
    }
    const QString before = changedMark(control);
    if (before == sentence) {
        return;
    }
    setFieldState(control, FieldState::Changed, sentence);
    if (before.isEmpty() != sentence.isEmpty()) {
        showChanged(faceOf(control), !sentence.isEmpty());
    }
}

QString changedMark(const QWidget* control) {
    return fieldState(control, FieldState::Changed);
}

QString shownValue(const Baza::Block& block, const Field& field) {
    if (field.kind == FieldKind::Cat) {
        return QLatin1Char('"') + platform::fromCodePage(fieldCategory(block, field)) + QLatin1Char('"');
    }
    return QString::number(fieldNumber(block, field));
}

QString changedSentence(const Baza::Block& saved, const Field& field) {
    return QCoreApplication::translate("ChangeMarks", "Changed: was %1").arg(shownValue(saved, field));
}

QStringList changeLines(const Baza::Block& saved, const Baza::Block& current) {
    QStringList lines;
    for (const Field* field : changedFields(saved, current)) {
        lines << QStringLiteral("%1: %2 \u2192 %3")
                     .arg(fieldName(*field), shownValue(saved, *field), shownValue(current, *field));
    }
    return lines;
}
