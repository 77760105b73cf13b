#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The system registry, read through the three calls the program makes, with the system's own
// arguments and return codes. Texts are in the system's narrow code page, passed as they are.
class Registry {
public:
    // A key handle: a predefined root or a key opened by RegOpenKeyExA; 0 is the null handle.
    using Key = std::uintptr_t;

    static constexpr Key LocalMachine = 0x80000002;

    // Return codes.
    static constexpr std::int32_t Success = 0;
    static constexpr std::int32_t FileNotFound = 2;
    static constexpr std::int32_t AccessDenied = 5;
    static constexpr std::int32_t InvalidHandle = 6;
    static constexpr std::int32_t MoreData = 234;

    // KEY_READ: enough to query values.
    static constexpr std::uint32_t ReadAccess = 0x20019;

    // Value types.
    static constexpr std::uint32_t String = 1;
    static constexpr std::uint32_t ExpandString = 2;
    static constexpr std::uint32_t Number = 4;

    virtual ~Registry() = default;

    // Opens the key keyName below root with the access asked for; *result receives the handle,
    // or 0 when the key cannot be opened.
    virtual std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                                       std::uint32_t accessMask, Key* result) = 0;
    // Reads a value: its type, and its bytes when *dataSize is large enough (else MoreData). On
    // both, *dataSize becomes the value's size in bytes. type, data and dataSize are required;
    // reserved is null.
    virtual std::int32_t RegQueryValueExA(Key key, const std::string& valueName,
                                          std::uint32_t* reserved, std::uint32_t* type,
                                          unsigned char* data, std::uint32_t* dataSize) = 0;
    virtual std::int32_t RegCloseKey(Key key) = 0;

    // The registry in use: the system's unless a test installed another.
    static Registry& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static Registry* install(Registry* registry);
};

} // namespace platform
