#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "core/Baza.h"
#include "platform/Paths.h"

ProgramFolder::ProgramFolder() {
    QDir(dir_.path()).mkpath(QStringLiteral("Setting"));
    writeText(QStringLiteral("Leagues.ini"), QByteArray("Kelvory test folder\r\n") + GameName + "\r\n");
    writeText(QStringLiteral("Setting/ID_Name_League.ini"),
              "12,Northern League\r\n\"Harbour, United\"\r\n32768\r\n-7\r\n");
    writeText(QStringLiteral("Setting/Structure.ini"), "Top division\r\n\"Cup, knockout\"\r\n\r\nLast\r\n");
}

const QStringList& ProgramFolder::nameItems() {
    static const QStringList items = {"12", "Northern League", "Harbour, United", "32768", "-7"};
    return items;
}

const QStringList& ProgramFolder::structureItems() {
    static const QStringList items = {"Top division", "Cup, knockout", "", "Last"};
    return items;
}

void ProgramFolder::writeText(const QString& relative, const QByteArray& bytes) const {
    QFile out(file(relative));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(out.fileName()));
    }
}

QByteArray ProgramFolder::readAll(const QString& relative) const {
    QFile in(file(relative));
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    return in.readAll();
}

void ProgramFolder::writeGame(const std::function<void(Baza&)>& edit) const {
    QByteArray bytes(static_cast<qsizetype>(Baza::BlockEnd), Qt::Uninitialized);
    QRandomGenerator random(20261206);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    writeText(QLatin1String(GameName), bytes);
    if (edit) {
        Baza baza;
        const auto game = platform::textToPath(gamePath());
        if (!baza.Wczytaj(game)) {
            qFatal("cannot load the stand-in game file");
        }
        edit(baza);
        baza.Zapisz(game);
    }
}
