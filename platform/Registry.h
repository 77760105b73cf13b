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
    static constexpr std::int32_t InvalidParameter = 87;
    static constexpr std::int32_t MoreData = 234;

    // Access rights.
    static constexpr std::uint32_t QueryValue = 0x0001;
    static constexpr std::uint32_t SetValue = 0x0002;
    static constexpr std::uint32_t CreateSubKey = 0x0004;
    static constexpr std::uint32_t EnumerateSubKeys = 0x0008;
    static constexpr std::uint32_t Notify = 0x0010;
    static constexpr std::uint32_t CreateLink = 0x0020;
    static constexpr std::uint32_t ReadControl = 0x20000;
    static constexpr std::uint32_t ReadAccess = 0x20019;
    static constexpr std::uint32_t AllAccess = 0xF003F;

    // Value types.
    static constexpr std::uint32_t String = 1;
    static constexpr std::uint32_t ExpandString = 2;
    static constexpr std::uint32_t Binary = 3;
    static constexpr std::uint32_t Number = 4;

    virtual ~Registry() = default;

    // Opens the key keyName below root with the access asked for; *result receives the handle,
    // or 0 when the key cannot be opened.
    virtual std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                                       std::uint32_t accessMask, Key* result) = 0;
    // Reads a value: its type, and its bytes when *dataSize is large enough (else MoreData). On
    // both, *dataSize becomes the value's size in bytes.
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
