#include <QtTest>

#include "ui/widgets/Button_XP.h"
#include "ui/widgets/Button_XP_AccessKey.h"
#include "ui/widgets/Button_XP_Input.h"

// The button's codes: the input codes its events report, the access keys of
// its captions, and the property codes of its stored layout.
class TestButtonXPCodes : public QObject {
    Q_OBJECT

private slots:
    void keyCodes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("code");
        QTest::newRow("A") << int(Qt::Key_A) << 65;
        QTest::newRow("Z") << int(Qt::Key_Z) << 90;
        QTest::newRow("0") << int(Qt::Key_0) << 48;
        QTest::newRow("9") << int(Qt::Key_9) << 57;
        QTest::newRow("space") << int(Qt::Key_Space) << 32;
        QTest::newRow("F1") << int(Qt::Key_F1) << 112;
        QTest::newRow("F24") << int(Qt::Key_F24) << 135;
        QTest::newRow("Return") << int(Qt::Key_Return) << 13;
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << 13;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << 9;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 27;
        QTest::newRow("Left") << int(Qt::Key_Left) << 37;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 46;
        QTest::newRow("a key without a code") << int(Qt::Key_Menu) << 0;
    }

    void keyCodes() {
        QFETCH(int, key);
        QFETCH(int, code);
        QCOMPARE(buttonxp::keyCode(key), short(code));
    }

    void mouseButtonCodes_data() {
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<int>("code");
        QTest::newRow("none") << Qt::MouseButtons() << 0;
        QTest::newRow("left") << Qt::MouseButtons(Qt::LeftButton) << 1;
        QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton) << 2;
        QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << 4;
        QTest::newRow("left and right") << (Qt::LeftButton | Qt::RightButton) << 3;
        QTest::newRow("a side button has none") << Qt::MouseButtons(Qt::BackButton) << 0;
    }

    void mouseButtonCodes() {
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(int, code);
        QCOMPARE(buttonxp::buttonCode(buttons), short(code));
    }

    void shiftCodes_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("code");
        QTest::newRow("none") << Qt::KeyboardModifiers() << 0;
        QTest::newRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1;
        QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << 2;
        QTest::newRow("Alt") << Qt::KeyboardModifiers(Qt::AltModifier) << 4;
        QTest::newRow("Shift and Alt") << (Qt::ShiftModifier | Qt::AltModifier) << 5;
        QTest::newRow("the logo key has none") << Qt::KeyboardModifiers(Qt::MetaModifier) << 0;
    }

    void shiftCodes() {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, code);
        QCOMPARE(buttonxp::shiftCode(modifiers), short(code));
    }

    void accessKey_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        const char* rows[][2] = {{"&Open", "o"}, {"Save && &Start", "s"}, {"A&", ""}, {"&&", ""},
                                 {"A&&B", ""},   {"&&&&&X", ""}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1];
    }

    // Setting the caption computes the key.
    void accessKey() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        Button_XP b;
        b.setCaption(caption);
        QCOMPARE(b.AccessKey().isNull() ? QString() : QString(b.AccessKey()), key);
    }

    void withoutAccessMarks_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("plain");
        const char* rows[][2] = {{"&Open", "Open"},
                                 {"Save && &Start", "Save & Start"},
                                 {"A&", "A"},
                                 {"&&&S", "&S"},
                                 {"No marks", "No marks"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1];
    }

    void withoutAccessMarks() {
        QFETCH(QString, caption);
        QFETCH(QString, plain);
        QCOMPARE(buttonxp::withoutAccessMarks(caption), plain);
    }

    // Stored layouts keep the codes as plain numbers: each loads as its
    // enumerator and is stored back as the same number, also when it is
    // outside the named ones.
    void storedCodes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("code");
        using B = Button_XP;
        QTest::newRow("XP look") << "ButtonStyle" << 3 << int(B::Style::XP);
        QTest::newRow("classic look") << "ButtonStyle" << 0 << int(B::Style::Classic);
        QTest::newRow("a style outside the five") << "ButtonStyle" << 7 << 7;
        QTest::newRow("picture above") << "PicturePosition" << 0 << int(B::PicturePlace::Above);
        QTest::newRow("picture below") << "PicturePosition" << 3 << int(B::PicturePlace::Below);
        QTest::newRow("a place outside the four") << "PicturePosition" << -1 << -1;
        QTest::newRow("16 x 16") << "PictureSize" << 0 << int(B::PictureSizing::Small);
        QTest::newRow("own size") << "PictureSize" << 2 << int(B::PictureSizing::Own);
        QTest::newRow("cross pointer") << "MousePointer" << 2 << int(B::Pointer::Cross);
        QTest::newRow("own pointer") << "MousePointer" << 99 << int(B::Pointer::Custom);
    }

    void storedCodes() {
        QFETCH(QString, name);
        QFETCH(int, stored);
        QFETCH(int, code);
        Button_XP b;
        b.loadProperties({{name.toLower(), stored}});  // names are matched without regard to case
        const QHash<QString, int> loaded = {{"ButtonStyle", int(b.ButtonStyle())},
                                            {"PicturePosition", int(b.PicturePosition())},
                                            {"PictureSize", int(b.PictureSize())},
                                            {"MousePointer", int(b.MousePointer())}};
        QCOMPARE(loaded.value(name), code);
        QCOMPARE(b.saveProperties().value(name), QVariant(stored));
    }

    void pictureSize2WithoutPictureIs32() {
        Button_XP b;
        b.setPictureSize(Button_XP::PictureSizing::Own);
        QCOMPARE(b.PictureWidth(), 32);
        QCOMPARE(b.PictureHeight(), 32);
    }

    // MousePointer 0 means no pointer of the button's own: none is set at
    // creation, and going back to 0 takes a chosen one away again.
    void mousePointerZeroLeavesTheWindowsPointer() {
        QWidget window;
        Button_XP b(&window);
        QVERIFY(!b.testAttribute(Qt::WA_SetCursor));
        b.setMousePointer(Button_XP::Pointer::Cross);
        QVERIFY(b.testAttribute(Qt::WA_SetCursor));
        QCOMPARE(b.cursor().shape(), Qt::CrossCursor);
        b.setMousePointer(Button_XP::Pointer::Default);
        QVERIFY(!b.testAttribute(Qt::WA_SetCursor));
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
    }

    // The defaults: XP is not one of them, so the main window's buttons store it.
    void defaultCodesAreNotStored() {
        Button_XP b;
        b.setObjectName(QStringLiteral("Go"));
        QCOMPARE(b.saveProperties(), QVariantMap());
        QCOMPARE(b.ButtonStyle(), Button_XP::Style::Toolbar);
        QCOMPARE(b.PicturePosition(), Button_XP::PicturePlace::Left);
        QCOMPARE(b.PictureSize(), Button_XP::PictureSizing::Large);
        QCOMPARE(b.MousePointer(), Button_XP::Pointer::Default);
        b.setButtonStyle(Button_XP::Style::XP);
        QCOMPARE(b.saveProperties(), QVariantMap({{QStringLiteral("ButtonStyle"), 3}}));
    }
};

QTEST_MAIN(TestButtonXPCodes)
#include "tst_button_xp_codes.moc"
