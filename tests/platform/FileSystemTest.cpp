// The file layer's promises, one table run against every file layer Kelvory
// has: the system's, and the fault stand-in with no faults (which the save
// tests put in its place). Each row sets up what stands at a name, does one
// operation there, and says what came of it and what stands there afterwards.

#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

#include "../common/TestFiles.h"
#include "../common/UseFiles.h"
#include "tests/support/FaultySave.h"
#include "platform/FileSystem.h"

namespace fs = std::filesystem;
using namespace testfiles;

namespace {

// What stands at the name "x" before the operation ("from" always holds
// "from", "target" holds "target").
enum class At { Nothing, File, Link, DanglingLink, Folder };

struct Case {
    At at;
    const char* operation;
    const char* outcome;  // what the operation gave, " | ", what is at "x" (and "from") afterwards
};

const char* kindName(FileError::Kind kind) {
    switch (kind) {
        case FileError::Kind::Failed:
            return "failed";
        case FileError::Kind::NoName:
            return "no name";
        case FileError::Kind::Missing:
            return "missing";
        case FileError::Kind::NotAFile:
            return "not a file";
        case FileError::Kind::TooShort:
            return "too short";
        case FileError::Kind::Exists:
            return "exists";
        case FileError::Kind::Busy:
            return "busy";
        case FileError::Kind::InUse:
            return "in use";
    }
    return "?";
}

// What stands at `path`, read around the file layer.
QString standing(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::symlink) {
        return "link";
    }
    if (status.type() == fs::file_type::directory) {
        return "folder";
    }
    if (status.type() == fs::file_type::regular) {
        return "file " + QString::fromLatin1(readFile(path));
    }
    return "nothing";
}

QString sameOrNot(const FileIdentity& a, const FileIdentity& b) {
    return a == b ? "same" : "different";
}

}  // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(At)

class FileSystemTest : public QObject {
    Q_OBJECT

private slots:
    void promises_data() {
        QTest::addColumn<bool>("standIn");
        QTest::addColumn<Case>("row");
        const QList<QPair<const char*, Case>> cases = {
            {"read a file", {At::File, "read", "ok old | x: file old"}},
            {"read nothing", {At::Nothing, "read", "missing | x: nothing"}},
            {"read a folder", {At::Folder, "read", "not a file | x: folder"}},
            {"read through a link", {At::Link, "read", "ok target | x: link"}},
            {"update a file", {At::File, "update", "ok | x: file new"}},
            {"update nothing: never created", {At::Nothing, "update", "missing | x: nothing"}},
            {"create", {At::Nothing, "create", "ok | x: file new"}},
            {"create over a file", {At::File, "create", "exists | x: file old"}},
            {"create over a link", {At::Link, "create", "exists | x: link"}},
            {"create over a dangling link", {At::DanglingLink, "create", "exists | x: link"}},
            {"rename over a file", {At::File, "rename", "ok | x: file from, from: nothing"}},
            {"rename to nothing", {At::Nothing, "rename", "ok | x: file from, from: nothing"}},
            {"no-replace rename to nothing", {At::Nothing, "rename no replace", "ok | x: file from, from: nothing"}},
            {"no-replace rename over a file", {At::File, "rename no replace", "exists | x: file old, from: file from"}},
            {"no-replace rename over a link", {At::Link, "rename no replace", "exists | x: link, from: file from"}},
            {"no-replace rename over a dangling link",
             {At::DanglingLink, "rename no replace", "exists | x: link, from: file from"}},
            {"no-replace rename over a folder",
             {At::Folder, "rename no replace", "exists | x: folder, from: file from"}},
            {"write a new file", {At::Nothing, "write new", "ok | x: file new"}},
            {"write a new file over one", {At::File, "write new", "exists | x: file old"}},
            {"write replacing", {At::File, "write replacing", "ok | x: file new"}},
            {"remove a file", {At::File, "remove", "ok | x: nothing"}},
            {"remove a link, not its target", {At::Link, "remove", "ok | x: nothing"}},
            {"lock, and lock again", {At::Nothing, "lock twice", "busy | x: file "}},
            {"lock a link", {At::Link, "lock twice", "failed | x: link"}},
            {"kind of nothing", {At::Nothing, "entry kind", "nothing | x: nothing"}},
            {"kind of a file", {At::File, "entry kind", "file | x: file old"}},
            {"kind of a link", {At::Link, "entry kind", "link | x: link"}},
            {"kind of a folder", {At::Folder, "entry kind", "other | x: folder"}},
            {"own path of a link", {At::Link, "final path", "ok target | x: link"}},
            {"own path of nothing", {At::Nothing, "final path", "missing | x: nothing"}},
            {"folder entries", {At::File, "folder entries", "ok from target x | x: file old"}},
            {"entries of no folder", {At::Nothing, "entries of x", "missing | x: nothing"}},
            {"one file opened twice", {At::File, "identity of x and x", "same | x: file old"}},
            {"a hard link", {At::File, "identity of x and a hard link", "same | x: file old"}},
            {"a file through a link", {At::Link, "identity of x and target", "same | x: link"}},
            {"a copy", {At::File, "identity of x and a copy", "different | x: file old"}},
            {"renamed while open", {At::File, "path once renamed", "ok moved | x: nothing"}},
            {"removed while open", {At::File, "path once removed", "ok  | x: nothing"}},
        };
        for (const bool standIn : {false, true})
            for (const auto& [name, row] : cases)
                QTest::newRow(qPrintable(QString(standIn ? "stand-in: " : "system: ") + name)) << standIn << row;
    }
    void promises() {
        QFETCH(bool, standIn);
        QFETCH(Case, row);
        const QString operation = row.operation;
#ifdef Q_OS_WIN
        if (row.at == At::Link || row.at == At::DanglingLink || operation.startsWith("path once"))
            QSKIP("links need a privilege on Windows, and an open file cannot be renamed or removed there");
#endif
        QTemporaryDir dir;
        const fs::path folder = fs::canonical(fsPath(dir.path()));
        const fs::path x = folder / "x", from = folder / "from", target = folder / "target";
        QVERIFY(writeFile(from, "from"));
        QVERIFY(writeFile(target, "target"));
        switch (row.at) {
            case At::Nothing:
                break;
            case At::File:
                QVERIFY(writeFile(x, "old"));
                break;
            case At::Link:
                fs::create_symlink(target, x);
                break;
            case At::DanglingLink:
                fs::create_symlink(folder / "gone", x);
                break;
            case At::Folder:
                fs::create_directory(x);
                break;
        }
        FaultyFileSystem faulty(folder / "Game.exe", {});
        platform::FileSystem system;
        platform::FileSystem& files = standIn ? static_cast<platform::FileSystem&>(faulty) : system;
        const auto readThrough = [&files](const fs::path& path) {
            std::unique_ptr<platform::OpenFile> file = files.open(path, BinaryFile::Mode::Read);
            std::string bytes(64, '\0');
            bytes.resize(file->readAt(0, bytes.data(), bytes.size()));
            file->close();
            return QString::fromStdString(bytes);
        };
        const auto identity = [&files](const fs::path& path) {
            return files.open(path, BinaryFile::Mode::Read)->identity();
        };
        const UseFiles use(&files);

        QString result = "ok";
        try {
            if (operation == "read") {
                result += " " + readThrough(x);
            } else if (operation == "update" || operation == "create") {
                std::unique_ptr<platform::OpenFile> file =
                    files.open(x, operation == "create" ? BinaryFile::Mode::CreateNew : BinaryFile::Mode::ReadWrite);
                file->writeAt(0, "new", 3);
                file->sync();
                file->close();
            } else if (operation == "rename") {
                files.rename(from, x);
            } else if (operation == "rename no replace") {
                files.renameNoReplace(from, x);
            } else if (operation == "write new") {
                platform::writeFileNew(x, "new", false);
            } else if (operation == "write replacing") {
                platform::writeFileReplacing(x, "new", false);
            } else if (operation == "remove") {
                files.remove(x);
            } else if (operation == "lock twice") {
                const std::unique_ptr<platform::FileLock> first = files.lock(x, std::chrono::milliseconds(0));
                files.lock(x, std::chrono::milliseconds(50));
            } else if (operation == "entry kind") {
                const char* const kinds[] = {"nothing", "file", "link", "other"};
                result = kinds[int(files.entryKind(x))];
            } else if (operation == "final path") {
                result += " " + QString::fromStdString(files.finalPath(x).lexically_relative(folder).string());
            } else if (operation == "folder entries" || operation == "entries of x") {
                for (const fs::path& name : files.folderEntries(operation == "entries of x" ? x : folder))
                    result += " " + QString::fromStdString(name.string());
            } else if (operation == "identity of x and x") {
                result = sameOrNot(identity(x), identity(x));
            } else if (operation == "identity of x and a hard link") {
                fs::create_hard_link(x, folder / "hard");
                result = sameOrNot(identity(x), identity(folder / "hard"));
                fs::remove(folder / "hard");
            } else if (operation == "identity of x and target") {
                result = sameOrNot(identity(x), identity(target));
            } else if (operation == "identity of x and a copy") {
                fs::copy_file(x, folder / "copy");
                result = sameOrNot(identity(x), identity(folder / "copy"));
                fs::remove(folder / "copy");
            } else if (operation == "path once renamed" || operation == "path once removed") {
                std::unique_ptr<platform::OpenFile> file = files.open(x, BinaryFile::Mode::Read);
                const FileIdentity before = file->identity();
                if (operation == "path once renamed")
                    fs::rename(x, folder / "moved");
                else
                    fs::remove(x);
                QCOMPARE(file->identity(), before);
                result += " " + QString::fromStdString(file->currentPath().lexically_relative(folder).string());
                file->close();
                fs::remove(folder / "moved");
            } else {
                QFAIL("no such operation");
            }
        } catch (const FileError& error) {
            result = kindName(error.kind());
        }
        result += " | x: " + standing(x);
        if (operation.startsWith("rename"))
            result += ", from: " + standing(from);
        QCOMPARE(result, QString(row.outcome));
        QCOMPARE(readFile(target), QByteArray("target"));  // nothing ever goes through a link
        // No temporary file is left behind.
        QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        QCOMPARE(left.filter(".new").size(), 0);
    }

    // Which file `path` names, straight from the system: links followed,
    // nothing when there is nothing.
    void identityAt() {
        QTemporaryDir dir;
        const fs::path file = fsPath(dir.filePath("file"));
        QVERIFY(writeFile(file, "x"));
        fs::create_hard_link(file, fsPath(dir.filePath("hard")));
        QVERIFY(platform::identityAt(file).has_value());
        QCOMPARE(platform::identityAt(file), platform::identityAt(fsPath(dir.filePath("hard"))));
        QCOMPARE(platform::identityAt(file),
                 std::optional<FileIdentity>(platform::fileSystem().open(file, BinaryFile::Mode::Read)->identity()));
        QCOMPARE(platform::identityAt(fsPath(dir.filePath("none"))), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "FileSystemTest.moc"
