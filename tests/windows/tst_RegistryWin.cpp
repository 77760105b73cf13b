// GetKeyValue over the system's own registry calls: the values are written with RegSetValueExA
// into a scratch key of the test's own under HKEY_CURRENT_USER and removed afterwards.
#include "tests/support/ServiceDoubles.h"
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinTestSupport.h"

#include "platform/FileSearch.h"
#include "platform/RuntimeError.h"

#include <sddl.h>

using namespace testsupport;
using namespace wintest;
using platform::Registry;

namespace {

const std::string scratchKey = "Software\\Quorvex Windows Tests";
const std::string valueName = "Value";

// The root as the program holds it: the 32-bit value of the predefined handle.
const Registry::Key currentUser = 0x80000001;

std::string dword(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// The launcher over the recording registry; the file search, launcher and messages are not
// used by GetKeyValue.
struct Reader {
    RecordingRegistry registry;
    MessageSink messages;
    SysInfoLauncher sysInfo{registry, platform::FileSearch::current(),
                            platform::ProgramLauncher::current(), messages};
};

// One open with read rights only, and the key it gave closed once, successfully.
void checkOpenedAndClosed(const RecordingRegistry& registry) {
    CHECK_EQUAL(registry.opens.size(), std::size_t(1));
    CHECK_EQUAL(registry.closes.size(), std::size_t(1));
    if (registry.opens.size() != 1 || registry.closes.size() != 1)
        return;
    CHECK_EQUAL(registry.opens[0].accessMask, std::uint32_t(0x20019));
    CHECK_EQUAL(registry.closes[0].handle, registry.opens[0].handle);
    if (registry.opens[0].code == ERROR_SUCCESS)
        CHECK_EQUAL(registry.closes[0].code, std::int32_t(ERROR_SUCCESS));
}

} // namespace

WINTEST_CASE(getKeyValueReadsWhatTheSystemStored) {
    struct Case {
        const char* name;
        std::optional<RegValue> stored; // none: the key is there, the value is not
        std::string before;
        bool result;
        std::string after;
    };
    const std::string a1023(1023, 'a'), a1024(1024, 'a');
    using namespace std::string_literals;
    const Case cases[] = {
        {"string with its closing zero", RegValue{REG_SZ, "abc\0"s}, "prior", true, "abc"},
        {"string stored without a closing zero", RegValue{REG_SZ, "abc"}, "prior", true, "abc"},
        {"zero inside a string stays", RegValue{REG_SZ, "a\0b\0"s}, "prior", true, "a\0b"s},
        {"second closing zero stays", RegValue{REG_SZ, "ab\0\0"s}, "prior", true, "ab\0"s},
        {"1024 bytes", RegValue{REG_SZ, a1023 + '\0'}, "prior", true, a1023},
        {"1025 bytes", RegValue{REG_SZ, a1024 + '\0'}, "prior", false, ""},
        {"1024 bytes of binary", RegValue{REG_BINARY, a1024}, "prior", true, "prior"},
        {"1025 bytes of binary", RegValue{REG_BINARY, a1024 + 'a'}, "prior", false, ""},
        {"number", RegValue{REG_DWORD, dword(0x12345678)}, "", true, "&h12345678"},
        {"expandable string", RegValue{REG_EXPAND_SZ, "%SystemRoot%\0"s}, "prior", true, "prior"},
        {"missing value", std::nullopt, "prior", false, ""},
    };
    for (const Case& c : cases) {
        Row row(c.name);
        ValueGuard value(HKEY_CURRENT_USER, scratchKey, valueName, c.stored);
        if (!value.ok())
            continue;
        Reader reader;
        std::string KeyVal = c.before;
        CHECK_EQUAL(reader.sysInfo.GetKeyValue(currentUser, scratchKey, valueName, KeyVal),
                    c.result);
        CHECK_EQUAL(KeyVal, c.after);
        checkOpenedAndClosed(reader.registry);
    }
    CHECK(!keyExists(HKEY_CURRENT_USER, scratchKey));
}

WINTEST_CASE(getKeyValueOfAMissingKey) {
    CHECK(!keyExists(HKEY_CURRENT_USER, scratchKey));
    Reader reader;
    std::string KeyVal = "prior";
    CHECK(!reader.sysInfo.GetKeyValue(currentUser, scratchKey, valueName, KeyVal));
    CHECK_EQUAL(KeyVal, std::string());
    checkOpenedAndClosed(reader.registry);
    CHECK_EQUAL(reader.registry.opens.at(0).code, std::int32_t(ERROR_FILE_NOT_FOUND));
}

WINTEST_CASE(emptyValueIsAnErrorAfterClosingTheKey) {
    for (const DWORD type : {DWORD(REG_SZ), DWORD(REG_BINARY)}) {
        Row row(type == REG_SZ ? "empty string" : "empty binary");
        ValueGuard value(HKEY_CURRENT_USER, scratchKey, valueName, RegValue{type, ""});
        if (!value.ok())
            continue;
        Reader reader;
        std::string KeyVal = "kept";
        try {
            reader.sysInfo.GetKeyValue(currentUser, scratchKey, valueName, KeyVal);
            CHECK(!"an empty value must end in an error");
        } catch (const platform::RuntimeError& error) {
            CHECK_EQUAL(error.number(), int(platform::RuntimeError::InvalidArgument));
        }
        CHECK_EQUAL(KeyVal, std::string("kept"));
        checkOpenedAndClosed(reader.registry);
    }
}

// A key whose rights let anyone read it and nothing more: asking for more than reading would
// be refused by the system.
WINTEST_CASE(keyThatMayOnlyBeReadIsRead) {
    HKEY key = nullptr;
    CHECK_EQUAL(::RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                LONG(ERROR_SUCCESS));
    if (!key)
        return;
    const std::string text = "C:\\Tools\\tool.exe";
    CHECK_EQUAL(::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)),
                LONG(ERROR_SUCCESS));
    // Read rights, and the right to remove the key afterwards, for everyone.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    CHECK(::ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:P(A;;KRSD;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    CHECK_EQUAL(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), LONG(ERROR_SUCCESS));
    ::LocalFree(readOnly);
    ::RegCloseKey(key);

    HKEY writable = nullptr;
    const LONG refused = ::RegOpenKeyExA(HKEY_CURRENT_USER, scratchKey.c_str(), 0,
                                         KEY_QUERY_VALUE | KEY_SET_VALUE, &writable);
    CHECK_EQUAL(refused, LONG(ERROR_ACCESS_DENIED));
    if (refused == ERROR_SUCCESS)
        ::RegCloseKey(writable);

    Reader reader;
    std::string KeyVal;
    CHECK(reader.sysInfo.GetKeyValue(currentUser, scratchKey, valueName, KeyVal));
    CHECK_EQUAL(KeyVal, text);
    checkOpenedAndClosed(reader.registry);

    CHECK_EQUAL(::RegDeleteKeyA(HKEY_CURRENT_USER, scratchKey.c_str()), LONG(ERROR_SUCCESS));
}
