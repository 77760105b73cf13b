#include "platform/nix/TextRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <sys/stat.h>

using platform::Registry;
using platform::TextRegistry;

namespace {

struct Read {
    std::int32_t code = -1;
    std::uint32_t type = 0;
    QByteArray bytes;
};

// Opens the key, reads the value and closes the key again.
Read read(Registry& registry, const std::string& key, const std::string& value) {
    Read result;
    Registry::Key handle = 0;
    result.code =
        registry.RegOpenKeyExA(Registry::LocalMachine, key, 0, Registry::ReadAccess, &handle);
    if (result.code == Registry::Success) {
        std::array<unsigned char, 1024> buffer{};
        std::uint32_t size = buffer.size();
        result.code =
            registry.RegQueryValueExA(handle, value, nullptr, &result.type, buffer.data(), &size);
        result.bytes = QByteArray(reinterpret_cast<const char*>(buffer.data()), int(size));
        registry.RegCloseKey(handle);
    }
    return result;
}

bool writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

class tst_TextRegistry : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void keys_data();
    void keys();
    void fileIsReadAtEveryOpen();
    void onlyABoundedRegularFile_data();
    void onlyABoundedRegularFile();
};

void tst_TextRegistry::values_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("type"); // 0: not there
    QTest::addColumn<QByteArray>("bytes");

    auto b = [](const char* text, int size) { return QByteArray(text, size); };
    // clang-format off
    QTest::newRow("string") << QByteArray(R"("V"="abc")") << QByteArray("V") << 1 << b("abc\0", 4);
    QTest::newRow("escapes") << QByteArray(R"("V"="C:\\a \"b\" \n")") << QByteArray("V") << 1 << b("C:\\a \"b\" \\n\0", 12);
    QTest::newRow("number") << QByteArray("\"V\"=dword:0102030a") << QByteArray("V") << 4 << b("\x0a\3\2\1", 4);
    QTest::newRow("expandable string") << QByteArray("\"V\"=hex(2):25,00") << QByteArray("V") << 2 << b("%\0", 2);
    QTest::newRow("no bytes") << QByteArray("\"V\"=hex(2):") << QByteArray("V") << 2 << QByteArray();
    QTest::newRow("bytes over two lines") << QByteArray("\"V\"=HEX(2):01,\\\n  ff") << QByteArray("V") << 2 << b("\1\xff", 2);
    QTest::newRow("name in other case") << QByteArray(R"("Path"="x")") << QByteArray("PATH") << 1 << b("x\0", 2);
    QTest::newRow("bad number skipped") << QByteArray("\"V\"=dword:123456789\n\"V\"=dword:zz") << QByteArray("V") << 0 << QByteArray();
    QTest::newRow("unclosed string skipped") << QByteArray("\"V\"=\"abc") << QByteArray("V") << 0 << QByteArray();
    QTest::newRow("line after a bad one") << QByteArray("\"V\"=hex(2):1,300\n\"W\"=\"w\"") << QByteArray("W") << 1 << b("w\0", 2);
    // clang-format on
}

void tst_TextRegistry::values() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, name);
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);

    auto registry = TextRegistry::fromText(
        ("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n" + line + "\r\n").toStdString());
    const Read result = read(registry, "SOFTWARE\\Test", name.toStdString());
    QCOMPARE(result.code, type ? Registry::Success : Registry::FileNotFound);
    if (type) {
        QCOMPARE(int(result.type), type);
        QCOMPARE(result.bytes, bytes);
    }
}

void tst_TextRegistry::keys_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<std::uint32_t>("mask");
    QTest::addColumn<int>("code");

    const QByteArray deep("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Tool]\n\"V\"=\"x\"\n");
    const QByteArray tool("SOFTWARE\\Vendor\\Tool");
    const std::uint32_t reader = Registry::ReadAccess;
    // clang-format off
    QTest::newRow("other case") << deep << QByteArray("software\\VENDOR\\tool") << reader << 0;
    QTest::newRow("start of a name") << deep << QByteArray("SOFTWARE\\Vendor\\To") << reader << 2;
    QTest::newRow("another root") << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\T]\n\"V\"=\"x\"\n") << QByteArray("T") << reader << 2;
    QTest::newRow("not an export") << deep.mid(9) << tool << reader << 2;
    QTest::newRow("write rights") << deep << tool << 0x2003Fu << 5;
    // clang-format on
}

void tst_TextRegistry::keys() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, key);
    QFETCH(std::uint32_t, mask);
    QFETCH(int, code);

    auto registry = TextRegistry::fromText(text.toStdString());
    Registry::Key handle = 1;
    QCOMPARE(registry.RegOpenKeyExA(Registry::LocalMachine, key.toStdString(), 0, mask, &handle),
             code);
    QCOMPARE(handle != 0, code == 0);
    QCOMPARE(registry.RegCloseKey(handle), code == 0 ? 0 : Registry::InvalidHandle);
}

void tst_TextRegistry::fileIsReadAtEveryOpen() {
    QTemporaryDir folder;
    const QString path = folder.filePath("registry.reg");
    TextRegistry registry(path.toStdString());
    QCOMPARE(read(registry, "A", "V").code, Registry::FileNotFound);
    QVERIFY(writeFile(path, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"old\"\n"));
    QCOMPARE(read(registry, "A", "V").bytes, QByteArray("old", 4));
    QVERIFY(writeFile(path, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"new\"\n"));
    QCOMPARE(read(registry, "A", "V").bytes, QByteArray("new", 4));
    // A folder in the file's place is an empty registry, not a failure.
    TextRegistry folderAsFile(folder.path().toStdString());
    QCOMPARE(read(folderAsFile, "A", "V").code, Registry::FileNotFound);
}

void tst_TextRegistry::onlyABoundedRegularFile_data() {
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<int>("size"); // of the file, the value's lines padded with blank lines
    QTest::addColumn<bool>("readable");
    const int most = int(TextRegistry::maxFileBytes);
    // clang-format off
    QTest::newRow("largest file") << false << most << true;
    QTest::newRow("one byte more") << false << most + 1 << false;
    QTest::newRow("a pipe") << true << 0 << false;
    // clang-format on
}

// Nothing else under the name is waited on, and nothing larger is read in part.
void tst_TextRegistry::onlyABoundedRegularFile() {
    QFETCH(bool, pipe);
    QFETCH(int, size);
    QFETCH(bool, readable);
    QTemporaryDir folder;
    const QString path = folder.filePath("registry.reg");
    const QByteArray entry = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"V\"=\"x\"\n";
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(writeFile(path, entry + QByteArray(size - entry.size(), '\n')));
    TextRegistry registry(path.toStdString());
    QCOMPARE(read(registry, "A", "V").code, readable ? Registry::Success : Registry::FileNotFound);
}

QTEST_GUILESS_MAIN(tst_TextRegistry)
#include "tst_TextRegistry.moc"
