// The files layer over the system's own calls: replacing a file whole, keeping the old one when
// a save fails, leaving no temporary file behind, and reading no more than asked.
#include "tests/windows/TestHarness.h"

#include "platform/Files.h"
#include "platform/RuntimeError.h"
#include "tests/support/ServiceDoubles.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

using namespace wintest;
using platform::RuntimeError;

namespace {

const std::string fileName = "quorvexresults.txt";

// Long paths in the form without a length limit, so that the test reaches any path it makes.
std::wstring wide(const std::string& text) {
    std::wstring result(text.size(), L'\0');
    result.resize(std::size_t(::MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()),
                                                    result.data(), int(result.size()))));
    return result.size() < MAX_PATH - 12 ? result : L"\\\\?\\" + result;
}

std::string utf8(const std::wstring& text) {
    std::string result(text.size() * 3, '\0');
    result.resize(
        std::size_t(::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(),
                                          int(result.size()), nullptr, nullptr)));
    return result;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(utf8(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

// A folder of its own under the temporary folder, removed with what is in it.
class Scratch {
public:
    Scratch() {
        wchar_t temporary[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temporary);
        m_path = utf8(temporary) + "Quorvex Files Test";
        CHECK(::CreateDirectoryW(wide(m_path).c_str(), nullptr));
    }
    ~Scratch() { remove(m_path); }
    const std::string& path() const { return m_path; }

private:
    static void remove(const std::string& folder) {
        for (const std::string& name : entries(folder)) {
            const std::wstring path = wide(folder + "\\" + name);
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!::DeleteFileW(path.c_str()))
                remove(folder + "\\" + name);
        }
        CHECK(::RemoveDirectoryW(wide(folder).c_str()));
    }
    std::string m_path;
};

void makeFile(const std::string& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    CHECK(file != INVALID_HANDLE_VALUE &&
          ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr));
    ::CloseHandle(file);
}

std::string contentsOf(const std::string& path) {
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// 0 when the call raised nothing, else the number of the run-time error it raised.
int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

WINTEST_CASE(saveReplacesTheFileWhole) {
    struct Case {
        const char* name;
        std::string folder;
        std::string separator;
    };
    const Case cases[] = {
        {"plain folder", "Bets", "\\"},
        // As the path of a drive root's results file is built.
        {"doubled separator", "Bets", "\\\\"},
        {"folder outside ASCII", "Wetten \xe2\x82\xac", "\\"},
    };
    for (const Case& c : cases) {
        Row row(c.name);
        Scratch scratch;
        const std::string folder = scratch.path() + "\\" + c.folder;
        CHECK(::CreateDirectoryW(wide(folder).c_str(), nullptr));
        const std::string path = folder + c.separator + fileName;
        CHECK_EQUAL(errorOf([&] { platform::writeFile(path, "\" 12.5\"\r\n"); }), 0);
        CHECK_EQUAL(errorOf([&] { platform::writeFile(path, "\" 35\"\r\n"); }), 0);
        CHECK_EQUAL(contentsOf(folder + "\\" + fileName), "\" 35\"\r\n");
        CHECK_EQUAL(entries(folder), std::vector<std::string>{fileName});
    }
}

WINTEST_CASE(failedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string old = "\" 12.5\"\r\n";
    {
        Row row("file held open by another program");
        Scratch scratch;
        const std::string path = scratch.path() + "\\" + fileName;
        makeFile(path, old);
        const HANDLE held = ::CreateFileW(wide(path).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        CHECK(held != INVALID_HANDLE_VALUE);
        CHECK_EQUAL(errorOf([&] { platform::writeFile(path, "\" 35\"\r\n"); }),
                    int(RuntimeError::PermissionDenied));
        ::CloseHandle(held);
        CHECK_EQUAL(contentsOf(path), old);
        CHECK_EQUAL(entries(scratch.path()), std::vector<std::string>{fileName});
    }
    {
        Row row("missing folder");
        Scratch scratch;
        CHECK_EQUAL(
            errorOf([&] { platform::writeFile(scratch.path() + "\\missing\\" + fileName, "x"); }),
            int(RuntimeError::PathNotFound));
        CHECK(entries(scratch.path()).empty());
    }
}

// Another program's handle on a file, as a scanner or an indexer takes one: it never shares
// deletion, so the file cannot be replaced or removed while held; with writing not shared either,
// it cannot be written in place.
class Holder {
public:
    Holder(const std::string& path, DWORD sharing)
        : m_file(::CreateFileW(wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {
        CHECK(m_file != INVALID_HANDLE_VALUE);
    }
    ~Holder() {
        if (m_letGo.joinable())
            m_letGo.join();
        release();
    }
    void releaseAfter(std::chrono::milliseconds delay) {
        m_letGo = std::thread([this, delay] {
            std::this_thread::sleep_for(delay);
            release();
        });
    }

private:
    void release() {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(std::exchange(m_file, INVALID_HANDLE_VALUE));
    }
    HANDLE m_file;
    std::thread m_letGo;
};

WINTEST_CASE(saveWhereTheReplaceIsRefused) {
    // Left by a process that has ended: no process has so high a number.
    const std::string stray = "~" + fileName + ".7ffffff1-1.tmp";
    enum Held { Nothing, FileFor200ms, StrayThroughout };
    struct Case {
        const char* name;
        std::size_t pathLength; // of the results file; 0: in the scratch folder itself
        bool strayBefore;       // left by an earlier run that crashed or could not delete it
        Held held;
        std::vector<std::string> left;
    };
    // clang-format off
    const Case cases[] = {
        {"file held for 200 ms", 0, false, FileFor200ms, {fileName}},
        {"a crash's temporary file is removed", 0, true, Nothing, {fileName}},
        {"a temporary file that cannot be deleted is reused", 0, true, StrayThroughout, {fileName, stray}},
        {"path of 255 characters, its temporary file's beyond 260", 255, false, Nothing, {fileName}},
        {"path of 300 characters", 300, false, Nothing, {fileName}},
        {"path of 300 characters, a crash's temporary, file held", 300, true, FileFor200ms, {fileName}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Row row(c.name);
        Scratch scratch;
        std::string folder = scratch.path();
        for (char part = 'a'; folder.size() + 1 + fileName.size() < c.pathLength; ++part) {
            // What the path still needs before its "\" and file name; a folder at most 99 long.
            const std::size_t needed = c.pathLength - folder.size() - 1 - fileName.size();
            folder += '\\';
            folder.append(needed <= 100 ? needed - 1 : needed > 101 ? 99 : 97, part);
            CHECK(::CreateDirectoryW(wide(folder).c_str(), nullptr));
        }
        const std::string path = folder + "\\" + fileName;
        CHECK(c.pathLength == 0 || path.size() == c.pathLength);
        makeFile(path, "\" 12.5\"\r\n");
        if (c.strayBefore)
            makeFile(folder + "\\" + stray, "\" 9\"\r\n");
        std::optional<Holder> holder;
        if (c.held == StrayThroughout)
            holder.emplace(folder + "\\" + stray, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (c.held == FileFor200ms) // only the retry passes it
            holder.emplace(path, FILE_SHARE_READ).releaseAfter(std::chrono::milliseconds(200));
        CHECK_EQUAL(errorOf([&] { platform::writeFile(path, "\" 35\"\r\n"); }), 0);
        CHECK_EQUAL(contentsOf(path), "\" 35\"\r\n");
        CHECK_EQUAL(platform::readFileStart(path, 100), "\" 35\"\r\n");
        std::vector<std::string> left = entries(folder);
        std::sort(left.begin(), left.end());
        CHECK_EQUAL(left, c.left);
    }
}

// A symbolic link to the results file is followed: the file it leads to gets the new contents,
// and the link stays. Where the system refuses this user a link, there is nothing to check.
WINTEST_CASE(saveThroughASymbolicLink) {
    Scratch scratch;
    const std::string link = scratch.path() + "\\" + fileName;
    const std::string real = scratch.path() + "\\real\\figures.txt";
    CHECK(::CreateDirectoryW(wide(scratch.path() + "\\real").c_str(), nullptr));
    makeFile(real, "\" 12.5\"\r\n");
    // 2: allowed without the privilege where the system is in developer mode. Wine says it made
    // the link and makes nothing.
    if (!::CreateSymbolicLinkW(wide(link).c_str(), wide(real).c_str(), 2) ||
        !(::GetFileAttributesW(wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) ||
        contentsOf(link) != "\" 12.5\"\r\n") {
        std::printf("  (no symbolic link here: not checked)\n");
        return;
    }
    CHECK_EQUAL(errorOf([&] { platform::writeFile(link, "\" 35\"\r\n"); }), 0);
    CHECK_EQUAL(contentsOf(real), "\" 35\"\r\n");
    CHECK(::GetFileAttributesW(wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    std::vector<std::string> names = entries(scratch.path());
    std::sort(names.begin(), names.end());
    CHECK_EQUAL(names, (std::vector<std::string>{fileName, "real"}));
    CHECK_EQUAL(entries(scratch.path() + "\\real"), std::vector<std::string>{"figures.txt"});
}

// The system's calls, held before the replacement until let go.
class HeldAtReplace : public testsupport::PassingFileCalls {
public:
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~HeldAtReplace() override {
        ::CloseHandle(ready);
        ::CloseHandle(go);
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        ::SetEvent(ready);
        ::WaitForSingleObject(go, INFINITE);
        return system.replace(from, to);
    }
};

// A second save into the folder while the first is held at its replacement leaves the first's
// temporary file alone; both go through, and the later replacement wins.
WINTEST_CASE(twoSavesIntoOneFolder) {
    Scratch scratch;
    const std::string path = scratch.path() + "\\" + fileName;
    HeldAtReplace held;
    int first = -1;
    std::thread thread([&] {
        first = errorOf([&] {
            const auto writer = platform::makeReplacingFileWriter(held);
            writer->open(path);
            writer->write("\" 1\"\r\n");
            writer->flush();
            writer->commit();
        });
    });
    CHECK(::WaitForSingleObject(held.ready, 10000) == WAIT_OBJECT_0);
    CHECK_EQUAL(entries(scratch.path()).size(), std::size_t(1));
    CHECK_EQUAL(errorOf([&] { platform::writeFile(path, "\" 2\"\r\n"); }), 0);
    CHECK_EQUAL(contentsOf(path), "\" 2\"\r\n");
    ::SetEvent(held.go);
    thread.join();
    CHECK_EQUAL(first, 0);
    CHECK_EQUAL(contentsOf(path), "\" 1\"\r\n");
    CHECK_EQUAL(entries(scratch.path()), std::vector<std::string>{fileName});
}

WINTEST_CASE(readFileStartReadsAtMostTheBytesAsked) {
    Scratch scratch;
    const std::string path = scratch.path() + "\\" + fileName;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += char('0' + i % 10);
    makeFile(path, bytes);
    CHECK_EQUAL(platform::readFileStart(path, 4097), bytes.substr(0, 4097));
    CHECK_EQUAL(platform::readFileStart(path, 10000), bytes);
    CHECK(errorOf([&] { platform::readFileStart(scratch.path(), 100); }) != 0);
    CHECK_EQUAL(errorOf([&] { platform::readFileStart(path + ".missing", 100); }),
                int(RuntimeError::PathNotFound));

    // A pipe under the name is not read, and opening it does not wait for its other end.
    const char* const pipe = "\\\\.\\pipe\\quorvex-files-test";
    const HANDLE server = ::CreateNamedPipeW(wide(pipe).c_str(), PIPE_ACCESS_OUTBOUND,
                                             PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
    CHECK(server != INVALID_HANDLE_VALUE);
    CHECK_EQUAL(errorOf([&] { platform::readFileStart(pipe, 100); }),
                int(RuntimeError::PathFileAccess));
    ::CloseHandle(server);
}
