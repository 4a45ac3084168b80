#include "WindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

bool WindowFixture::start() {
    window_ = std::make_unique<frmMain>();
    window_->setNumberLocale(QLocale::c());
    if (!window_->Form_Load())
        return false;
    window_->afterFirstPaint();  // as the window does once it is shown
    return true;
}

void WindowFixture::startLoaded(const std::function<void(Baza&)>& edit) {
    folder_->writeGame(edit);
    QVERIFY(start());
    QVERIFY(window_->baza().loaded());
}

void WindowFixture::startShown(const std::function<void(Baza&)>& edit) {
    startLoaded(edit);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

QString WindowFixture::label(int number) const {
    return window_->controls().label.at(number)->text();
}

QStringList WindowFixture::listItems() const {
    QStringList items;
    for (int i = 0; i < window_->controls().List1->count(); ++i)
        items << window_->controls().List1->item(i)->text();
    return items;
}

void WindowFixture::setLauncher(const QString& path) const {
    window_->controls().Text1->setText(path);
}

QString WindowFixture::fileUrl(const QString& path) {
#ifdef Q_OS_WIN
    return "file:///" + QDir::fromNativeSeparators(path);  // file:///C:/...
#else
    return "file://" + path;
#endif
}

void WindowFixture::type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(edit, c.toLatin1());
        } else {  // beyond ASCII: a key event that carries the character
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }
}

void WindowFixture::choose(int picker, const QString& item) {
    QComboBox* box = combo(picker);
    const int index = box->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void WindowFixture::init() {
    previousCurrent_ = QDir::currentPath();
    services_ = RecordingServices();
    services_.install();
    folder_ = std::make_unique<ProgramFolder>("Kelvory");
    services_.programFolder = folder_->program;
    QVERIFY(QDir::setCurrent(QString::fromStdString(folder_->decoy.u8string())));
}

void WindowFixture::cleanup() {
    window_.reset();
    // The current folder stays as it was.
    QCOMPARE(testfiles::readFile(folder_->decoy / "victim.bin"), ProgramFolder::decoyBytes());
    QCOMPARE(std::distance(std::filesystem::directory_iterator(folder_->decoy), std::filesystem::directory_iterator()),
             3);
    QDir::setCurrent(previousCurrent_);
    folder_.reset();
    platform::resetServices();
}
