#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class Baza;

// A throw-away folder laid out like an installed Kelvory: Leagues.ini, the two
// catalogues and a 15,613,092-byte stand-in game executable of pseudo-random
// bytes.
class ProgramFolder {
public:
    static constexpr const char* GameName = "Game File.exe";

    ProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.filePath(relative); }
    QString gamePath() const { return file(QLatin1String(GameName)); }

    void writeText(const QString& relative, const QByteArray& bytes) const;
    QByteArray readAll(const QString& relative) const;

    // Writes the stand-in game file, then lets `edit` change its block.
    void writeGame(const std::function<void(Baza&)>& edit = {}) const;

    static const QStringList& nameItems();       // items of Setting/ID_Name_League.ini
    static const QStringList& structureItems();  // items of Setting/Structure.ini

private:
    QTemporaryDir dir_;
};
