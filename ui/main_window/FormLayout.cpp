#include "ui/main_window/FormLayout.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QValidator>
#include <algorithm>
#include <vector>

#include "platform/Fonts.h"
#include "ui/main_window/Artwork.h"
#include "ui/main_window/BoxLimits.h"
#include "ui/main_window/BoxLook.h"
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
    {"Frame1", nullptr, 8, 8, 113, 385, "Load Slot to Exibition"},
    {"Frame11", "Frame1", 8, 16, 97, 113, "National Slot"},
    {"Frame12", "Frame1", 8, 128, 97, 233, "Club Slot"},
    {"Frame2", nullptr, 120, 8, 169, 385, "Load Name"},
    {"Frame13", "Frame2", 8, 16, 153, 113, "National Name"},
    {"Frame14", "Frame2", 8, 128, 153, 233, "Club Name"},
    {"Frame4", nullptr, 296, 8, 297, 321, "Category Logo League u_1426-dt06.img"},
    {"Frame10", "Frame4", 8, 16, 281, 113, "National Category Logo League u_1426.bin ->dt06.img"},
    {"Frame9", "Frame4", 8, 128, 281, 185, "Club Category Logo(dt04.img)"},
    {"Frame6", nullptr, 600, 8, 249, 361, "Maps Load u_1426.bin ->dt06.img"},
    {"Frame7", "Frame6", 96, 16, 137, 201, "Maps"},
    {"Frame3", nullptr, 296, 328, 297, 41, "Load EXE (Work Exe 1.3)"},
    {"Frame8", nullptr, 296, 368, 553, 81, "Save And Start Game"},
    {"Frame5", nullptr, 0, 392, 289, 281, "Structure League"},
};

enum class Companion { None, Combo, Label };

// A column of text-box members, one every 24 pixels, each optionally with a
// picker or a label on its row.
struct MemberColumn {
    const char* frame;
    std::vector<int> members;  // top to bottom
    int left, width, top;
    Companion companion;
    std::vector<int> companions;  // Combo or Label numbers, row for row
    int companionLeft, companionWidth, companionHeight;
    const char* companionText;  // initial text of the pickers; %1 = row
};

const MemberColumn kColumns[] = {
    // The slot and name boxes are wider than the pickers' neighbours need, so
    // that -2147483648 and -32768 show whole.
    {"Frame11", {0, 1, 2, 3}, 16, 75, 16, Companion::None, {}, 0, 0, 0, nullptr},
    {"Frame12", {4, 5, 6, 7, 8, 9, 10, 11, 12}, 16, 75, 16, Companion::None, {}, 0, 0, 0, nullptr},
    {"Frame13", {13, 15, 16, 14}, 8, 38, 16, Companion::Combo, {14, 16, 17, 15}, 48, 97, 21, "Select Index"},
    {"Frame14",
     {17, 18, 19, 20, 21, 22, 23, 24, 25},
     8,
     38,
     16,
     Companion::Combo,
     {18, 19, 20, 21, 22, 23, 24, 25, 26},
     48,
     97,
     21,
     "Select Index"},
    {"Frame10",
     {26, 27, 28, 29},
     8,
     81,
     16,
     Companion::Combo,
     {1, 2, 3, 4},
     96,
     169,
     21,
     "Select category to Sector %1"},
    {"Frame9", {30, 31, 32, 33, 34, 35, 36}, 8, 81, 16, Companion::Label, {2, 3, 4, 5, 6, 7, 8}, 96, 32, 13, nullptr},
    {"Frame6", {39, 40, 41, 42}, 8, 81, 32, Companion::None, {}, 0, 0, 0, nullptr},
    {"Frame6", {43, 44, 45, 46, 47, 48, 49, 50, 51}, 8, 81, 136, Companion::None, {}, 0, 0, 0, nullptr},
};

constexpr int kRowStep = 24;
constexpr int kBoxHeight = 19;

struct LabelPlace {
    int number;
    const char* parent;
    int x, y, w, h;
    const char* caption;
};

const LabelPlace kLabels[] = {
    {15, "Frame7", 16, 16, 103, 176,
     "0 = Europe\n1 = Africa\n2 = America\n3 = Asia\n4 = England\n5 = France\n6 = Italy\n7 = Holland\n"
     "8 = Spain\n9 = Libertadores\n10 = World "},
    {1, "Frame6", 192, 304, 44, 26, "Min = 0\nMax = 10"},
    {9, "Frame2", 8, 368, 147, 13, " (dt05_x-.imgt -> u_1 > Blok 21)"},
    {10, "Frame1", 16, 368, 79, 13, "dt0f.img - > 1826"},
};

const QColor kYellow(255, 255, 0);
const QColor kGreen(0, 255, 0);
const QColor kLegendRed(192, 0, 0);

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

}  // namespace

FormControls buildForm(QWidget* client) {
    installPickerAccessibility();
    FormControls form;
    client->setFixedSize(FormClientWidth, FormClientHeight);

    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    client->setAutoFillBackground(true);

    auto named = [&](const char* name) -> QWidget* { return name ? form.byName.value(QLatin1String(name)) : client; };

    QHash<QString, QString> frameCaption;
    for (const FramePlace& place : kFrames) {
        auto* frame = new QGroupBox(QString::fromUtf8(place.caption), named(place.parent));
        frame->setObjectName(QLatin1String(place.name));
        frame->setGeometry(place.x, place.y, place.w, place.h);
        frame->setAutoFillBackground(true);  // white: the palette comes from the window
        frame->setAccessibleName(frame->title());
        form.byName.insert(frame->objectName(), frame);
        frameCaption.insert(frame->objectName(), frame->title());
    }

    auto remember = [&](QWidget* widget) {
        form.byName.insert(widget->objectName(), widget);
        return widget;
    };

    QHash<QString, int> rowsNamed;  // per frame: rows numbered so far, across its columns
    for (const MemberColumn& column : kColumns) {
        QWidget* frame = named(column.frame);
        const QString caption = frameCaption.value(QLatin1String(column.frame));
        int& rowNumber = rowsNamed[QLatin1String(column.frame)];
        for (std::size_t row = 0; row < column.members.size(); ++row) {
            const int member = column.members[row];
            const int top = column.top + kRowStep * static_cast<int>(row);
            const QString rowName = QStringLiteral("%1, row %2").arg(caption).arg(++rowNumber);

            auto* box = new ValueBox(frame, member >= 39 ? kGreen : kYellow);
            placeBox(box, QStringLiteral("txt_%1").arg(member), QRect(column.left, top, column.width, kBoxHeight));
            box->setAccessibleName(rowName);
            keepTextWhole(box);
            if (member >= 26 && member <= 29) {
                // Exactly what the category field can hold.
                box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                box->setMaxLength(11);
                box->setValidator(new CodePageText(box));
            }
            if (member >= 30 && member <= 36) {
                box->setValidator(new TypedLengthLimit(box, 2));
            }
            form.txt[member] = box;
            remember(box);
            form.tabOrder.append(box);

            if (column.companion == Companion::None) {
                continue;
            }
            const int number = column.companions[row];
            const QRect rect(column.companionLeft, top, column.companionWidth, column.companionHeight);
            if (column.companion == Companion::Combo) {
                auto* combo = new Picker(frame);
                combo->setObjectName(QStringLiteral("Combo%1").arg(number));
                combo->setGeometry(rect);
                makeEditable(combo);
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setMaxVisibleItems(20);
                QString initial = QString::fromUtf8(column.companionText);
                if (initial.contains(QLatin1String("%1"))) {
                    initial = initial.arg(row);
                }
                combo->setEditText(initial);
                combo->lineEdit()->setCursorPosition(0);  // show the start of the text
                combo->setAccessibleName(rowName + QStringLiteral(", picker"));
                guardPicker(combo);
                if (number <= 4) {
                    combo->setValidator(new CodePageText(combo));
                }
                form.combo[number] = combo;
                remember(combo);
                form.tabOrder.append(combo);
            } else {
                auto* label = new QLabel(QStringLiteral("Label%1").arg(number), frame);
                label->setObjectName(QStringLiteral("Label%1").arg(number));
                label->setGeometry(rect);
                label->setMinimumWidth(column.companionWidth);
                form.label[number] = label;
                remember(label);
            }
        }
    }

    for (const LabelPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf8(place.caption), named(place.parent));
        label->setObjectName(QStringLiteral("Label%1").arg(place.number));
        label->setGeometry(place.x, place.y, place.w, place.h);
        form.label[place.number] = label;
        remember(label);
    }
    QLabel* legend = form.label[15];
    QFont legendFont = platform::windowFont(9.75);
    legendFont.setBold(true);
    legend->setFont(legendFont);
    legend->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = legend->palette();
    red.setColor(QPalette::WindowText, kLegendRed);
    legend->setPalette(red);
    form.label[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const LabelPlace& place : kLabels) {
        // Fonts differ between systems: let a fixed caption grow rather than
        // be cut off.
        QLabel* label = form.label[place.number];
        const QSize needed = label->sizeHint();
        label->resize(std::max(place.w, needed.width()), std::max(place.h, needed.height()));
    }

    // Boxes and buttons outside the text-box array.
    form.Nazwa_Exe = makeBox(named("Frame3"), QStringLiteral("Nazwa_Exe"), QRect(8, 16, 281, kBoxHeight));
    form.Nazwa_Exe->setAccessibleName(QStringLiteral("Game executable name"));
    remember(form.Nazwa_Exe);

    form.Text1 = makeBox(named("Frame8"), QStringLiteral("Text1"), QRect(8, 24, 513, kBoxHeight));
    form.Text1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form.Text1->setAccessibleName(QStringLiteral("Launcher program"));
    remember(form.Text1);

    auto button = [&](const QString& name, const QRect& rect, const QString& caption) {
        auto* b = new Button_XP(named("Frame8"));
        b->setObjectName(name);
        b->setGeometry(rect);
        b->setCaption(caption);
        b->setButtonStyle(Button_XP::Style::XP);
        remember(b);
        return b;
    };
    form.Open = button(QStringLiteral("Open"), QRect(528, 24, 17, 17), QStringLiteral("..."));
    form.Open->setToolTip(QStringLiteral("Choose the launcher program"));
    form.Open->setAccessibleName(QStringLiteral("Choose the launcher program"));
    form.cmd_Save_Start_Game =
        button(QStringLiteral("cmd_Save_Start_Game"), QRect(224, 48, 121, 25), QStringLiteral("Save and Start Game"));

    form.List1 = new QListWidget(named("Frame5"));
    form.List1->setObjectName(QStringLiteral("List1"));
    form.List1->setGeometry(8, 16, 273, 251);
    form.List1->setAccessibleName(QStringLiteral("Structure League"));
    remember(form.List1);

    form.Lokalizacja = makeBox(client, QStringLiteral("Lokalizacja"), QRect(296, 656, 553, kBoxHeight));
    form.Lokalizacja->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form.Lokalizacja->setReadOnly(true);
    form.Lokalizacja->setAccessibleName(QStringLiteral("Game executable location"));
    remember(form.Lokalizacja);

    form.Image1 = new QLabel(client);
    form.Image1->setObjectName(QStringLiteral("Image1"));
    form.Image1->setGeometry(480, 472, 265, 184);
    form.Image1->setPixmap(drawPitchPicture(QSize(265, 184)));
    remember(form.Image1);

    form.tabOrder << form.Nazwa_Exe << form.Text1 << form.Open << form.cmd_Save_Start_Game << form.List1
                  << form.Lokalizacja;
    for (qsizetype i = 1; i < form.tabOrder.size(); ++i) {
        QWidget::setTabOrder(form.tabOrder[i - 1], form.tabOrder[i]);
    }
    return form;
}
