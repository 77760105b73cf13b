// The registry file's reader on any text, and GetKeyValue over every key and value it names.
#include "platform/FileSearch.h"
#include "platform/ProgramLauncher.h"
#include "platform/RuntimeError.h"
#include "platform/nix/TextRegistry.h"
#include "ui/about/SysInfoLauncher.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using platform::Registry;
using platform::RuntimeError;
using platform::TextRegistry;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

struct Place {
    std::string key;
    std::string value;
};

// The launcher's places, and each value line that the text holds with the key of the section it
// stands in, spelt as the text spells them.
std::vector<Place> placesIn(std::string_view text) {
    // Every open reads the whole text again: a few places keep the runs many.
    constexpr std::size_t most = 8;
    constexpr std::string_view root = "HKEY_LOCAL_MACHINE\\";
    std::vector<Place> places{{SysInfoLauncher::ToolKey, SysInfoLauncher::ToolValue},
                              {SysInfoLauncher::FolderKey, SysInfoLauncher::FolderValue}};
    std::string key;
    while (!text.empty() && places.size() < most) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.starts_with('[')) {
            line = line.substr(1, line.find(']') - 1);
            key = line.substr(std::min(root.size(), line.size()));
        } else if (line.starts_with('"')) {
            places.push_back({key, std::string(line.substr(1, line.find('"', 1) - 1))});
        }
    }
    return places;
}

struct DirectRead {
    bool read = false;
    std::uint32_t type = 0;
    std::string bytes;
};

// The value read without GetKeyValue, in a buffer of exactly its size, so that a reader that
// writes past the size it was given is caught.
DirectRead readDirectly(TextRegistry& registry, const std::string& key, const std::string& name) {
    DirectRead result;
    Registry::Key handle = 0;
    if (registry.RegOpenKeyExA(Registry::LocalMachine, key, 0, SysInfoLauncher::KeyAccess,
                               &handle) != Registry::Success)
        return result;
    // First with room for nothing, which tells the size.
    unsigned char none = 0;
    std::uint32_t size = 0;
    const std::int32_t code =
        registry.RegQueryValueExA(handle, name, nullptr, &result.type, &none, &size);
    if (code == Registry::Success || code == Registry::MoreData) {
        require((code == Registry::Success) == (size == 0));
        std::vector<unsigned char> exact(size);
        std::uint32_t given = size, type = 0;
        require(registry.RegQueryValueExA(handle, name, nullptr, &type, size ? exact.data() : &none,
                                          &given) == Registry::Success);
        require(given == size && type == result.type);
        result.read = true;
        result.bytes.assign(exact.begin(), exact.end());
    }
    registry.RegCloseKey(handle);
    return result;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void checkGetKeyValue(SysInfoLauncher& launcher, TextRegistry& registry, const std::string& key,
                      const std::string& name) {
    const DirectRead direct = readDirectly(registry, key, name);
    std::string KeyVal;
    bool result;
    try {
        result = launcher.GetKeyValue(Registry::LocalMachine, key, name, KeyVal);
    } catch (const RuntimeError& error) {
        // Only an empty value has no last byte to look at.
        require(error.number() == RuntimeError::InvalidArgument);
        require(direct.read && direct.bytes.empty() && KeyVal.empty());
        require(registry.openKeyCount() == 0);
        return;
    }
    require(registry.openKeyCount() == 0);
    if (!result) {
        // Not there, or more than the buffer holds.
        require(KeyVal.empty());
        require(!direct.read || direct.bytes.size() > SysInfoLauncher::BufferSize);
        return;
    }
    // True only for a value that was there, non-empty and within the buffer.
    require(direct.read && !direct.bytes.empty());
    require(direct.bytes.size() <= SysInfoLauncher::BufferSize);
    std::string data = direct.bytes;
    if (data.back() == '\0')
        data.pop_back();
    switch (direct.type) {
    case Registry::String:
        require(KeyVal == data);
        break;
    case Registry::Number:
        // "&h" and two upper-case digits for each byte.
        require(KeyVal.size() == 2 + 2 * data.size() && KeyVal.starts_with("&h"));
        require(std::all_of(KeyVal.begin() + 2, KeyVal.end(), isHexDigit));
        break;
    default:
        require(KeyVal.empty()); // left as it was
        break;
    }
}

class NoFiles : public platform::FileSearch {
public:
    std::string findOrdinaryFile(const std::string& path) override {
        return path.size() % 2 ? path : std::string();
    }
};

class RefusingLauncher : public platform::ProgramLauncher {
public:
    int starts = 0;
    std::int64_t startProgram(const std::string& path, int) override {
        ++starts;
        if (path.empty())
            throw RuntimeError::of(RuntimeError::FileNotFound);
        return 1;
    }
};

class CountingMessages : public SysInfoMessages {
public:
    int shown = 0;
    void showOk(const std::string&) override { ++shown; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TextRegistry registry = TextRegistry::fromText(text);
    NoFiles files;
    RefusingLauncher programs;
    CountingMessages messages;
    SysInfoLauncher launcher(registry, files, programs, messages);

    for (const Place& place : placesIn(text))
        checkGetKeyValue(launcher, registry, place.key, place.value);

    // The whole launcher never lets an error out: it starts something or says that it cannot.
    launcher.StartSysInfo();
    require(programs.starts <= 1);
    require(messages.shown == 1 || (programs.starts == 1 && messages.shown == 0));
    require(registry.openKeyCount() == 0);
    return 0;
}
