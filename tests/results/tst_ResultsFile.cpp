#include "platform/Files.h"
#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"
#include "results/ResultsFile.h"
#include "tests/support/ServiceDoubles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using platform::RuntimeError;

namespace {

class TestSheet : public ResultsSheet {
public:
    std::string folder;
    std::string running;
    std::string previous = "0.00";
    std::string resultsFolder() override { return folder; }
    std::string runningTotal() override { return running; }
    void setPreviousTotal(const std::string& text) override { previous = text; }
};

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

ino_t inodeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

// Root writes wherever it likes, so permission cases run as the user nobody when we are root,
// else as ourselves; what they touch is handed over to that user.
constexpr uid_t nobody = 65534;

QFile::Permissions writable(bool yes) {
    return yes ? QFile::WriteOwner : QFile::Permissions();
}

void handOver(const QString& path) {
    if (geteuid() == 0)
        QVERIFY(::chown(QFile::encodeName(path).constData(), nobody, nobody) == 0);
}

// Saves in a child process running as that user: 0 when the save succeeded, else the number of
// the run-time error it raised.
int saveUnprivileged(TestSheet& sheet) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(255);
        int status = 0;
        try {
            SaveResults(sheet);
        } catch (const RuntimeError& e) {
            status = e.number();
        } catch (...) {
            status = 254;
        }
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Sets or clears a folder's append-only flag: new files may come, none may go or be renamed, as in
// a share that grants writing but not deletion. False where the file system or our rights refuse.
bool setAppendOnly(const QString& folder, bool on) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    long flags = 0;
    const bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      (flags = on ? flags | FS_APPEND_FL : flags & ~long(FS_APPEND_FL),
                       ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (fd >= 0)
        ::close(fd);
    return done;
}

// The system's file calls, seen: the permissions each new file has when made, and a pause before
// each replacement, until the other end of a pipe says go.
class SeenCalls : public testsupport::PassingFileCalls {
public:
    std::vector<unsigned> madeWith;
    int ready = -1, go = -1; // pipe ends; -1: no pause

    std::unique_ptr<File> create(const std::string& path, const std::string& like,
                                 Refusal& refusal) override {
        std::unique_ptr<File> file = system.create(path, like, refusal);
        struct stat info {};
        if (file && ::stat(platform::slashPath(path).c_str(), &info) == 0)
            madeWith.push_back(info.st_mode & 07777);
        return file;
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        char byte = 0;
        if (ready >= 0 && (::write(ready, "r", 1) != 1 || ::read(go, &byte, 1) != 1))
            return Refusal::Lasting;
        return system.replace(from, to);
    }
};

// Saves as SaveResults does, through the calls given: 0, or the run-time error raised.
int saveThrough(platform::FileCalls& calls, TestSheet& sheet) {
    try {
        const auto writer = platform::makeReplacingFileWriter(calls);
        writer->open(ResultsFilePath(sheet));
        writer->write(resultsLine(sheet.running));
        writer->flush();
        writer->commit();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

mode_t modeOf(const QString& path, bool follow = true) {
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    return (follow ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) == 0
               ? info.st_mode
               : 0;
}

} // namespace

class tst_ResultsFile : public QObject {
    Q_OBJECT
private slots:
    void firstItem_data();
    void firstItem();
    void lineBytes_data();
    void lineBytes();
    void pathAlwaysInsertsBackslash_data();
    void pathAlwaysInsertsBackslash();
    void loadsWhatIsThere_data();
    void loadsWhatIsThere();
    void saveThenLoadRoundTrips_data();
    void saveThenLoadRoundTrips();
    void secondSaveReplacesFirst();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void saveUnderPermissions_data();
    void saveUnderPermissions();
    void saveWhereTheReplaceIsRefused_data();
    void saveWhereTheReplaceIsRefused();
    void writerFailingAtEachStepKeepsOldFile_data();
    void writerFailingAtEachStepKeepsOldFile();
    void saveKeepsWhatTheUserMade_data();
    void saveKeepsWhatTheUserMade();
    void twoSavesIntoOneFolder_data();
    void twoSavesIntoOneFolder();
};

void tst_ResultsFile::firstItem_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("quoted with leading blank") << QByteArray("\" 35\"\r\n") << " 35";
    QTest::newRow("unquoted with comma") << QByteArray("12.5,7") << "12.5";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("blanks before quoted") << QByteArray("   \"-10\"\r\n") << "-10";
    QTest::newRow("unquoted trimmed") << QByteArray("  42  \r\nrest") << "42";
    QTest::newRow("only the first line") << QByteArray("\"1\"\r\n\"2\"\r\n") << "1";
    QTest::newRow("quoted keeps comma") << QByteArray("\"1,5\"") << "1,5";
    QTest::newRow("unterminated quote ends with line") << QByteArray("\"12\r\nx") << "12";
    QTest::newRow("empty quoted") << QByteArray("\"\"\r\n") << "";
    QTest::newRow("utf-8") << QByteArray("\"\xc2\xa3" "5\"\r\n") << QString::fromUtf8("\xc2\xa3" "5");
    QTest::newRow("not utf-8 still reads") << QByteArray("\"\xff\xfe 1\"") << QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd 1");
    QTest::newRow("cut character, surrogate") << QByteArray("\"5\xe2\x82 \xed\xa0\x80\"") << QString::fromUtf8("5\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
    QTest::newRow("line feed only") << QByteArray("7\n8") << "7";
    // clang-format on
}

void tst_ResultsFile::firstItem() {
    QFETCH(QByteArray, contents);
    QTEST(QString::fromStdString(::firstItem(contents.toStdString())), "expected");
}

void tst_ResultsFile::lineBytes_data() {
    QTest::addColumn<QString>("running");
    QTest::addColumn<QByteArray>("bytes");
    // clang-format off
    QTest::newRow("blank and 35") << " 35" << QByteArray::fromHex("2220333522" "0d0a");
    QTest::newRow("letters") << "abc" << QByteArray("\"abc\"\r\n");
    QTest::newRow("empty") << "" << QByteArray("\"\"\r\n");
    QTest::newRow("pound sign as utf-8") << QString::fromUtf8("\xc2\xa3" "5") << QByteArray("\"\xc2\xa3" "5\"\r\n");
    // clang-format on
}

void tst_ResultsFile::lineBytes() {
    QFETCH(QString, running);
    QTEST(QByteArray::fromStdString(resultsLine(running.toStdString())), "bytes");
}

void tst_ResultsFile::pathAlwaysInsertsBackslash_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("native");
    // clang-format off
    QTest::newRow("drive root") << "c:\\" << "c:\\\\quorvexresults.txt" << "/quorvexresults.txt";
    QTest::newRow("folder") << "/home/me/bets" << "/home/me/bets\\quorvexresults.txt" << "/home/me/bets/quorvexresults.txt";
    QTest::newRow("drive folder") << "D:\\Bets" << "D:\\Bets\\quorvexresults.txt" << "/Bets/quorvexresults.txt";
    QTest::newRow("empty folder") << "" << "\\quorvexresults.txt" << "/quorvexresults.txt";
    // clang-format on
}

void tst_ResultsFile::pathAlwaysInsertsBackslash() {
    QFETCH(QString, folder);
    TestSheet sheet;
    sheet.folder = folder.toStdString();
    const std::string path = ResultsFilePath(sheet);
    QTEST(QString::fromStdString(path), "path");
    QTEST(QString::fromStdString(platform::slashPath(path)), "native");
}

void tst_ResultsFile::loadsWhatIsThere_data() {
    // What stands under the file's name: nothing, a file with the contents (made as long as the
    // size, with zero bytes), or something that is not a file.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("previous");
    const qint64 huge = 200 * 1024 * 1024;
    const QByteArray line("\" 35\"\r\n");
    const auto limit = qsizetype(ResultsReadLimit);
    // clang-format off
    QTest::newRow("no file") << "none" << QByteArray() << qint64(0) << "";
    QTest::newRow("empty file") << "file" << QByteArray() << qint64(0) << "";
    QTest::newRow("quoted") << "file" << line << qint64(0) << " 35";
    QTest::newRow("unquoted") << "file" << QByteArray("12.5,7") << qint64(0) << "12.5";
    QTest::newRow("a pipe") << "fifo" << QByteArray() << qint64(0) << "";
    QTest::newRow("a folder") << "folder" << QByteArray() << qint64(0) << "";
    QTest::newRow("a device") << "device" << QByteArray() << qint64(0) << "";
    QTest::newRow("200 MB of zero bytes") << "file" << QByteArray() << huge << "";
    QTest::newRow("a line, then 200 MB") << "file" << line << huge << " 35";
    QTest::newRow("item ending within the read limit") << "file" << '"' + QByteArray(limit - 2, '7') + "\"\r\n" << huge << QString(limit - 2, QLatin1Char('7'));
    QTest::newRow("item going on beyond the read limit") << "file" << '"' + QByteArray(limit, '7') + "\"\r\n" << qint64(0) << "";
    // clang-format on
}

void tst_ResultsFile::loadsWhatIsThere() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, contents);
    QFETCH(qint64, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(ResultsFileName);
    if (kind == "file") {
        writeBytes(path, contents);
        if (size > 0)
            QVERIFY(QFile::resize(path, size)); // sparse: costs no disk
    } else if (kind == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(ResultsFileName));
    } else if (kind == "device") {
        QVERIFY(QFile::link("/dev/zero", path));
    }

    TestSheet sheet;
    sheet.folder = dir.path().toStdString();
    QElapsedTimer timer;
    timer.start();
    LoadPreviousTotal(sheet);
    QVERIFY2(timer.elapsed() < 1000, "start-up waited for the file");
    QTEST(QString::fromStdString(sheet.previous), "previous");
}

void tst_ResultsFile::saveThenLoadRoundTrips_data() {
    QTest::addColumn<QString>("running");
    QTest::newRow("blank and 35") << " 35";
    QTest::newRow("letters") << "abc";
    QTest::newRow("negative") << "-12.5";
    QTest::newRow("typed outside ascii") << QString::fromUtf8("\xe2\x82\xac 12");
}

void tst_ResultsFile::saveThenLoadRoundTrips() {
    QFETCH(QString, running);
    QTemporaryDir dir;
    TestSheet sheet;
    sheet.folder = dir.path().toStdString();
    sheet.running = running.toStdString();
    SaveResults(sheet);
    QCOMPARE(contentsOf(dir.filePath(ResultsFileName)),
             QByteArray::fromStdString(resultsLine(sheet.running)));
    LoadPreviousTotal(sheet);
    QCOMPARE(QString::fromStdString(sheet.previous), running);
}

void tst_ResultsFile::secondSaveReplacesFirst() {
    QTemporaryDir dir;
    TestSheet sheet;
    sheet.folder = dir.path().toStdString();
    sheet.running = " 123.5";
    SaveResults(sheet);
    sheet.running = "-7";
    SaveResults(sheet);
    QCOMPARE(contentsOf(dir.filePath(ResultsFileName)), QByteArray("\"-7\"\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{ResultsFileName});
}

void tst_ResultsFile::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("folderInside"); // relative to a temporary folder
    QTest::newRow("missing folder") << "missing/deeper";
    QTest::newRow("path through a file") << "plainfile";
}

void tst_ResultsFile::failedSaveKeepsOldFile() {
    QFETCH(QString, folderInside);
    QTemporaryDir dir;
    writeBytes(dir.filePath("plainfile"), "x");
    TestSheet sheet;
    sheet.folder = dir.filePath(folderInside).toStdString();
    sheet.running = " 99";
    try {
        SaveResults(sheet);
        QFAIL("no error raised");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(RuntimeError::PathNotFound));
    }
    QCOMPARE(contentsOf(dir.filePath("plainfile")), QByteArray("x"));
}

void tst_ResultsFile::saveUnderPermissions_data() {
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<int>("error");     // 0: saved
    QTest::addColumn<bool>("replaced"); // by a new file rather than written in place
    // clang-format off
    QTest::newRow("open folder: a new file replaces the old") << true << true << true << 0 << true;
    QTest::newRow("closed folder: written in place") << false << true << true << 0 << false;
    QTest::newRow("closed folder, read-only file") << false << true << false << int(RuntimeError::PermissionDenied) << false;
    QTest::newRow("closed folder, no file yet") << false << false << false << int(RuntimeError::PermissionDenied) << false;
    // clang-format on
}

void tst_ResultsFile::saveUnderPermissions() {
    QFETCH(bool, folderWritable);
    QFETCH(bool, fileExists);
    QFETCH(bool, fileWritable);
    QFETCH(int, error);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    handOver(dir.path());
    const QString folder = dir.filePath("bets");
    const QString path = folder + '/' + ResultsFileName;
    QVERIFY(QDir(dir.path()).mkdir("bets"));
    handOver(folder);
    const QByteArray old("\" 12345.50\"\r\n"); // longer than the new line: cut after
    if (fileExists) {
        writeBytes(path, old);
        handOver(path);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | writable(fileWritable)));
    }
    const ino_t before = inodeOf(path);
    QVERIFY(QFile::setPermissions(folder,
                                  QFile::ReadOwner | QFile::ExeOwner | writable(folderWritable)));

    TestSheet sheet;
    sheet.folder = folder.toStdString();
    sheet.running = " 99";
    const int status = saveUnprivileged(sheet);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(status, error);
    QCOMPARE(contentsOf(path), error == 0   ? QByteArray("\" 99\"\r\n")
                               : fileExists ? old
                                            : QByteArray("<missing>"));
    if (fileExists)
        QCOMPARE(inodeOf(path) != before, replaced);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             fileExists || error == 0 ? QStringList{ResultsFileName} : QStringList{});
}

void tst_ResultsFile::saveWhereTheReplaceIsRefused_data() {
    // Saved as the user nobody. A sticky folder of root's, holding root's file: no one else may
    // replace it, but all may write it if it says so.
    QTest::addColumn<QString>("folderKind"); // "plain", "sticky" or "append-only"
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<QString>("stray"); // beside the file before the save: what made it
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("left");
    // Strays of a process that has ended (no process has so high a number) and of a running one.
    const QString ended = QStringLiteral("~%1.7ffffff0-1.tmp").arg(ResultsFileName);
    const QString running = QStringLiteral("~%1.1-1.tmp").arg(ResultsFileName);
    const QString notes = QStringLiteral("~%1.notes.tmp").arg(ResultsFileName);
    const QStringList file{ResultsFileName};
    // clang-format off
    QTest::newRow("sticky folder, another user's file writable by all") << "sticky" << true << "" << 0 << file;
    QTest::newRow("sticky folder, another user's read-only file") << "sticky" << false << "" << int(RuntimeError::PermissionDenied) << file;
    QTest::newRow("a crash's temporary file is removed") << "plain" << true << "ended" << 0 << file;
    QTest::newRow("folder refusing deletion: its temporary file reused") << "append-only" << true << "ended" << 0 << QStringList{ResultsFileName, ended};
    QTest::newRow("a running program's temporary file is left") << "plain" << true << "running" << 0 << QStringList{ResultsFileName, running};
    QTest::newRow("a file the user named like one is left") << "plain" << true << "notes" << 0 << QStringList{ResultsFileName, notes};
    QTest::newRow("another user's is left") << "plain" << true << "root's" << 0 << QStringList{ResultsFileName, ended};
    QTest::newRow("sticky folder, another user's link is neither followed nor removed") << "sticky" << true << "link" << 0 << QStringList{ResultsFileName, ended};
    // clang-format on
}

void tst_ResultsFile::saveWhereTheReplaceIsRefused() {
    QFETCH(QString, folderKind);
    QFETCH(bool, fileWritable);
    QFETCH(QString, stray);
    QFETCH(int, error);
    if (geteuid() != 0)
        QSKIP("another user's file and an append-only folder need root");
    QTemporaryDir dir;
    handOver(dir.path());
    const QString folder = dir.filePath("bets");
    const QString path = folder + '/' + ResultsFileName;
    QVERIFY(QDir(dir.path()).mkdir("bets"));
    const QByteArray old("\" 35\"\r\n");
    writeBytes(path, old);
    // A file of nobody's own that a link could lead the save into.
    const QString victim = dir.filePath("victim");
    writeBytes(victim, "secret");
    handOver(victim);
    const QString strayPath = folder + "/~" + ResultsFileName +
                              (stray == "running" ? ".1-1.tmp"
                               : stray == "notes" ? ".notes.tmp"
                                                  : ".7ffffff0-1.tmp");
    if (stray == "link")
        QVERIFY(QFile::link(victim, strayPath));
    else if (!stray.isEmpty() && stray != "root's")
        writeBytes(strayPath, "\" 9\"\r\n");
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    if (folderKind == "sticky") {
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 01777) == 0);
        QVERIFY(QFile::setPermissions(path, fileWritable ? all : QFile::ReadOwner));
    } else {
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            handOver(folder + '/' + name);
        handOver(folder);
        if (stray == "root's")
            writeBytes(strayPath, "\" 9\"\r\n");
        if (folderKind == "append-only" && !setAppendOnly(folder, true))
            QSKIP("this file system keeps no append-only folders");
    }

    TestSheet sheet;
    sheet.folder = folder.toStdString();
    sheet.running = " 99";
    const int status = saveUnprivileged(sheet);
    setAppendOnly(folder, false);

    QCOMPARE(status, error);
    QCOMPARE(contentsOf(path), error == 0 ? QByteArray("\" 99\"\r\n") : old);
    QCOMPARE(contentsOf(victim), QByteArray("secret"));
    QTEST(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), "left");
}

void tst_ResultsFile::writerFailingAtEachStepKeepsOldFile_data() {
    QTest::addColumn<int>("step");
    using Writers = testsupport::FailingWriters;
    QTest::newRow("opening the new file") << int(Writers::Open);
    QTest::newRow("writing") << int(Writers::Write);
    QTest::newRow("flushing") << int(Writers::Flush);
    QTest::newRow("committing the replacement") << int(Writers::Commit);
}

void tst_ResultsFile::writerFailingAtEachStepKeepsOldFile() {
    QFETCH(int, step);
    QTemporaryDir dir;
    const QByteArray old("\" 35\"\r\n");
    writeBytes(dir.filePath(ResultsFileName), old);
    TestSheet sheet;
    sheet.folder = dir.path().toStdString();
    sheet.running = " 99999";
    bool raised = false;
    try {
        testsupport::FailingWriters failing{testsupport::FailingWriters::Step(step),
                                            RuntimeError::DiskFull};
        SaveResults(sheet);
    } catch (const RuntimeError& e) {
        raised = e.number() == RuntimeError::DiskFull;
    }
    QVERIFY(raised);
    QCOMPARE(contentsOf(dir.filePath(ResultsFileName)), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{ResultsFileName}); // no half-written file left beside it
}

void tst_ResultsFile::saveKeepsWhatTheUserMade_data() {
    QTest::addColumn<QStringList>("links"); // the results file's name first, each naming the next
    QTest::addColumn<int>("mode");          // of the file they lead to
    // clang-format off
    QTest::newRow("a linked file") << QStringList{ResultsFileName} << 0640;
    QTest::newRow("two links, one in another folder") << QStringList{ResultsFileName, "real/link"} << 0644;
    QTest::newRow("a private file") << QStringList{} << 0600;
    // clang-format on
}

// Under a umask that narrows nothing: a new file made with the default permissions would show.
void tst_ResultsFile::saveKeepsWhatTheUserMade() {
    QFETCH(QStringList, links);
    QFETCH(int, mode);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("real"));
    const QString real = dir.filePath(links.isEmpty() ? ResultsFileName : "real/figures.txt");
    writeBytes(real, "\" 35\"\r\n");
    QVERIFY(::chmod(QFile::encodeName(real).constData(), mode_t(mode)) == 0);
    for (qsizetype i = 0; i < links.size(); ++i) {
        const QString to = i + 1 < links.size() ? dir.filePath(links[i + 1]) : real;
        const QString link = dir.filePath(links[i]);
        QVERIFY(QFile::link(QFileInfo(link).dir().relativeFilePath(to), link));
    }
    const mode_t mask = ::umask(0);
    SeenCalls calls;
    TestSheet sheet;
    sheet.folder = dir.path().toStdString();
    sheet.running = " 99";
    const int status = saveThrough(calls, sheet);
    ::umask(mask);

    QCOMPARE(status, 0);
    QCOMPARE(contentsOf(real), QByteArray("\" 99\"\r\n"));
    QCOMPARE(modeOf(real), S_IFREG | mode_t(mode));
    QCOMPARE(calls.madeWith, std::vector<unsigned>{unsigned(mode)});
    for (const QString& link : links)
        QVERIFY(S_ISLNK(modeOf(dir.filePath(link), false)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{ResultsFileName});
    const QStringList inReal = QStringList{"figures.txt", "link"}.mid(0, links.size());
    QCOMPARE(QDir(dir.filePath("real")).entryList(QDir::Files | QDir::Hidden | QDir::System),
             inReal);
}

void tst_ResultsFile::twoSavesIntoOneFolder_data() {
    QTest::addColumn<bool>("otherProcess"); // the held save: another window's, or this one's
    QTest::newRow("another program's save held at its rename") << true;
    QTest::newRow("a save of this program held at its rename") << false;
}

// The held save's temporary file stays while the other save runs; both go through, and the later
// rename wins.
void tst_ResultsFile::twoSavesIntoOneFolder() {
    QFETCH(bool, otherProcess);
    QTemporaryDir dir;
    TestSheet first, second;
    first.folder = second.folder = dir.path().toStdString();
    first.running = " 1";
    second.running = " 2";
    int ready[2], go[2];
    QVERIFY(::pipe(ready) == 0 && ::pipe(go) == 0);
    SeenCalls calls;
    calls.ready = ready[1];
    calls.go = go[0];
    // Through the held calls, while the other save is SaveResults' own.
    const auto held = [&] { return saveThrough(calls, first); };
    int firstStatus = -1;
    pid_t child = -1;
    std::thread thread;
    if (otherProcess && (child = ::fork()) == 0)
        ::_exit(held());
    if (!otherProcess)
        thread = std::thread([&] { firstStatus = held(); });
    char byte = 0;
    QVERIFY(::read(ready[0], &byte, 1) == 1);
    const QStringList during = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    SaveResults(second);
    QCOMPARE(contentsOf(dir.filePath(ResultsFileName)), QByteArray("\" 2\"\r\n"));
    QVERIFY(::write(go[1], "g", 1) == 1);
    if (otherProcess) {
        int status = 0;
        QVERIFY(::waitpid(child, &status, 0) == child && WIFEXITED(status));
        firstStatus = WEXITSTATUS(status);
    } else {
        thread.join();
    }
    for (const int fd : {ready[0], ready[1], go[0], go[1]})
        ::close(fd);

    QCOMPARE(during.size(), 1); // the held save's temporary file
    QCOMPARE(firstStatus, 0);
    QCOMPARE(contentsOf(dir.filePath(ResultsFileName)), QByteArray("\" 1\"\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{ResultsFileName});
}

QTEST_APPLESS_MAIN(tst_ResultsFile)
#include "tst_ResultsFile.moc"
