#include "ui/main_window/FormLayout.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QValidator>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "core/Baza.h"
#include "core/Fields.h"
#include "core/GameRanges.h"
#include "platform/Fonts.h"
#include "ui/main_window/Artwork.h"
#include "ui/main_window/BoxLimits.h"
#include "ui/main_window/BoxLook.h"
#include "ui/main_window/FieldText.h"
#include "ui/main_window/Pickers.h"
#include "ui/widgets/Button_XP.h"

namespace {

struct FramePlace {
    const char* name;
    const char* parent;  // nullptr: the window itself
    int x, y, w, h;
    const char* caption;
};

// Listed in reading order; controls inside follow the same order for Tab.
const FramePlace kFrames[] = {
    {"Frame1", nullptr, 8, 8, 113, 385, QT_TRANSLATE_NOOP("FormLayout", "Load Slot to Exibition")},
    {"Frame11", "Frame1", 8, 16, 97, 113, FieldFrame::NationalSlot},
    {"Frame12", "Frame1", 8, 128, 97, 233, FieldFrame::ClubSlot},
    {"Frame2", nullptr, 120, 8, 169, 385, QT_TRANSLATE_NOOP("FormLayout", "Load Name")},
    {"Frame13", "Frame2", 8, 16, 153, 113, FieldFrame::NationalName},
    {"Frame14", "Frame2", 8, 128, 153, 233, FieldFrame::ClubName},
    {"Frame4", nullptr, 296, 8, 297, 321, QT_TRANSLATE_NOOP("FormLayout", "Category Logo League u_1426-dt06.img")},
    {"Frame10", "Frame4", 8, 16, 281, 113, FieldFrame::NationalCategory},
    {"Frame9", "Frame4", 8, 128, 281, 185, FieldFrame::ClubCategoryLogo},
    {"Frame6", nullptr, 600, 8, 249, 361, FieldFrame::Maps},
    {"Frame7", "Frame6", 96, 16, 137, 201, QT_TRANSLATE_NOOP("FormLayout", "Maps")},
    {"Frame3", nullptr, 296, 328, 297, 41, QT_TRANSLATE_NOOP("FormLayout", "Load EXE (Work Exe 1.3)")},
    {"Frame8", nullptr, 296, 368, 553, 81, QT_TRANSLATE_NOOP("FormLayout", "Save And Start Game")},
    {"Frame5", nullptr, 0, 392, 289, 281, QT_TRANSLATE_NOOP("FormLayout", "Structure League")},
};

const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);
const QColor kLegendRed(192, 0, 0);

// Where the boxes of a frame that holds fields go, one row every 24 pixels,
// and where the picker or file-name indicator on a box's row goes. Which
// field sits on which row, and what stands beside it, is the field table's.
struct BoxColumn {
    const char* frame;  // the frame's caption
    int left, width;    // of every box
    int top;            // of the box on row 1
    int gapAfterRow;    // rows below this one sit `gap` pixels lower (0: no gap)
    int gap;
    const QColor& colour;
    int besideLeft, besideWidth;  // the picker or indicator on the row
    const char* pickerText;       // a picker's initial text; %1 = row - 1
};

const BoxColumn kBoxColumns[] = {
    // The slot and name boxes are wider than the pickers' neighbours need, so
    // that -2147483648 and -32768 show whole.
    {FieldFrame::NationalSlot, 16, 75, 16, 0, 0, kYellow, 0, 0, nullptr},
    {FieldFrame::ClubSlot, 16, 75, 16, 0, 0, kYellow, 0, 0, nullptr},
    {FieldFrame::NationalName, 8, 38, 16, 0, 0, kYellow, 48, 97, QT_TRANSLATE_NOOP("FormLayout", "Select Index")},
    {FieldFrame::ClubName, 8, 38, 16, 0, 0, kYellow, 48, 97, QT_TRANSLATE_NOOP("FormLayout", "Select Index")},
    {FieldFrame::NationalCategory, 8, 81, 16, 0, 0, kYellow, 96, 169,
     QT_TRANSLATE_NOOP("FormLayout", "Select category to Sector %1")},
    {FieldFrame::ClubCategoryLogo, 8, 81, 16, 0, 0, kYellow, 96, 32, nullptr},
    // The four continents stand apart from the leagues below them.
    {FieldFrame::Maps, 8, 81, 32, 4, 8, kGreen, 0, 0, nullptr},
};

constexpr int kRowStep = 24;
constexpr int kBoxHeight = 19;
constexpr int kPickerHeight = 21;
constexpr int kIndicatorHeight = 13;

struct LabelPlace {
    int number;
    const char* parent;
    int x, y, w, h;
    const char* caption;
};

const LabelPlace kLabels[] = {
    {15, "Frame7", 16, 16, 103, 176,
     QT_TRANSLATE_NOOP("FormLayout",
                       "0 = Europe\n1 = Africa\n2 = America\n3 = Asia\n4 = England\n5 = France\n6 = Italy\n"
                       "7 = Holland\n8 = Spain\n9 = Libertadores\n10 = World ")},
    {1, "Frame6", 192, 304, 44, 26, nullptr},  // the map codes' range: mapRangeLegend()
    {9, "Frame2", 8, 368, 147, 13, QT_TRANSLATE_NOOP("FormLayout", " (dt05_x-.imgt -> u_1 > Blok 21)")},
    {10, "Frame1", 16, 368, 79, 13, QT_TRANSLATE_NOOP("FormLayout", "dt0f.img - > 1826")},
};

// A caption of the layout in the window's language.
QString translated(const char* caption) {
    return QCoreApplication::translate("FormLayout", caption);
}

// A frame's title: the field table's frames are translated with the fields.
QString frameTitle(const char* caption) {
    const QString title = translated(caption);
    return title == QLatin1String(caption) ? QCoreApplication::translate("Fields", caption) : title;
}

// "Min = 0\nMax = 10": what the game takes in a map box, from the one table
// of what the game takes.
QString mapRangeLegend() {
    const GameRange& maps = gameRange(FieldKind::Map);
    return translated(QT_TRANSLATE_NOOP("FormLayout", "Min = %1\nMax = %2")).arg(maps.minimum).arg(maps.maximum);
}

// The controls' own names, as the window's handlers are named after them.
QString boxName(int member) {
    return QStringLiteral("txt_%1").arg(member);
}
QString pickerName(int number) {
    return QStringLiteral("Combo%1").arg(number);
}
QString labelName(int number) {
    return QStringLiteral("Label%1").arg(number);
}

void placeBox(QLineEdit* box, const QString& name, const QRect& rect) {
    box->setObjectName(name);
    box->setGeometry(rect);
    box->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QRect& rect) {
    auto* box = new QLineEdit(parent);
    placeBox(box, name, rect);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

// The fields whose boxes stand in the frame with this caption, top row first.
std::vector<const Field*> fieldsInFrame(const char* caption) {
    std::vector<const Field*> inFrame;
    for (const Field& field : fields()) {
        if (std::strcmp(field.frame, caption) == 0) {
            inFrame.push_back(&field);
        }
    }
    std::sort(inFrame.begin(), inFrame.end(), [](const Field* a, const Field* b) { return a->row < b->row; });
    return inFrame;
}

// The box of a field, with the input rule the field table gives it.
QLineEdit* makeValueBox(QWidget* frame, const Field& field, const QColor& colour, const QRect& rect) {
    auto* box = new ValueBox(frame, colour);
    placeBox(box, boxName(field.member), rect);
    keepTextWhole(box);
    switch (field.input) {
        case BoxInput::Number:
            break;
        case BoxInput::CategoryText:
            // Exactly what the category field can hold.
            box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            box->setMaxLength(Baza::CatLength);
            box->setValidator(new CodePageText(box));
            break;
        case BoxInput::TwoTypedCharacters:
            box->setValidator(new TypedLengthLimit(box, 2));
            break;
    }
    return box;
}

const BoxColumn* columnOf(const Field& field) {
    for (const BoxColumn& column : kBoxColumns) {
        if (std::strcmp(column.frame, field.frame) == 0) {
            return &column;
        }
    }
    return nullptr;
}

}  // namespace

QString pickerCaption(const Field& field) {
    const BoxColumn* column = columnOf(field);
    if (field.picker == 0 || !column || !column->pickerText) {
        return {};
    }
    QString caption = translated(column->pickerText);
    return caption.contains(QLatin1String("%1")) ? caption.arg(field.row - 1) : caption;
}

QLineEdit* FormControls::box(const Field& field) const {
    const auto found = txt.find(field.member);
    return found == txt.end() ? nullptr : found->second;
}

QComboBox* FormControls::picker(const Field& field) const {
    const auto found = combo.find(field.picker);
    return field.picker == 0 || found == combo.end() ? nullptr : found->second;
}

QLabel* FormControls::indicator(const Field& field) const {
    const auto found = label.find(field.indicator);
    return field.indicator == 0 || found == label.end() ? nullptr : found->second;
}

namespace {

// Builds the window's controls in their places, one group at a time, and
// collects them into a FormControls.
class FormBuilder {
public:
    explicit FormBuilder(QWidget* client) : client_(client) {}

    FormControls build() {
        installPickerAccessibility();
        client_->setFixedSize(FormClientWidth, FormClientHeight);
        QPalette white = client_->palette();
        white.setColor(QPalette::Window, Qt::white);
        client_->setPalette(white);
        client_->setAutoFillBackground(true);

        frames();
        fieldControls();
        labels();
        otherControls();
        for (qsizetype i = 1; i < form_.tabOrder.size(); ++i) {
            QWidget::setTabOrder(form_.tabOrder[i - 1], form_.tabOrder[i]);
        }
        return form_;
    }

private:
    QWidget* named(const char* name) const { return name ? form_.byName.value(QLatin1String(name)) : client_; }

    template <typename W>
    W* remember(W* widget) {
        form_.byName.insert(widget->objectName(), widget);
        return widget;
    }

    void frames() {
        for (const FramePlace& place : kFrames) {
            auto* frame = new QGroupBox(frameTitle(place.caption), named(place.parent));
            frame->setObjectName(QLatin1String(place.name));
            frame->setGeometry(place.x, place.y, place.w, place.h);
            frame->setAutoFillBackground(true);  // white: the palette comes from the window
            frame->setAccessibleName(frame->title());
            remember(frame);
            // Found by its caption as the field table writes it.
            frameWithCaption_.insert(QString::fromUtf8(place.caption), frame);
        }
    }

    // The boxes of the field table, each with its picker or indicator beside it.
    void fieldControls() {
        for (const BoxColumn& column : kBoxColumns) {
            QWidget* frame = frameWithCaption_.value(QString::fromUtf8(column.frame));
            for (const Field* field : fieldsInFrame(column.frame)) {
                const int top = column.top + kRowStep * (field->row - 1) +
                                (column.gapAfterRow > 0 && field->row > column.gapAfterRow ? column.gap : 0);
                QLineEdit* box =
                    makeValueBox(frame, *field, column.colour, QRect(column.left, top, column.width, kBoxHeight));
                box->setAccessibleName(fieldAccessibleName(*field));
                form_.txt[field->member] = remember(box);
                form_.tabOrder.append(box);

                const QRect beside(column.besideLeft, top, column.besideWidth, kPickerHeight);
                if (field->picker != 0) {
                    form_.combo[field->picker] = picker(frame, *field, beside);
                    form_.tabOrder.append(form_.combo[field->picker]);
                }
                if (field->indicator != 0) {
                    const QString name = labelName(field->indicator);
                    auto* label = new QLabel(name, frame);  // named after itself until a logo index matches
                    label->setObjectName(name);
                    label->setGeometry(beside.x(), beside.y(), beside.width(), kIndicatorHeight);
                    label->setMinimumWidth(beside.width());
                    form_.label[field->indicator] = remember(label);
                }
            }
        }
        if (form_.txt.size() != static_cast<std::size_t>(FieldCount)) {
            throw std::logic_error("the window's layout has no place for some field's frame");
        }
    }

    Picker* picker(QWidget* frame, const Field& field, const QRect& place) {
        auto* picker = new Picker(frame);
        picker->setObjectName(pickerName(field.picker));
        picker->setGeometry(place);
        makeEditable(picker);
        picker->setInsertPolicy(QComboBox::NoInsert);
        picker->setMaxVisibleItems(20);
        picker->setEditText(pickerCaption(field));
        picker->lineEdit()->setCursorPosition(0);  // show the start of the text
        picker->setAccessibleName(QCoreApplication::translate("FormLayout", "%1, picker").arg(fieldName(field)));
        guardPicker(picker);
        if (field.input == BoxInput::CategoryText) {
            picker->setValidator(new CodePageText(picker));
        }
        return remember(picker);
    }

    void labels() {
        for (const LabelPlace& place : kLabels) {
            auto* label = new QLabel(place.caption ? translated(place.caption) : mapRangeLegend(), named(place.parent));
            label->setObjectName(labelName(place.number));
            label->setGeometry(place.x, place.y, place.w, place.h);
            form_.label[place.number] = remember(label);
        }
        QLabel* legend = form_.label[15];
        QFont legendFont = platform::windowFont(9.75);
        legendFont.setBold(true);
        legend->setFont(legendFont);
        legend->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QPalette red = legend->palette();
        red.setColor(QPalette::WindowText, kLegendRed);
        legend->setPalette(red);
        form_.label[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        for (const LabelPlace& place : kLabels) {
            // Fonts differ between systems: let a fixed caption grow rather than
            // be cut off.
            QLabel* label = form_.label[place.number];
            const QSize needed = label->sizeHint();
            label->resize(std::max(place.w, needed.width()), std::max(place.h, needed.height()));
        }
    }

    Button_XP* button(const QString& name, const QRect& rect, const QString& caption) {
        auto* b = new Button_XP(named("Frame8"));
        b->setObjectName(name);
        b->setGeometry(rect);
        b->setCaption(caption);
        b->setButtonStyle(Button_XP::Style::XP);
        return remember(b);
    }

    // Boxes and buttons outside the text-box array.
    void otherControls() {
        form_.Nazwa_Exe =
            remember(makeBox(named("Frame3"), QStringLiteral("Nazwa_Exe"), QRect(8, 16, 281, kBoxHeight)));
        form_.Nazwa_Exe->setAccessibleName(translated(QT_TRANSLATE_NOOP("FormLayout", "Game executable name")));

        form_.Text1 = remember(makeBox(named("Frame8"), QStringLiteral("Text1"), QRect(8, 24, 513, kBoxHeight)));
        form_.Text1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form_.Text1->setAccessibleName(translated(QT_TRANSLATE_NOOP("FormLayout", "Launcher program")));

        form_.Open = button(QStringLiteral("Open"), QRect(528, 24, 17, 17), QStringLiteral("..."));
        form_.Open->setToolTip(translated(QT_TRANSLATE_NOOP("FormLayout", "Choose the launcher program")));
        form_.Open->setAccessibleName(form_.Open->toolTip());
        form_.cmd_Save_Start_Game = button(QStringLiteral("cmd_Save_Start_Game"), QRect(224, 48, 121, 25),
                                           translated(QT_TRANSLATE_NOOP("FormLayout", "Save and Start Game")));

        form_.List1 = new QListWidget(named("Frame5"));
        form_.List1->setObjectName(QStringLiteral("List1"));
        remember(form_.List1);
        form_.List1->setGeometry(8, 16, 273, 251);
        form_.List1->setAccessibleName(translated(QT_TRANSLATE_NOOP("FormLayout", "Structure League")));

        form_.Lokalizacja = remember(makeBox(client_, QStringLiteral("Lokalizacja"), QRect(296, 656, 553, kBoxHeight)));
        form_.Lokalizacja->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        form_.Lokalizacja->setReadOnly(true);
        form_.Lokalizacja->setAccessibleName(translated(QT_TRANSLATE_NOOP("FormLayout", "Game executable location")));

        form_.Image1 = new QLabel(client_);
        form_.Image1->setObjectName(QStringLiteral("Image1"));
        form_.Image1->setGeometry(480, 472, 265, 184);
        form_.Image1->setPixmap(drawPitchPicture(QSize(265, 184)));
        remember(form_.Image1);

        form_.tabOrder << form_.Nazwa_Exe << form_.Text1 << form_.Open << form_.cmd_Save_Start_Game << form_.List1
                       << form_.Lokalizacja;
    }

    QWidget* client_;
    FormControls form_;
    QHash<QString, QWidget*> frameWithCaption_;
};

}  // namespace

FormControls buildForm(QWidget* client) {
    return FormBuilder(client).build();
}
