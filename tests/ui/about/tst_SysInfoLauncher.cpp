#include "tests/ui/about/SysInfoDoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sysinfotest;
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

QString hexList(const QByteArray& bytes) {
    QStringList items;
    for (char byte : bytes)
        items << QString::number(static_cast<unsigned char>(byte), 16);
    return "hex(1):" + items.join(',');
}

QString quoted(const QString& text) {
    return '"' + QString(text).replace('\\', "\\\\") + '"';
}

struct Setup {
    RecordingRegistry registry;
    CountingSearch search;
    RecordingLauncher launcher;
    RecordingMessages messages;
    SysInfoLauncher sysInfo{registry, search, launcher, messages};

    explicit Setup(const std::string& text, std::uint32_t granted = Registry::AllAccess)
        : registry(text, granted) {}
};

} // namespace

class tst_SysInfoLauncher : public QObject {
    Q_OBJECT
private slots:
    void startSysInfo_data();
    void startSysInfo();
    void readerWhoMayNotWriteStartsTheTool();
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

    QTest::newRow("place 1 launched unchanged")
        << quoted(blanks) << folder << tool << one << 0 << QStringList{blanks} << true;
    QTest::newRow("place 1 untested for existence")
        << quoted("C:\\Nowhere.exe") << none << "" << one << 0 << QStringList{"C:\\Nowhere.exe"}
        << false;
    QTest::newRow("place 2 holds the tool")
        << none << folder << tool << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("place 2 tool in other case")
        << none << folder << "file:msinfo32.exe" << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("place 2 without the tool")
        << none << folder << "file:X.EXE" << both << 1 << QStringList() << false;
    QTest::newRow("place 2 folder of the tool's name")
        << none << folder << "dir:MSINFO32.EXE" << both << 1 << QStringList() << false;
    QTest::newRow("PATH missing in its key")
        << QString() << folder << tool << both << 1 << QStringList{inFolder} << true;
    QTest::newRow("both missing") << none << none << "" << both << 0 << QStringList() << false;
    QTest::newRow("empty string under PATH")
        << "\"\"" << folder << tool << one << 0 << QStringList{""} << false;
    QTest::newRow("expandable string under PATH")
        << "hex(2):43,3a,00" << folder << tool << one << 0 << QStringList{""} << false;
    QTest::newRow("number under PATH")
        << "dword:0000000a" << none << "" << one << 0 << QStringList{"10"} << false;
    QTest::newRow("empty value under PATH")
        << "hex(1):" << folder << tool << one << 0 << QStringList() << false;
    QTest::newRow("too long under PATH") << hexList(QByteArray(1025, 'a')) << folder << tool << both
                                         << 1 << QStringList{inFolder} << true;
    QTest::newRow("other type under MSINFO: no search")
        << none << "hex:01"
        << "" << both << 0 << QStringList() << false;
    QTest::newRow("empty string under MSINFO: no search")
        << none << "\"\""
        << "" << both << 0 << QStringList() << false;
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
        setup.launcher.programs << started.last();
    setup.sysInfo.StartSysInfo();

    QCOMPARE(setup.registry.opened, opened);
    QCOMPARE(setup.search.searches, searches);
    QCOMPARE(setup.launcher.started, started);
    QCOMPARE(setup.launcher.styles, QList<int>(started.size(), 1));
    QCOMPARE(setup.messages.texts,
             launches ? QStringList()
                      : QStringList{"System Information Is Unavailable At This Time"});
    // Every open is followed by a close, a refused one too.
    QCOMPARE(setup.registry.closed.size(), opened.size());
    QCOMPARE(setup.registry.hive.openKeyCount(), 0);
}

void tst_SysInfoLauncher::readerWhoMayNotWriteStartsTheTool() {
    const QString tool = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    Setup setup(hive(quoted(tool), QString()), Registry::ReadAccess);
    setup.launcher.programs = {tool};
    setup.sysInfo.StartSysInfo();
    QCOMPARE(setup.registry.masks, QList<std::uint32_t>{0x20019});
    QCOMPARE(setup.launcher.started, QStringList{tool});
    QCOMPARE(setup.launcher.styles, QList<int>{1});
}

void tst_SysInfoLauncher::twoPressesStartTwoCopies() {
    const QString tool = QStringLiteral("C:\\Tools\\MSINFO32.EXE");
    Setup setup(hive(quoted(tool), QString()));
    setup.launcher.programs = {tool};
    setup.sysInfo.StartSysInfo();
    setup.sysInfo.StartSysInfo();
    QCOMPARE(setup.launcher.started, (QStringList{tool, tool}));
}

void tst_SysInfoLauncher::getKeyValue_data() {
    QTest::addColumn<QString>("data"); // null: no such key
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("after");

    const QByteArray prior("prior");
    auto bytes = [](const char* text, int size) { return QByteArray(text, size); };
    QTest::newRow("closing zero dropped")
        << hexList(bytes("abc\0", 4)) << prior << true << QByteArray("abc");
    QTest::newRow("no closing zero") << hexList("abc") << prior << true << QByteArray("abc");
    QTest::newRow("second closing zero stays")
        << hexList(bytes("ab\0\0", 4)) << prior << true << bytes("ab\0", 3);
    QTest::newRow("zero inside stays")
        << hexList(bytes("a\0b\0", 4)) << prior << true << bytes("a\0b", 3);
    QTest::newRow("1024 bytes") << hexList(QByteArray(1024, 'a')) << prior << true
                                << QByteArray(1024, 'a');
    QTest::newRow("1025 bytes") << hexList(QByteArray(1024, 'a') + '\0') << prior << false
                                << QByteArray();
    QTest::newRow("number") << "dword:12345678" << QByteArray() << true << QByteArray("305419896");
    QTest::newRow("number with top bit")
        << "dword:ffffffff" << QByteArray() << true << QByteArray("-1");
    QTest::newRow("number digits join the text held")
        << "dword:0000000a" << QByteArray("xy") << true << QByteArray("&hxy00000A");
    QTest::newRow("expandable string") << "hex(2):41,00" << prior << true << prior;
    QTest::newRow("binary") << "hex:41,42" << prior << true << prior;
    QTest::newRow("missing key") << QString() << prior << false << QByteArray();
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
    QCOMPARE(setup.registry.closed.size(), 1);
    QCOMPARE(setup.registry.hive.openKeyCount(), 0);
}

void tst_SysInfoLauncher::emptyValueIsAnErrorAfterClosingTheKey() {
    Setup setup("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=hex(1):\n");
    std::string KeyVal = "kept";
    try {
        setup.sysInfo.GetKeyValue(Registry::LocalMachine, "A", "V", KeyVal);
        QFAIL("an empty value must end in an error");
    } catch (const platform::RuntimeError& error) {
        QCOMPARE(error.number(), int(platform::RuntimeError::InvalidArgument));
    }
    QCOMPARE(KeyVal, std::string("kept"));
    QCOMPARE(setup.registry.hive.openKeyCount(), 0);
}

QTEST_GUILESS_MAIN(tst_SysInfoLauncher)
#include "tst_SysInfoLauncher.moc"
