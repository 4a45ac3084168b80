#pragma once

// Test fixture: a program folder laid out like an installation (Leagues.ini,
// the two catalogues, a sparse stand-in game file) and beside it a decoy
// folder, which tests make the current one: nothing may be read from it or
// written to it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <system_error>

#include "TestFiles.h"
#include "core/Baza.h"
#include "platform/Paths.h"

struct ProgramFolder {
    static inline const QString GameName = QStringLiteral("Game File.exe");
    // What the name pickers offer, from the catalogue below.
    static inline const QStringList NameItems = {"12", "Northern League", "Harbour, United", "32768", "-7"};
    // A Leagues.ini whose line 2 names a file that is not there: nothing loads.
    static inline const QByteArray MissingGame = "x\r\nNot There.exe\r\n";

    QTemporaryDir dir;
    std::filesystem::path root, program, decoy;

    explicit ProgramFolder(const std::filesystem::path& programName)
        : root(std::filesystem::canonical(dir.path().toStdString())),
          program(root / programName),
          decoy(root / "decoy") {
        using testfiles::writeFile;
        for (const std::filesystem::path& folder : {program, decoy})
            std::filesystem::create_directories(folder / "Setting");
        write("Leagues.ini", "Kelvory test folder\r\n" + GameName.toUtf8() + "\r\n");
        write("Setting/ID_Name_League.ini", "12,Northern League\r\n\"Harbour, United\"\r\n32768\r\n-7\r\n");
        write("Setting/Structure.ini", "Top division\r\n\"Cup, knockout\"\r\n\r\nLast\r\n");
        if (!testfiles::writeGameFile(gamePath()))
            qFatal("cannot write the stand-in game file");
        writeFile(decoy / "Leagues.ini", "Decoy\r\nvictim.bin\r\n");
        writeFile(decoy / "Setting" / "Structure.ini", "Decoy list\r\n");
        writeFile(decoy / "Setting" / "ID_Name_League.ini", "1,Decoy\r\n");
        writeFile(decoy / "victim.bin", decoyBytes());
    }
    ~ProgramFolder() {
        std::error_code ignored;                     // never throw from a destructor
        std::filesystem::remove_all(root, ignored);  // QTemporaryDir cannot name every folder below it
    }

    // What the decoy folder's stand-in file holds, and must still hold.
    static QByteArray decoyBytes() { return testfiles::patternBytes(100); }

    QString path() const { return platform::pathToText(program); }
    QString file(const QString& name) const { return platform::pathToText(program / name.toStdString()); }
    void write(const QString& name, const QByteArray& bytes) const {
        if (!testfiles::writeFile(program / name.toStdString(), bytes))
            qFatal("cannot write %s", qPrintable(name));
    }
    std::filesystem::path gamePath() const { return program / GameName.toStdString(); }
    QByteArray game() const { return testfiles::readFile(gamePath()); }

    // Loads the game file, lets `edit` change the block and saves it back.
    void writeGame(const std::function<void(Baza&)>& edit) const {
        Baza baza;
        if (edit && baza.Wczytaj(gamePath())) {
            edit(baza);
            baza.Zapisz(gamePath());
        }
    }
};
