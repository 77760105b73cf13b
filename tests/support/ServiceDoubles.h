#pragma once

#include "platform/FileSearch.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Pause.h"
#include "platform/ProgramEnd.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "ui/about/SysInfoLauncher.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

// Doubles of the platform services, in standard C++ for the suites of both systems. Those that
// stand in for the whole program (message boxes, its end, its pauses) install themselves for
// their lifetime; the others are installed with Installed or handed to what they serve.
namespace testsupport {

// Installs a service for its lifetime, then puts back the one it replaced.
template <class Service> class Installed {
public:
    explicit Installed(Service& service) : m_previous(Service::install(&service)) {}
    ~Installed() { Service::install(m_previous); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    Service* m_previous;
};

// Records every box and answers the questions from a queue (No when it is empty).
class FakeMessageBox : public platform::MessageBox {
public:
    FakeMessageBox() : m_installed(*this) {}

    void showOk(const std::string& text) override { okTexts.push_back(text); }
    bool askYesNo(const std::string& text) override;
    void clear();

    std::vector<std::string> okTexts;   // the OK-only boxes, in order
    std::vector<std::string> questions; // the Yes/No questions, in order
    std::deque<bool> answers;
    int unansweredQuestions = 0;

private:
    Installed<platform::MessageBox> m_installed;
};

// Counts the program's ends and lets the pauses pass at once.
class QuietProgram : private platform::ProgramEnd, private platform::Waiter {
public:
    QuietProgram() : m_end(*this), m_waiter(*this) {}

    int ends = 0;
    int waits = 0;

private:
    void endProgram() override { ++ends; }
    void waitUntil(platform::Deadline) override { ++waits; }

    Installed<platform::ProgramEnd> m_end;
    Installed<platform::Waiter> m_waiter;
};

// The program's folder said to be the one given, for its lifetime.
class ProgramFolderAt : public platform::ProgramFolder {
public:
    explicit ProgramFolderAt(std::string folder)
        : m_folder(std::move(folder)), m_installed(*this) {}
    std::string path() override { return m_folder; }

private:
    std::string m_folder;
    Installed<platform::ProgramFolder> m_installed;
};

// A registry with no keys at all.
class EmptyRegistry : public platform::Registry {
public:
    std::int32_t RegOpenKeyExA(Key, const std::string&, std::uint32_t, std::uint32_t,
                               Key* result) override;
    std::int32_t RegQueryValueExA(Key, const std::string&, std::uint32_t*, std::uint32_t*,
                                  unsigned char*, std::uint32_t*) override;
    std::int32_t RegCloseKey(Key) override { return InvalidHandle; }
};

// Another registry (the one in use when it was made, unless given), with a log of what was
// asked of it and what it answered.
class RecordingRegistry : public platform::Registry {
public:
    explicit RecordingRegistry(platform::Registry& registry = platform::Registry::current())
        : m_registry(registry) {}

    struct Open {
        std::string keyName;
        std::uint32_t accessMask;
        std::int32_t code;
        Key handle;
    };
    struct Close {
        Key handle;
        std::int32_t code;
    };
    std::vector<Open> opens;
    std::vector<Close> closes;
    std::vector<std::string> openedKeys() const;

    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override;
    std::int32_t RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(Key key) override;

private:
    platform::Registry& m_registry;
};

// Records every start. Made without a launcher, it starts only the programs listed, as ids 1, 2,
// ..., and fails for the rest as the system would; given one, it starts through that one.
class RecordingLauncher : public platform::ProgramLauncher {
public:
    explicit RecordingLauncher(platform::ProgramLauncher* launcher = nullptr)
        : m_launcher(launcher) {}

    std::set<std::string> programs;
    std::vector<std::string> paths; // every path asked for, started or not
    std::vector<int> styles;
    std::vector<std::int64_t> started; // the ids of the programs started

    std::int64_t startProgram(const std::string& path, int windowStyle) override;

private:
    platform::ProgramLauncher* m_launcher;
};

// The file search in use when it was made, counting the searches.
class CountingSearch : public platform::FileSearch {
public:
    int searches = 0;
    std::string findOrdinaryFile(const std::string& path) override {
        ++searches;
        return m_search.findOrdinaryFile(path);
    }

private:
    platform::FileSearch& m_search = platform::FileSearch::current();
};

// Where the system information launcher's message goes instead of a message box.
class MessageSink : public SysInfoMessages {
public:
    std::vector<std::string> texts;
    void showOk(const std::string& text) override { texts.push_back(text); }
};

// The system's file writers, each failing at one step with the error given instead of doing it,
// as the system would there; at the write step part of the bytes reach the new file first.
// Installed for its lifetime.
class FailingWriters : public platform::FileWriters {
public:
    enum Step { Open, Write, Flush, Commit };
    FailingWriters(Step failAt, platform::RuntimeError::Number error)
        : m_failAt(failAt), m_error(error), m_installed(*this) {}
    std::unique_ptr<platform::FileWriter> make() override;

private:
    Step m_failAt;
    platform::RuntimeError::Number m_error;
    Installed<platform::FileWriters> m_installed;
};

// Writers that record the paths they are asked to open and write nothing. Installed for its
// lifetime.
class RecordingWriters : public platform::FileWriters {
public:
    RecordingWriters() : m_installed(*this) {}
    std::vector<std::string> opened;
    std::unique_ptr<platform::FileWriter> make() override;

private:
    Installed<platform::FileWriters> m_installed;
};

// The system's file calls, each passed on unchanged: the base of tests that watch or hold some of
// them, under writers of their own (platform::makeReplacingFileWriter).
class PassingFileCalls : public platform::FileCalls {
public:
    platform::FileCalls& system = platform::systemFileCalls();
    std::string finalPath(const std::string& path) override { return system.finalPath(path); }
    std::unique_ptr<File> create(const std::string& path, const std::string& like,
                                 Refusal& refusal) override {
        return system.create(path, like, refusal);
    }
    std::unique_ptr<File> openExisting(const std::string& path) override {
        return system.openExisting(path);
    }
    std::unique_ptr<File> reuse(const std::string& path, const std::string& like) override {
        return system.reuse(path, like);
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        return system.replace(from, to);
    }
    void flushFolder(const std::string& folder) override { system.flushFolder(folder); }
    bool remove(const std::string& path) override { return system.remove(path); }
    bool ownFile(const std::string& path) override { return system.ownFile(path); }
    std::vector<std::string> namesIn(const std::string& folder, std::string_view start,
                                     std::string_view end) override {
        return system.namesIn(folder, start, end);
    }
    unsigned long processId() override { return system.processId(); }
    bool processRunning(unsigned long process) override { return system.processRunning(process); }
};

} // namespace testsupport
