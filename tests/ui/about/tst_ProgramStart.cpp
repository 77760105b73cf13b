#include "tests/ui/about/SysInfoDoubles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::RuntimeError;

namespace {

// The path as the program writes it: backslashes, and a drive where this system has none.
QString programForm(const QString& path) {
    const QString text = QDir::fromNativeSeparators(path).replace('/', '\\');
    return text.startsWith('\\') ? "c:" + text : text;
}

// A file; a program when given a script, which leaves the marker file when it runs.
bool makeFile(const QString& path, const QString& marker = {}, const QByteArray& body = {}) {
    QFile file(path);
    const QByteArray text =
        marker.isNull() ? body : "#!/bin/sh\n" + body + "touch '" + marker.toUtf8() + "'\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return false;
    file.close();
    return marker.isNull() || file.setPermissions(file.permissions() | QFile::ExeOwner);
}

void start(const QString& path) {
    platform::ProgramLauncher::current().startProgram(path.toStdString(), 1);
}

} // namespace

class tst_ProgramStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void findOrdinaryFile_data();
    void findOrdinaryFile();
    void failedStarts_data();
    void failedStarts();
    void pathWithBlanksStartsThatProgram();
    void startDoesNotWait();
    void toolInRegisteredFolderStarts();
};

void tst_ProgramStart::initTestCase() {
#ifdef _WIN32
    QSKIP("The programs started here are shell scripts.");
#endif
}

void tst_ProgramStart::findOrdinaryFile_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");

    const QString tool = QStringLiteral("MSINFO32.EXE"), lower = QStringLiteral("msinfo32.exe");
    QTest::newRow("exact name") << QStringList{tool} << "" << tool << tool;
    QTest::newRow("other case") << QStringList{lower} << "" << tool << lower;
    QTest::newRow("exact spelling first") << QStringList{lower, tool} << "" << tool << tool;
    QTest::newRow("folder of that name") << QStringList() << tool << tool << "";
    QTest::newRow("hidden file") << QStringList{".tool"} << ""
                                 << ".tool"
                                 << "";
    QTest::newRow("start of a name") << QStringList{tool} << ""
                                     << "MSINFO32"
                                     << "";
    QTest::newRow("no wildcards") << QStringList{tool} << ""
                                  << "*.EXE"
                                  << "";
}

void tst_ProgramStart::findOrdinaryFile() {
    QFETCH(QStringList, files);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, found);

    QTemporaryDir temporary;
    for (const QString& file : files)
        QVERIFY(makeFile(temporary.filePath(file)));
    if (!folder.isEmpty())
        QVERIFY(QDir(temporary.path()).mkdir(folder));
    const std::string path = (programForm(temporary.path()) + '\\' + name).toStdString();
    QCOMPARE(sysinfotest::q(platform::FileSearch::current().findOrdinaryFile(path)), found);
}

void tst_ProgramStart::failedStarts_data() {
    QTest::addColumn<QString>("entry"); // in the temporary folder; null: the empty path
    QTest::addColumn<int>("error");

    QTest::newRow("empty path") << QString() << int(RuntimeError::InvalidArgument);
    QTest::newRow("nothing there") << "missing" << int(RuntimeError::FileNotFound);
    QTest::newRow("not executable") << "plain" << int(RuntimeError::PermissionDenied);
    QTest::newRow("a folder") << "sub" << int(RuntimeError::PermissionDenied);
}

void tst_ProgramStart::failedStarts() {
    QFETCH(QString, entry);
    QFETCH(int, error);

    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("plain"), {}, "#!/bin/sh\n"));
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    try {
        start(entry.isNull() ? QString() : programForm(folder.filePath(entry)));
        QFAIL("the start must fail");
    } catch (const RuntimeError& caught) {
        QCOMPARE(caught.number(), error);
    }
}

void tst_ProgramStart::pathWithBlanksStartsThatProgram() {
    // "Program" is what a launcher that reads the path as a command line would start.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("Program Files/Tool"));
    QVERIFY(makeFile(folder.filePath("Program"), folder.filePath("wrong ran")));
    QVERIFY(makeFile(folder.filePath("Program Files/Tool/tool"), folder.filePath("tool ran")));

    start(programForm(folder.filePath("Program Files/Tool/tool")));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("tool ran")), 10000);
    QVERIFY(!QFile::exists(folder.filePath("wrong ran")));
}

void tst_ProgramStart::startDoesNotWait() {
    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("slow"), folder.filePath("done"), "sleep 3\n"));
    QElapsedTimer timer;
    timer.start();
    start(programForm(folder.filePath("slow")));
    QVERIFY2(timer.elapsed() < 2000, "the start waited for the program");
}

void tst_ProgramStart::toolInRegisteredFolderStarts() {
    // The whole road with this system's registry file, file search and launcher; the tool's
    // name on disk is in lower case.
    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("msinfo32.exe"), folder.filePath("ran")));
    const QString registryFile = folder.filePath("registry.reg");
    QVERIFY(makeFile(registryFile, {},
                     "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools "
                     "Location]\n\"MSINFO\"=\"" +
                         programForm(folder.path()).replace('\\', "\\\\").toUtf8() + "\"\n"));
    platform::TextRegistry registry(registryFile.toStdString());
    sysinfotest::RecordingMessages messages;
    SysInfoLauncher(registry, platform::FileSearch::current(), platform::ProgramLauncher::current(),
                    messages)
        .StartSysInfo();
    QVERIFY(messages.texts.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("ran")), 10000);
}

QTEST_GUILESS_MAIN(tst_ProgramStart)
#include "tst_ProgramStart.moc"
