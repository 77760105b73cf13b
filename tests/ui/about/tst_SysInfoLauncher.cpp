#include "platform/nix/TextRegistry.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;
using platform::Registry;

namespace {

const QString toolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString folderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// The two places with the given data; a null text leaves that key out.
std::string hive(const QString& pathData, const QString& folderData) {
    QString text = QStringLiteral("REGEDIT4\n");
    if (!pathData.isNull())
        text += "[HKEY_LOCAL_MACHINE\\" + toolKey + "]\n\"PATH\"=" + pathData + "\n";
    if (!folderData.isNull())
        text += "[HKEY_LOCAL_MACHINE\\" + folderKey + "]\n\"MSINFO\"=" + folderData + "\n";
    return text.toStdString();
}

QString quoted(const QString& text) {
    return '"' + QString(text).replace('\\', "\\\\") + '"';
}

struct Setup {
    platform::TextRegistry hive;
    RecordingRegistry registry{hive};
    CountingSearch search;
    RecordingLauncher launcher;
    MessageSink messages;
    SysInfoLauncher sysInfo{registry, search, launcher, messages};

    explicit Setup(const std::string& text) : hive(platform::TextRegistry::fromText(text)) {}
};

} // namespace

class tst_SysInfoLauncher : public QObject {
    Q_OBJECT
private slots:
    void startSysInfo_data();
    void startSysInfo();
    void twoPressesStartTwoCopies();
    void getKeyValue_data();
    void getKeyValue();
    void emptyValueIsAnErrorAfterClosingTheKey();
};

void tst_SysInfoLauncher::startSysInfo_data() {
    QTest::addColumn<QString>("pathData");
    QTest::addColumn<QString>("folderData"); // <folder>: the temporary folder
    QTest::addColumn<QString>("entry");      // in the folder: file:NAME or dir:NAME
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("searches");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<bool>("launches"); // the last path started names a program

    const QString none, folder = QStringLiteral("\"<folder>\""),
                        tool = QStringLiteral("file:MSINFO32.EXE");
    const QString blanks = QStringLiteral("C:\\Program Files\\Tool\\MSINFO32.EXE");
    const QString inFolder = QStringLiteral("<folder>\\MSINFO32.EXE");
    const QStringList one{toolKey}, both{toolKey, folderKey};

    // clang-format off
    QTest::newRow("place 1 launched unchanged") << quoted(blanks) << folder << tool << one << 0 << QStringList{blanks} << true;
    QTest::newRow("place 1 untested for existence") << quoted("C:\\Nowhere.exe") << none << "" << one << 0 << QStringList{"C:\\Nowhere.exe"} << false;
    QTest::newRow("place 2 holds the tool") << none << folder << tool << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("place 2 tool in other case") << none << folder << "file:msinfo32.exe" << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("place 2 without the tool") << none << folder << "file:X.EXE" << both << 1 << QStringList() << false;
    QTest::newRow("place 2 folder of the tool's name") << none << folder << "dir:MSINFO32.EXE" << both << 1 << QStringList() << false;
    QTest::newRow("PATH missing in its key") << QString() << folder << tool << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("both missing") << none << none << "" << both << 0 << QStringList() << false;
    QTest::newRow("empty string under PATH") << "\"\"" << folder << tool << one << 0 << QStringList{""} << false;
    QTest::newRow("expandable string under PATH") << "hex(2):43,3a,00" << folder << tool << one << 0 << QStringList{""} << false;
    QTest::newRow("number under PATH") << "dword:0000000a" << none << "" << one << 0 << QStringList{"&h00000A"} << false;
    QTest::newRow("empty value under PATH") << "hex(2):" << folder << tool << one << 0 << QStringList() << false;
    QTest::newRow("too long under PATH") << quoted(QString(1024, 'a')) << folder << tool << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("other type under MSINFO: no search") << none << "hex(2):43,3a,00" << "" << both << 0 << QStringList() << false;
    QTest::newRow("empty string under MSINFO: no search") << none << "\"\"" << "" << both << 0 << QStringList() << false;
    // clang-format on
}

void tst_SysInfoLauncher::startSysInfo() {
    QFETCH(QString, pathData);
    QFETCH(QString, folderData);
    QFETCH(QString, entry);
    QFETCH(QStringList, opened);
    QFETCH(int, searches);
    QFETCH(QStringList, started);
    QFETCH(bool, launches);

    QTemporaryDir folder;
    if (entry.startsWith("file:"))
        QVERIFY(QFile(folder.filePath(entry.mid(5))).open(QIODevice::WriteOnly));
    else if (entry.startsWith("dir:"))
        QVERIFY(QDir(folder.path()).mkdir(entry.mid(4)));
    // The folder as the program writes paths, with backslashes.
    const QString folderText = QDir::fromNativeSeparators(folder.path()).replace('/', '\\');
    folderData.replace("\"<folder>\"", quoted(folderText));
    started.replaceInStrings("<folder>", folderText);

    Setup setup(hive(pathData, folderData));
    if (launches)
        setup.launcher.programs.insert(started.last().toStdString());
    setup.sysInfo.StartSysInfo();

    QCOMPARE(toQt(setup.registry.openedKeys()), opened);
    QCOMPARE(setup.search.searches, searches);
    QCOMPARE(toQt(setup.launcher.paths), started);
    QCOMPARE(setup.launcher.styles, std::vector<int>(std::size_t(started.size()), 1));
    QCOMPARE(toQt(setup.messages.texts),
             launches ? QStringList()
                      : QStringList{"System Information Is Unavailable At This Time"});
    // Every open is followed by a close, a refused one too.
    QCOMPARE(qsizetype(setup.registry.closes.size()), opened.size());
    QCOMPARE(setup.hive.openKeyCount(), 0);
}

void tst_SysInfoLauncher::twoPressesStartTwoCopies() {
    const QString tool = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    Setup setup(hive(quoted(tool), QString()));
    setup.launcher.programs = {tool.toStdString()};
    setup.sysInfo.StartSysInfo();
    setup.sysInfo.StartSysInfo();
    QCOMPARE(toQt(setup.launcher.paths), (QStringList{tool, tool}));
}

void tst_SysInfoLauncher::getKeyValue_data() {
    QTest::addColumn<QString>("data"); // null: no such key
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("after");

    // Zeros inside a value and one without its closing zero cannot be written as a string
    // here; the Windows tests read those from the system's registry.
    const QByteArray prior("prior");
    const QString a1023(1023, 'a');
    // clang-format off
    QTest::newRow("closing zero dropped") << quoted("abc") << prior << true << QByteArray("abc");
    QTest::newRow("1024 bytes") << quoted(a1023) << prior << true << a1023.toUtf8();
    QTest::newRow("1025 bytes") << quoted(a1023 + 'a') << prior << false << QByteArray();
    QTest::newRow("number") << "dword:12345678" << QByteArray() << true << QByteArray("&h12345678");
    QTest::newRow("number digits join the text held") << "dword:0000000a" << QByteArray("xy") << true << QByteArray("&hxy00000A");
    QTest::newRow("expandable string") << "hex(2):41,00" << prior << true << prior;
    QTest::newRow("missing key") << QString() << prior << false << QByteArray();
    // clang-format on
}

void tst_SysInfoLauncher::getKeyValue() {
    QFETCH(QString, data);
    QFETCH(QByteArray, before);
    QFETCH(bool, result);
    QFETCH(QByteArray, after);

    Setup setup(data.isNull() ? "REGEDIT4\n"
                              : "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\n\"Value\"=" +
                                    data.toStdString() + "\n");
    std::string KeyVal = before.toStdString();
    QCOMPARE(setup.sysInfo.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Test", "Value", KeyVal),
             result);
    QCOMPARE(QByteArray::fromStdString(KeyVal), after);
    QCOMPARE(setup.registry.closes.size(), std::size_t(1));
    QCOMPARE(setup.hive.openKeyCount(), 0);
}

void tst_SysInfoLauncher::emptyValueIsAnErrorAfterClosingTheKey() {
    Setup setup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=hex(2):\n");
    std::string KeyVal = "kept";
    try {
        setup.sysInfo.GetKeyValue(Registry::LocalMachine, "A", "V", KeyVal);
        QFAIL("an empty value must end in an error");
    } catch (const platform::RuntimeError& error) {
        QCOMPARE(error.number(), int(platform::RuntimeError::InvalidArgument));
    }
    QCOMPARE(KeyVal, std::string("kept"));
    QCOMPARE(setup.hive.openKeyCount(), 0);
}

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_SysInfoLauncher.moc"
