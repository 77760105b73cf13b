#pragma once

#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "ui/about/SysInfoLauncher.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wintest {

// A value's type and bytes as the registry holds them.
struct RegValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

// Sets one registry value for its lifetime, through the system's calls, creating the key when
// it is missing; then puts back what was there: the value it replaced, or no value, and none of
// the keys it made. An empty optional removes the value for the lifetime instead. view
// chooses the 32-bit or 64-bit view of the key (0: the process's own).
class ValueGuard {
public:
    ValueGuard(HKEY root, std::string keyPath, std::string valueName, std::optional<RegValue> value,
               REGSAM view = 0);
    ~ValueGuard();
    ValueGuard(const ValueGuard&) = delete;
    ValueGuard& operator=(const ValueGuard&) = delete;

    // False when the value could not be set up; the reason was reported as a failure.
    bool ok() const { return m_ok; }

private:
    HKEY m_root;
    std::string m_keyPath, m_valueName;
    REGSAM m_view;
    bool m_ok = false;
    std::vector<std::string> m_createdKeys; // the deepest first
    std::optional<RegValue> m_previous;
};

// Whether the key exists, in the view given (0: the process's own).
bool keyExists(HKEY root, const std::string& keyPath, REGSAM view = 0);

// The system's registry, with a log of what was asked of it and what it answered.
class RecordingRegistry : public platform::Registry {
public:
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

    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override;
    std::int32_t RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(Key key) override;

private:
    platform::Registry& m_system = platform::Registry::current();
};

// The system's launcher, keeping the ids of the processes it started.
class RecordingLauncher : public platform::ProgramLauncher {
public:
    std::vector<std::string> paths; // every path asked for, started or not
    std::vector<std::int64_t> started;

    std::int64_t startProgram(const std::string& programPath, int windowStyle) override;

private:
    platform::ProgramLauncher& m_system = platform::ProgramLauncher::current();
};

// Where the launcher's message goes instead of a message box.
class MessageSink : public SysInfoMessages {
public:
    std::vector<std::string> texts;
    void showOk(const std::string& text) override { texts.push_back(text); }
};

// The marker program, built beside the tests: run from anywhere, it writes PATH.ran beside
// itself holding the command line it was given and its window style.
std::string markerProgram();

// Copies the marker program to the path, making its folder, for its lifetime; then removes the
// copy, its marker file and the folder it made.
class PlantedProgram {
public:
    explicit PlantedProgram(std::string path);
    ~PlantedProgram();
    PlantedProgram(const PlantedProgram&) = delete;
    PlantedProgram& operator=(const PlantedProgram&) = delete;

    bool ok() const { return m_ok; }
    const std::string& path() const { return m_path; }
    std::string markerPath() const { return m_path + ".ran"; }

private:
    std::string m_path;
    std::string m_createdFolder;
    bool m_ok = false;
};

// The marker file's text once it is there, waiting up to the time given; nothing when it did
// not come.
std::optional<std::string> waitForMarker(const std::string& markerPath, DWORD milliseconds);
bool fileExists(const std::string& path);

} // namespace wintest
