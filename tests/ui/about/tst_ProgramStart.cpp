#include "platform/nix/TextRegistry.h"
#include "tests/support/ServiceDoubles.h"

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

// Starts the text with "<dir>" standing for the folder given in the program's form.
void start(QByteArray text, const QString& folder = {}) {
    text.replace("<dir>", programForm(folder).toUtf8());
    platform::ProgramLauncher::current().startProgram(text.toStdString(), 1);
}

} // namespace

class tst_ProgramStart : public QObject {
    Q_OBJECT
private slots:
    void findOrdinaryFile_data();
    void findOrdinaryFile();
    void failedStarts_data();
    void failedStarts();
    void startsTheProgramTheTextNames_data();
    void startsTheProgramTheTextNames();
    void startDoesNotWait();
    void registeredToolStarts_data();
    void registeredToolStarts();
};

void tst_ProgramStart::findOrdinaryFile_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");

    const QString tool = QStringLiteral("MSINFO32.EXE"), lower = QStringLiteral("msinfo32.exe");
    // clang-format off
    QTest::newRow("exact name") << QStringList{tool} << "" << tool << tool;
    QTest::newRow("other case") << QStringList{lower} << "" << tool << lower;
    QTest::newRow("exact spelling first") << QStringList{lower, tool} << "" << tool << tool;
    QTest::newRow("folder of that name") << QStringList() << tool << tool << "";
    QTest::newRow("hidden file") << QStringList{".tool"} << "" << ".tool" << "";
    QTest::newRow("start of a name") << QStringList{tool} << "" << "MSINFO32" << "";
    QTest::newRow("no wildcards") << QStringList{tool} << "" << "*.EXE" << "";
    // clang-format on
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
    QCOMPARE(QString::fromStdString(platform::FileSearch::current().findOrdinaryFile(path)), found);
}

void tst_ProgramStart::failedStarts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("error");

    using namespace Qt::StringLiterals;
    // clang-format off
    QTest::newRow("empty path") << ""_ba << int(RuntimeError::InvalidArgument);
    QTest::newRow("only quotes") << "\"\""_ba << int(RuntimeError::InvalidArgument);
    QTest::newRow("zero first") << "\0<dir>\\tool"_ba << int(RuntimeError::InvalidArgument);
    QTest::newRow("two pairs of quotes") << "\"\"<dir>\\tool\"\""_ba << int(RuntimeError::FileNotFound);
    QTest::newRow("nothing there") << "<dir>\\missing"_ba << int(RuntimeError::FileNotFound);
    QTest::newRow("not executable") << "<dir>\\plain"_ba << int(RuntimeError::PermissionDenied);
    QTest::newRow("a folder") << "<dir>\\sub"_ba << int(RuntimeError::PermissionDenied);
    // clang-format on
}

void tst_ProgramStart::failedStarts() {
    QFETCH(QByteArray, text);
    QFETCH(int, error);

    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("tool"), folder.filePath("ran")));
    QVERIFY(makeFile(folder.filePath("plain"), {}, "#!/bin/sh\n"));
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    try {
        start(text, folder.path());
        QFAIL("the start must fail");
    } catch (const RuntimeError& caught) {
        QCOMPARE(caught.number(), error);
    }
}

void tst_ProgramStart::startsTheProgramTheTextNames_data() {
    QTest::addColumn<QByteArray>("text");

    using namespace Qt::StringLiterals;
    const QByteArray tool = "<dir>\\Program Files\\Tool\\tool"_ba;
    QTest::newRow("path with blanks") << tool;
    QTest::newRow("in quotes") << '"' + tool + '"';
    // A string stored with two closing zero bytes reads back with one.
    QTest::newRow("a closing zero") << tool + '\0';
    QTest::newRow("in quotes, then a zero and more") << '"' + tool + '"' + '\0' + "\\x";
}

void tst_ProgramStart::startsTheProgramTheTextNames() {
    QFETCH(QByteArray, text);

    // "Program" is what a launcher that reads the path as a command line would start.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("Program Files/Tool"));
    QVERIFY(makeFile(folder.filePath("Program"), folder.filePath("wrong ran")));
    QVERIFY(makeFile(folder.filePath("Program Files/Tool/tool"), folder.filePath("tool ran")));

    QVERIFY_THROWS_NO_EXCEPTION(start(text, folder.path()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("tool ran")), 10000);
    QVERIFY(!QFile::exists(folder.filePath("wrong ran")));
}

void tst_ProgramStart::startDoesNotWait() {
    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("slow"), folder.filePath("done"), "sleep 3\n"));
    QElapsedTimer timer;
    timer.start();
    start("<dir>\\slow", folder.path());
    QVERIFY2(timer.elapsed() < 2000, "the start waited for the program");
}

void tst_ProgramStart::registeredToolStarts_data() {
    QTest::addColumn<QByteArray>("entry"); // the registry's lines, "<dir>" for the folder
    QTest::addColumn<bool>("starts");

    using namespace Qt::StringLiterals;
    // clang-format off
    QTest::newRow("folder, the tool's name in lower case") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n" "\"MSINFO\"=\"<dir>\"\n"_ba << true;
    QTest::newRow("path in quotes") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared " "Tools\\MSINFO]\n\"PATH\"=\"\\\"<dir>\\\\msinfo32.exe\\\"\"\n"_ba << true;
    QTest::newRow("path in other case, launched as written") << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared " "Tools\\MSINFO]\n\"PATH\"=\"<dir>\\\\MSINFO32.EXE\"\n"_ba << false;
    // clang-format on
}

void tst_ProgramStart::registeredToolStarts() {
    QFETCH(QByteArray, entry);
    QFETCH(bool, starts);

    // The whole road with this system's registry file, file search and launcher.
    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath("msinfo32.exe"), folder.filePath("ran")));
    const QString registryFile = folder.filePath("registry.reg");
    entry.replace("<dir>", programForm(folder.path()).replace('\\', "\\\\").toUtf8());
    QVERIFY(makeFile(registryFile, {}, "REGEDIT4\n" + entry));
    platform::TextRegistry registry(registryFile.toStdString());
    testsupport::MessageSink messages;
    SysInfoLauncher(registry, platform::FileSearch::current(), platform::ProgramLauncher::current(),
                    messages)
        .StartSysInfo();
    QCOMPARE(messages.texts.empty(), starts);
    if (starts)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath("ran")), 10000);
}

QTEST_GUILESS_MAIN(tst_ProgramStart)
#include "tst_ProgramStart.moc"
