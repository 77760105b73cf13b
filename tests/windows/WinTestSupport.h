#pragma once

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
