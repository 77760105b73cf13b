#include "platform/Files.h"
#include "platform/RuntimeError.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using platform::RuntimeError;

namespace {

class TestSheet : public ResultsSheet {
public:
    QString folder;
    QString running;
    QString previous = QStringLiteral("0.00");
    QString resultsFolder() override { return folder; }
    QString runningTotal() override { return running; }
    void setPreviousTotal(const QString& text) override { previous = text; }
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

enum Step { Open, Write, Flush, Commit };

// Wraps the real writer and fails at one step instead of doing it.
class FailingWriter : public platform::FileWriter {
public:
    explicit FailingWriter(Step failAt)
        : m_failAt(failAt), m_real(platform::makeSafeFileWriter()) {}
    void open(const QString& path) override {
        failIf(Open);
        m_real->open(path);
    }
    void write(const QByteArray& bytes) override {
        failIf(Write);
        // A part of the line reaches the new file before the disk fills up.
        m_real->write(bytes.left(2));
        if (m_failAt != Write)
            m_real->write(bytes.mid(2));
    }
    void flush() override {
        failIf(Flush);
        m_real->flush();
    }
    void commit() override {
        failIf(Commit);
        m_real->commit();
    }

private:
    void failIf(Step step) {
        if (step == m_failAt && step != Write)
            throw RuntimeError::of(RuntimeError::DiskFull);
        if (step == Write && m_failAt == Write) {
            m_real->write("\" 9");
            throw RuntimeError::of(RuntimeError::DiskFull);
        }
    }
    Step m_failAt;
    std::unique_ptr<platform::FileWriter> m_real;
};

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
    void writerFailingAtEachStepKeepsOldFile_data();
    void writerFailingAtEachStepKeepsOldFile();
};

void tst_ResultsFile::firstItem_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quoted with leading blank") << QByteArray("\" 35\"\r\n") << " 35";
    QTest::newRow("unquoted with comma") << QByteArray("12.5,7") << "12.5";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("blanks before quoted") << QByteArray("   \"-10\"\r\n") << "-10";
    QTest::newRow("unquoted trimmed") << QByteArray("  42  \r\nrest") << "42";
    QTest::newRow("only the first line") << QByteArray("\"1\"\r\n\"2\"\r\n") << "1";
    QTest::newRow("quoted keeps comma") << QByteArray("\"1,5\"") << "1,5";
    QTest::newRow("unterminated quote ends with line") << QByteArray("\"12\r\nx") << "12";
    QTest::newRow("empty quoted") << QByteArray("\"\"\r\n") << "";
    QTest::newRow("utf-8") << QByteArray("\"\xc2\xa3"
                                         "5\"\r\n")
                           << QString::fromUtf8("\xc2\xa3"
                                                "5");
    QTest::newRow("not utf-8 still reads")
        << QByteArray("\"\xff\xfe 1\"") << QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd 1");
    QTest::newRow("line feed only") << QByteArray("7\n8") << "7";
}

void tst_ResultsFile::firstItem() {
    QFETCH(QByteArray, contents);
    QTEST(::firstItem(contents), "expected");
}

void tst_ResultsFile::lineBytes_data() {
    QTest::addColumn<QString>("running");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("blank and 35") << " 35"
                                  << QByteArray::fromHex("2220333522"
                                                         "0d0a");
    QTest::newRow("letters") << "abc" << QByteArray("\"abc\"\r\n");
    QTest::newRow("empty") << "" << QByteArray("\"\"\r\n");
    QTest::newRow("pound sign as utf-8") << QString::fromUtf8("\xc2\xa3"
                                                              "5")
                                         << QByteArray("\"\xc2\xa3"
                                                       "5\"\r\n");
}

void tst_ResultsFile::lineBytes() {
    QFETCH(QString, running);
    QTEST(resultsLine(running), "bytes");
}

void tst_ResultsFile::pathAlwaysInsertsBackslash_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("native");
    QTest::newRow("drive root") << "c:\\"
                                << "c:\\\\quorvexresults.txt"
                                << "/quorvexresults.txt";
    QTest::newRow("folder") << "/home/me/bets"
                            << "/home/me/bets\\quorvexresults.txt"
                            << "/home/me/bets/quorvexresults.txt";
    QTest::newRow("drive folder") << "D:\\Bets"
                                  << "D:\\Bets\\quorvexresults.txt"
                                  << "/Bets/quorvexresults.txt";
    QTest::newRow("empty folder") << ""
                                  << "\\quorvexresults.txt"
                                  << "/quorvexresults.txt";
}

void tst_ResultsFile::pathAlwaysInsertsBackslash() {
    QFETCH(QString, folder);
    TestSheet sheet;
    sheet.folder = folder;
    const QString path = ResultsFilePath(sheet);
    QTEST(path, "path");
    QTEST(platform::nativeFilePath(path), "native");
}

void tst_ResultsFile::loadsWhatIsThere_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("previous");
    QTest::newRow("no file") << false << QByteArray() << "";
    QTest::newRow("empty file") << true << QByteArray() << "";
    QTest::newRow("quoted") << true << QByteArray("\" 35\"\r\n") << " 35";
    QTest::newRow("unquoted") << true << QByteArray("12.5,7") << "12.5";
}

void tst_ResultsFile::loadsWhatIsThere() {
    QFETCH(bool, exists);
    QFETCH(QByteArray, contents);
    QTemporaryDir dir;
    TestSheet sheet;
    sheet.folder = dir.path();
    if (exists)
        writeBytes(dir.filePath("quorvexresults.txt"), contents);
    LoadPreviousTotal(sheet);
    QTEST(sheet.previous, "previous");
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
    sheet.folder = dir.path();
    sheet.running = running;
    SaveResults(sheet);
    QCOMPARE(contentsOf(dir.filePath("quorvexresults.txt")), resultsLine(running));
    LoadPreviousTotal(sheet);
    QCOMPARE(sheet.previous, running);
}

void tst_ResultsFile::secondSaveReplacesFirst() {
    QTemporaryDir dir;
    TestSheet sheet;
    sheet.folder = dir.path();
    sheet.running = " 123.5";
    SaveResults(sheet);
    sheet.running = "-7";
    SaveResults(sheet);
    QCOMPARE(contentsOf(dir.filePath("quorvexresults.txt")), QByteArray("\"-7\"\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"quorvexresults.txt"});
}

void tst_ResultsFile::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("folderInside"); // relative to a temporary folder
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("needsNonRoot");
    QTest::newRow("missing folder") << "missing/deeper" << int(RuntimeError::PathNotFound) << false;
    QTest::newRow("path through a file") << "plainfile" << int(RuntimeError::PathNotFound) << false;
    QTest::newRow("folder without write permission")
        << "readonly" << int(RuntimeError::PermissionDenied) << true;
}

void tst_ResultsFile::failedSaveKeepsOldFile() {
    QFETCH(QString, folderInside);
    QFETCH(int, error);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && geteuid() == 0)
        QSKIP("root writes into any folder");
    QTemporaryDir dir;
    writeBytes(dir.filePath("plainfile"), "x");
    QVERIFY(QDir(dir.path()).mkdir("readonly"));
    const QByteArray old("\" 35\"\r\n");
    writeBytes(dir.filePath("readonly/quorvexresults.txt"), old);
    QFile::setPermissions(dir.filePath("readonly"), QFile::ReadOwner | QFile::ExeOwner);

    TestSheet sheet;
    sheet.folder = dir.filePath(folderInside);
    sheet.running = " 99";
    try {
        SaveResults(sheet);
        QFAIL("no error raised");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
    QCOMPARE(contentsOf(dir.filePath("readonly/quorvexresults.txt")), old);
    QFile::setPermissions(dir.filePath("readonly"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_ResultsFile::writerFailingAtEachStepKeepsOldFile_data() {
    QTest::addColumn<int>("step");
    QTest::newRow("opening the new file") << int(Open);
    QTest::newRow("writing") << int(Write);
    QTest::newRow("flushing") << int(Flush);
    QTest::newRow("committing the replacement") << int(Commit);
}

void tst_ResultsFile::writerFailingAtEachStepKeepsOldFile() {
    QFETCH(int, step);
    QTemporaryDir dir;
    const QByteArray old("\" 35\"\r\n");
    writeBytes(dir.filePath("quorvexresults.txt"), old);
    const auto previous =
        platform::replaceFileWriter([step] { return std::make_unique<FailingWriter>(Step(step)); });

    TestSheet sheet;
    sheet.folder = dir.path();
    sheet.running = " 99999";
    bool raised = false;
    try {
        SaveResults(sheet);
    } catch (const RuntimeError& e) {
        raised = e.number() == RuntimeError::DiskFull;
    }
    platform::replaceFileWriter(previous);
    QVERIFY(raised);
    QCOMPARE(contentsOf(dir.filePath("quorvexresults.txt")), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"quorvexresults.txt"}); // no half-written file left beside it
}

QTEST_APPLESS_MAIN(tst_ResultsFile)
#include "tst_ResultsFile.moc"
