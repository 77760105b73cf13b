#include "platform/Registry.h"

#include "platform/Service.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

// The system's registry through advapi32.
class SystemRegistry : public Registry {
public:
    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override {
        HKEY key = nullptr;
        const LONG code = ::RegOpenKeyExA(toHandle(root), keyName.c_str(), options,
                                          static_cast<REGSAM>(accessMask), &key);
        *result = reinterpret_cast<Key>(key);
        return code;
    }

    std::int32_t RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override {
        // DWORD is not the same type as std::uint32_t here, though of the same size.
        DWORD valueType = 0, size = *dataSize;
        const LONG code =
            ::RegQueryValueExA(toHandle(key), valueName.c_str(),
                               reinterpret_cast<LPDWORD>(reserved), &valueType, data, &size);
        *type = valueType;
        *dataSize = size;
        return code;
    }

    std::int32_t RegCloseKey(Key key) override { return ::RegCloseKey(toHandle(key)); }

private:
    // The predefined roots are 32-bit values that the system sign-extends to a pointer.
    static HKEY toHandle(Key key) {
        if (key >= 0x80000000u && key <= 0x8000000Fu)
            return reinterpret_cast<HKEY>(
                static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(key))));
        return reinterpret_cast<HKEY>(key);
    }
};

} // namespace

Registry& Registry::current() {
    return currentService<Registry, SystemRegistry>();
}

Registry* Registry::install(Registry* registry) {
    return installService(registry);
}

} // namespace platform
