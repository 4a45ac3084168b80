// The window's translations: every language file complete with its places
// kept; the window on a pseudo-translation shows every text translated and
// whole, and on each real language every text whole; and which language a
// run shows.

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include "../common/Rows.h"
#include "../main_window/WindowFixture.h"
#include "core/Fields.h"
#include "ui/main_window/Language.h"
#include "ui/widgets/Button_XP.h"

namespace {

// The places of a text: "%1", "%2", ...
QSet<QString> placesOf(const QString& text) {
    QSet<QString> places;
    static const QRegularExpression place(QStringLiteral("%[1-9]"));
    for (auto match = place.globalMatch(text); match.hasNext();)
        places.insert(match.next().captured());
    return places;
}

// A caption as shown: access keys marked by "&" are underlined, not shown.
QString shownText(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// One text the window shows, and the width it has to show in (-1: no fixed
// width, as in a menu, which takes the width its entries need).
struct Shown {
    QString where;
    QString text;
    QFontMetrics metrics;
    int room;
};

int widest(const QFontMetrics& metrics, const QString& text) {
    int width = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

void addMenu(QList<Shown>& shown, QMenu* menu) {
    for (QAction* action : menu->actions()) {
        // The languages are named in their own words, never translated.
        if (action->isSeparator() || !action->isVisible() || action->objectName().startsWith("mnuLanguage_"))
            continue;
        shown.append({"menu " + action->objectName(), shownText(action->text()), menu->fontMetrics(), -1});
        if (action->menu())
            addMenu(shown, action->menu());
    }
}

struct WindowRow {
    QString code;    // the language installed
    QString folder;  // where its .qm is
    bool pseudo;     // every text must be the pseudo-translation's; its
                     // length only tells where the layout is tight
};

struct ChoiceRow {
    QString override;    // --language; "-" for none
    QString remembered;  // the setting; "" for none
    QStringList system;  // the system's languages, first preferred
    QString chosen;
};

}  // namespace

Q_DECLARE_METATYPE(WindowRow)
Q_DECLARE_METATYPE(ChoiceRow)

class TranslationTest : public WindowFixture {
    Q_OBJECT

    // Every text the window shows in its own words (not the game's values or
    // the catalogues' items), with the room it has.
    QList<Shown> shownTexts() const {
        QList<Shown> shown;
        shown.append({"title", window_->windowTitle().remove(QLatin1String("[*]")), window_->fontMetrics(), -1});
        for (QAction* action : window_->menuBar()->actions()) {
            shown.append({"menu bar", shownText(action->text()), window_->menuBar()->fontMetrics(), -1});
            addMenu(shown, action->menu());
        }
        QSet<QWidget*> indicators;
        for (const Field& field : fields())
            if (field.indicator)
                indicators.insert(window_->controls().label.at(field.indicator));
        for (auto* frame : window_->findChildren<QGroupBox*>()) {
            // The title runs from where the style puts it to the frame's edge.
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect title =
                frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            shown.append({frame->objectName(), frame->title(), frame->fontMetrics(), frame->width() - title.x()});
        }
        for (auto* label : window_->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || indicators.contains(label))
                continue;
            const QWidget* parent = label->parentWidget();
            shown.append({label->objectName(), label->text(), label->fontMetrics(),
                          parent->contentsRect().right() - label->x()});
        }
        for (auto* button : window_->findChildren<Button_XP*>()) {
            if (button->Caption() != QLatin1String("..."))
                shown.append(
                    {button->objectName(), shownText(button->Caption()), button->fontMetrics(), button->width() - 8});
            if (!button->toolTip().isEmpty())
                shown.append({button->objectName() + " tooltip", button->toolTip(), button->fontMetrics(), -1});
        }
        for (auto* picker : window_->findChildren<QComboBox*>()) {
            if (picker->currentIndex() == -1 && !picker->currentText().isEmpty())
                shown.append({picker->objectName(), picker->currentText(), picker->fontMetrics(),
                              picker->lineEdit()->width() - 4});
        }
        QLineEdit* launcher = window_->controls().Text1;
        shown.append({"launcher box", launcher->text(), launcher->fontMetrics(), launcher->width() - 4});
        return shown;
    }

private slots:
    // Every message of a language file is translated (lrelease counts none
    // unfinished) and keeps every place of its source, adding none.
    void languageFileIsComplete_data() {
        QTest::addColumn<QString>("file");
        for (const QString& file : QStringLiteral(KELVORY_TS_FILES).split(QLatin1Char(';')))
            QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
    }
    void languageFileIsComplete() {
        QFETCH(QString, file);
        QFile ts(file);
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&ts);
        QString context, source;
        int messages = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (reader.name() == QLatin1String("name")) {
                context = reader.readElementText();
            } else if (reader.name() == QLatin1String("source")) {
                source = reader.readElementText();
            } else if (reader.name() == QLatin1String("translation")) {
                const QString where = context + ": " + source;
                const bool unfinished = reader.attributes().value("type") == QLatin1String("unfinished");
                const QString translation = reader.readElementText();
                QVERIFY2(!unfinished && !translation.isEmpty(), qPrintable("unfinished: " + where));
                QVERIFY2(placesOf(translation) == placesOf(source), qPrintable("places differ: " + where));
                ++messages;
            }
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY(messages > 0);
    }

    // The window in each language: every text fits its place. On the
    // pseudo-translation every text is translated; where a text a third
    // longer would not fit, the layout is tight, and the test names the
    // place for translators (the layout is fixed: a language with longer
    // words needs a shorter caption there, which the row of that language
    // checks).
    void windowTextsAreTranslatedAndWhole_data() {
        rows<WindowRow>({
            {"pseudo", {"pseudo", KELVORY_PSEUDO_DIR, true}},
            {"en", {"en", "", false}},
            {"pl", {"pl", KELVORY_TRANSLATIONS_DIR, false}},
        });
    }
    void windowTextsAreTranslatedAndWhole() {
        QFETCH(WindowRow, row);
        // The translators installed here go with the row.
        const std::shared_ptr<void> removeTranslators(
            nullptr, [](void*) { qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>()); });
        QVERIFY(installLanguage(row.code, row.folder));
        startShown();
        const QList<Shown> shown = shownTexts();
        QVERIFY(shown.size() > 40);
        QStringList faults;
        QStringList tight;
        for (const Shown& text : shown) {
            const QString said = text.where + ": " + QString(text.text).replace(QLatin1Char('\n'), QLatin1Char('|'));
            if (row.pseudo && !(text.text.startsWith(QLatin1Char('[')) && text.text.endsWith(QLatin1Char(']'))))
                faults << "not translated: " + said;
            const int width = widest(text.metrics, text.text);
            if (text.room >= 0 && width > text.room)
                (row.pseudo ? tight : faults) << QStringLiteral("cut off (%1 > %2): ").arg(width).arg(text.room) + said;
        }
        if (!tight.isEmpty())
            qInfo("Tight places (no room for a text a third longer):\n%s", qPrintable(tight.join(QLatin1Char('\n'))));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The languages on offer: English, once, then each translation in the
    // folder, by its own name. One that cannot be loaded is not installed.
    void languagesOnOffer() {
        QTemporaryDir folder;
        for (const char* file : {"kelvory_pl.qm", "kelvory_de.qm", "kelvory_en.qm", "qtbase_pl.qm", "notes.txt"})
            QVERIFY(QFile(folder.filePath(file)).open(QIODevice::WriteOnly));
        QStringList offered;
        for (const Language& language : availableLanguages(folder.path()))
            offered << language.code + "=" + language.name;
        QCOMPARE(offered, (QStringList{"en=English", "de=Deutsch", "pl=Polski"}));
        QVERIFY(!installLanguage("de", folder.path()));  // an empty file is no translation
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
    }

    // About > Language offers English and each translation beside the
    // program, the language shown checked; a choice is remembered for the
    // next start, and the window says so.
    void languageMenuRemembersTheChoice() {
        QVERIFY(QDir().mkpath(folder_->path() + "/translations"));
        QVERIFY(
            QFile::copy(KELVORY_TRANSLATIONS_DIR "/kelvory_pl.qm", folder_->path() + "/translations/kelvory_pl.qm"));
        QVERIFY(installLanguage("en", QString()));  // this run in English
        startShown();
        auto* menu = window_->menuBar()->findChild<QMenu*>("mnuLanguage");
        QVERIFY(menu);
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << action->text() + (action->isChecked() ? " (checked)" : "");
        QCOMPARE(entries, (QStringList{"&English (checked)", "&Polski"}));
        menu->actions().at(1)->trigger();
        QCOMPARE(services_.savedSettings, QStringList{"Kelvory/Window/Language=pl"});
        QCOMPARE(services_.texts(), QStringList{"Kelvory will be in Polski from its next start."});
        QVERIFY(menu->actions().at(1)->isChecked() && !menu->actions().at(0)->isChecked());
    }

    // --language first, then the remembered choice, then the system's
    // languages in order; a language on offer in none of them is English.
    void chosenLanguage_data() {
        rows<ChoiceRow>({
            {"system", {"-", "", {"de-DE", "pl-PL"}, "pl"}},
            {"system, none on offer", {"-", "", {"de-DE", "fr"}, "en"}},
            {"remembered over the system", {"-", "en", {"pl-PL"}, "en"}},
            {"remembered not on offer", {"-", "de", {"pl_PL"}, "pl"}},
            {"--language over both", {"pl", "en", {"en-US"}, "pl"}},
            {"--language with a country", {"pl_PL", "", {"en-US"}, "pl"}},
            {"--language not on offer", {"xx", "pl", {"en-US"}, "pl"}},
        });
    }
    void chosenLanguage() {
        QFETCH(ChoiceRow, row);
        if (!row.remembered.isEmpty())
            services_.settingValues.insert("Kelvory/Window/Language", row.remembered);
        const QList<Language> offered{{"en", "English"}, {"pl", "Polski"}};
        const std::optional<QString> override =
            row.override == "-" ? std::nullopt : std::optional<QString>(row.override);
        QCOMPARE(::chosenLanguage(override, offered, row.system), row.chosen);
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
