#include "tests/windows/WinTestSupport.h"

#include "tests/windows/TestHarness.h"

#include <fstream>
#include <iterator>

namespace wintest {

namespace {

std::optional<RegValue> readValue(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                           &size) != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return RegValue{type, bytes};
}

LONG writeValue(HKEY key, const std::string& name, const RegValue& value) {
    return ::RegSetValueExA(key, name.c_str(), 0, value.type,
                            reinterpret_cast<const BYTE*>(value.bytes.data()),
                            static_cast<DWORD>(value.bytes.size()));
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

} // namespace

ValueGuard::ValueGuard(HKEY root, std::string keyPath, std::string valueName,
                       std::optional<RegValue> value, REGSAM view)
    : m_root(root), m_keyPath(std::move(keyPath)), m_valueName(std::move(valueName)), m_view(view) {
    for (std::string path = m_keyPath; !path.empty() && !keyExists(root, path, view);) {
        m_createdKeys.push_back(path);
        const std::size_t cut = path.find_last_of('\\');
        path = cut == std::string::npos ? std::string() : path.substr(0, cut);
    }
    HKEY key = nullptr;
    LONG code = ::RegCreateKeyExA(root, m_keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &key, nullptr);
    if (code != ERROR_SUCCESS) {
        fail(__FILE__, __LINE__, "cannot create " + m_keyPath + ": " + std::to_string(code));
        return;
    }
    m_previous = readValue(key, m_valueName);
    if (value)
        code = writeValue(key, m_valueName, *value);
    else if (m_previous)
        code = ::RegDeleteValueA(key, m_valueName.c_str());
    ::RegCloseKey(key);
    m_ok = code == ERROR_SUCCESS;
    if (!m_ok)
        fail(__FILE__, __LINE__, "cannot set " + m_valueName + ": " + std::to_string(code));
}

ValueGuard::~ValueGuard() {
    HKEY key = nullptr;
    LONG code = ::RegOpenKeyExA(m_root, m_keyPath.c_str(), 0, KEY_SET_VALUE | m_view, &key);
    if (code == ERROR_SUCCESS) {
        if (m_previous)
            code = writeValue(key, m_valueName, *m_previous);
        else if ((code = ::RegDeleteValueA(key, m_valueName.c_str())) == ERROR_FILE_NOT_FOUND)
            code = ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    for (const std::string& path : m_createdKeys)
        if (code == ERROR_SUCCESS)
            code = ::RegDeleteKeyExA(m_root, path.c_str(), m_view, 0);
    if (code != ERROR_SUCCESS)
        fail(__FILE__, __LINE__, "cannot put back " + m_keyPath + ": " + std::to_string(code));
}

bool keyExists(HKEY root, const std::string& keyPath, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

std::string markerProgram() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return folderOf(std::string(path, length)) + "\\quorvex_marker.exe";
}

PlantedProgram::PlantedProgram(std::string path) : m_path(std::move(path)) {
    const std::string folder = folderOf(m_path);
    if (!fileExists(folder)) {
        if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
            fail(__FILE__, __LINE__, "cannot make " + folder);
            return;
        }
        m_createdFolder = folder;
    }
    m_ok = ::CopyFileA(markerProgram().c_str(), m_path.c_str(), FALSE);
    if (!m_ok)
        fail(__FILE__, __LINE__, "cannot copy the marker program to " + m_path);
}

PlantedProgram::~PlantedProgram() {
    // A program still running cannot be removed yet: give it a moment.
    for (int i = 0; i < 100 && fileExists(m_path) && !::DeleteFileA(m_path.c_str()); ++i)
        ::Sleep(50);
    ::DeleteFileA(markerPath().c_str());
    if (!m_createdFolder.empty())
        ::RemoveDirectoryA(m_createdFolder.c_str());
    if (fileExists(m_path) || fileExists(markerPath()))
        fail(__FILE__, __LINE__, "cannot remove " + m_path);
}

bool fileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> waitForMarker(const std::string& markerPath, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    do {
        // The marker program writes the file under another name and renames it when done.
        std::ifstream file(markerPath, std::ios::binary);
        if (file)
            return std::string(std::istreambuf_iterator<char>(file), {});
        ::Sleep(50);
    } while (::GetTickCount64() < end);
    return std::nullopt;
}

} // namespace wintest
