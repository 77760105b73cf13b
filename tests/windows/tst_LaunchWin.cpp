// The system information launcher over the system's registry, file search and CreateProcess:
// the tests register programs under HKEY_LOCAL_MACHINE, plant copies of the marker program
// under C:\ and put everything back afterwards. They are meant for a Wine prefix of their own,
// as scripts/test-windows makes one.
#include "tests/support/ServiceDoubles.h"
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinTestSupport.h"

#include "platform/FileSearch.h"
#include "platform/RuntimeError.h"

#include <cstdio>

using namespace testsupport;
using namespace wintest;
using platform::RuntimeError;

namespace {

const std::string toolFolder = "C:\\Program Files\\Quorvex Test Tool";
const std::string tool = toolFolder + "\\MSINFO32.EXE";
// What a launcher that reads the tool's path as a command line would start instead.
const std::string decoy = "C:\\Program.exe";
const char* const unavailable = "System Information Is Unavailable At This Time";

std::optional<RegValue> text(const std::optional<std::string>& value) {
    if (!value)
        return std::nullopt;
    return RegValue{REG_SZ, *value + '\0'};
}

// The marker's text for a program started as the launcher starts one: its own quoted path as
// the command line, and the normal window style.
std::string startedAsTheLauncherDoes(const std::string& path) {
    return '"' + path + "\"\n1\n";
}

struct Launch {
    RecordingLauncher launcher{&platform::ProgramLauncher::current()};
    MessageSink messages;
    SysInfoLauncher sysInfo{platform::Registry::current(), platform::FileSearch::current(),
                            launcher, messages};
};

// A folder of its own under the temporary folder, removed with what is in it.
class ScratchFolder {
public:
    ScratchFolder() {
        char temporary[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temporary);
        m_path = std::string(temporary) + "Quorvex Search Test";
        CHECK(::CreateDirectoryA(m_path.c_str(), nullptr));
    }
    ~ScratchFolder() {
        for (const std::string& entry : m_entries) {
            const std::string path = m_path + "\\" + entry;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!::DeleteFileA(path.c_str()))
                ::RemoveDirectoryA(path.c_str());
        }
        CHECK(::RemoveDirectoryA(m_path.c_str()));
    }
    const std::string& path() const { return m_path; }
    void addFile(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::string path = m_path + "\\" + name;
        HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        CHECK(file != INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
        if (attributes != FILE_ATTRIBUTE_NORMAL)
            CHECK_EQUAL(::GetFileAttributesA(path.c_str()) & attributes, attributes);
        m_entries.push_back(name);
    }
    void addFolder(const std::string& name) {
        CHECK(::CreateDirectoryA((m_path + "\\" + name).c_str(), nullptr));
        m_entries.push_back(name);
    }

private:
    std::string m_path;
    std::vector<std::string> m_entries;
};

} // namespace

WINTEST_CASE(startSysInfo) {
    struct Case {
        const char* name;
        std::optional<std::string> path;   // place 1: the tool's path
        std::optional<std::string> folder; // place 2: the folder holding MSINFO32.EXE
        bool toolThere;
        bool toolRuns;
    };
    const Case cases[] = {
        {"place 1, a path with blanks", tool, std::nullopt, true, true},
        {"place 1 in quotes", '"' + tool + '"', std::nullopt, true, true},
        // The path as read keeps one zero character at its end.
        {"place 1 stored with two closing zeros", tool + '\0', std::nullopt, true, true},
        {"place 2, a folder with blanks", std::nullopt, toolFolder, true, true},
        {"place 1 names nothing: no other program", tool, std::nullopt, false, false},
        {"place 2 without the tool", std::nullopt, toolFolder, false, false},
        {"neither place", std::nullopt, std::nullopt, true, false},
    };
    for (const Case& c : cases) {
        Row row(c.name);
        PlantedProgram wrong(decoy);
        std::optional<PlantedProgram> planted;
        if (c.toolThere)
            planted.emplace(tool);
        ValueGuard path(HKEY_LOCAL_MACHINE, SysInfoLauncher::ToolKey, "PATH", text(c.path));
        ValueGuard folder(HKEY_LOCAL_MACHINE, SysInfoLauncher::FolderKey, "MSINFO", text(c.folder));
        if (!wrong.ok() || (planted && !planted->ok()) || !path.ok() || !folder.ok())
            continue;

        Launch launch;
        launch.sysInfo.StartSysInfo();
        if (c.toolRuns) {
            CHECK(launch.messages.texts.empty());
            const auto marker = waitForMarker(planted->markerPath(), 10000);
            CHECK(marker.has_value());
            CHECK_EQUAL(marker.value_or("did not run"), startedAsTheLauncherDoes(tool));
        } else {
            CHECK_EQUAL(launch.messages.texts, std::vector<std::string>{unavailable});
            CHECK(launch.launcher.started.empty());
        }
        CHECK(!fileExists(wrong.markerPath()));
    }
}

WINTEST_CASE(failedStarts) {
    struct Case {
        const char* name;
        std::string path;
        int error;
    };
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const Case cases[] = {
        {"empty path", "", RuntimeError::InvalidArgument},
        {"only quotes", "\"\"", RuntimeError::InvalidArgument},
        {"two pairs of quotes", "\"\"" + tool + "\"\"", RuntimeError::FileNotFound},
        {"nothing there", toolFolder + "\\Missing.exe", RuntimeError::FileNotFound},
        {"no folder there", "C:\\Quorvex Missing\\tool.exe", RuntimeError::FileNotFound},
        {"not a program", std::string(windows) + "\\win.ini", RuntimeError::InvalidArgument},
    };
    for (const Case& c : cases) {
        Row row(c.name);
        try {
            platform::ProgramLauncher::current().startProgram(c.path, 1);
            CHECK(!"the start must fail");
        } catch (const RuntimeError& error) {
            CHECK_EQUAL(error.number(), c.error);
        }
    }
}

WINTEST_CASE(findOrdinaryFile) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        DWORD attributes;
        std::string folder;
        std::string search;
        std::string found;
    };
    const std::string name = "MSINFO32.EXE";
    const Case cases[] = {
        {"exact name", {name}, FILE_ATTRIBUTE_NORMAL, "", name, name},
        {"other case", {"msinfo32.exe"}, FILE_ATTRIBUTE_NORMAL, "", name, "msinfo32.exe"},
        {"read-only file", {name}, FILE_ATTRIBUTE_READONLY, "", name, name},
        {"folder of that name", {}, FILE_ATTRIBUTE_NORMAL, name, name, ""},
        {"hidden file", {name}, FILE_ATTRIBUTE_HIDDEN, "", name, ""},
        {"system file", {name}, FILE_ATTRIBUTE_SYSTEM, "", name, ""},
        {"start of a name", {name}, FILE_ATTRIBUTE_NORMAL, "", "MSINFO32", ""},
        {"no wildcards", {name}, FILE_ATTRIBUTE_NORMAL, "", "*.EXE", ""},
    };
    for (const Case& c : cases) {
        Row row(c.name);
        ScratchFolder folder;
        for (const std::string& file : c.files)
            folder.addFile(file, c.attributes);
        if (!c.folder.empty())
            folder.addFolder(c.folder);
        CHECK_EQUAL(
            platform::FileSearch::current().findOrdinaryFile(folder.path() + "\\" + c.search),
            c.found);
    }
}

// Where a user registers the tool for this build: a 32-bit program on 64-bit Windows reads the
// 32-bit view of HKEY_LOCAL_MACHINE\SOFTWARE, a 64-bit one the 64-bit view.
WINTEST_CASE(toolIsReadFromTheViewOfThisBuild) {
    BOOL underWow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &underWow64);
    if (sizeof(void*) == 4 && !underWow64) {
        std::printf("  (32-bit Windows: one view only, nothing to tell apart)\n");
        return;
    }
    const std::string tool32 = toolFolder + "\\Tool32.exe", tool64 = toolFolder + "\\Tool64.exe";
    PlantedProgram program32(tool32), program64(tool64);
    ValueGuard view32(HKEY_LOCAL_MACHINE, SysInfoLauncher::ToolKey, "PATH", text(tool32),
                      KEY_WOW64_32KEY);
    ValueGuard view64(HKEY_LOCAL_MACHINE, SysInfoLauncher::ToolKey, "PATH", text(tool64),
                      KEY_WOW64_64KEY);
    if (!program32.ok() || !program64.ok() || !view32.ok() || !view64.ok())
        return;

    Launch launch;
    launch.sysInfo.StartSysInfo();
    const PlantedProgram& expected = sizeof(void*) == 4 ? program32 : program64;
    const PlantedProgram& other = sizeof(void*) == 4 ? program64 : program32;
    CHECK(waitForMarker(expected.markerPath(), 10000).has_value());
    CHECK(!fileExists(other.markerPath()));
}

// The system's own tool, where the system has one, registered where the tool registers itself.
WINTEST_CASE(systemToolStarts) {
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string systemTool = std::string(system) + "\\msinfo32.exe";
    if (!fileExists(systemTool)) {
        std::printf("  (no %s here)\n", systemTool.c_str());
        return;
    }
    ValueGuard path(HKEY_LOCAL_MACHINE, SysInfoLauncher::ToolKey, "PATH", text(systemTool));
    if (!path.ok())
        return;
    Launch launch;
    launch.sysInfo.StartSysInfo();
    CHECK(launch.messages.texts.empty());
    CHECK_EQUAL(launch.launcher.started.size(), std::size_t(1));
    for (const std::int64_t id : launch.launcher.started) {
        // It shows a window where there is a display: close it.
        HANDLE process =
            ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id));
        CHECK(process != nullptr);
        if (process && ::WaitForSingleObject(process, 3000) == WAIT_TIMEOUT)
            ::TerminateProcess(process, 0);
        if (process)
            ::CloseHandle(process);
    }
}
