#pragma once

#include "platform/Registry.h"

#include <map>
#include <optional>
#include <string>

namespace platform {

// A registry whose HKEY_LOCAL_MACHINE lives in a text file in the registry's export format:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\Key]
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000000a
//   "Raw"=hex:01,02,03
//   "Typed"=hex(2):25,00
//   @="the key's default value"
//
// A string value is stored with its closing zero byte, as the system stores it; hex(N): gives
// the exact bytes of a value of type N. Key and value names match without regard to case.
// Lines that cannot be read are skipped; a missing or unreadable file, or one that does not
// start with "REGEDIT4", is an empty registry. The file is read afresh at every open, so a
// change shows at the next read.
//
// Where the system has no registry of its own this is the system's registry: whoever may write
// the file gets every right on its keys, anyone else read rights only.
class TextRegistry : public Registry {
public:
    static constexpr const char* defaultPath = "/etc/quorvex/registry.reg";

    TextRegistry();
    explicit TextRegistry(std::string path);
    // A registry of the given export text, granting the rights given.
    static TextRegistry fromText(std::string text, std::uint32_t grantedAccess = AllAccess);

    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override;
    std::int32_t RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(Key key) override;

    // Keys opened and not yet closed.
    int openKeyCount() const { return static_cast<int>(m_open.size()); }

private:
    struct Value {
        std::uint32_t type = 0;
        std::string bytes;
    };
    using Values = std::map<std::string, Value>; // by lower-case name
    struct Hive {
        std::map<std::string, Values> keys; // by lower-case path below the root
        std::uint32_t grantedAccess = AllAccess;
    };
    struct OpenKey {
        std::string path;
        Values values;
        std::uint32_t access = 0;
    };

    struct Text {};
    TextRegistry(Text, std::string text, std::uint32_t grantedAccess);
    Hive load() const;
    static Hive parse(const std::string& text);

    std::optional<std::string> m_path; // else m_text is the hive
    std::string m_text;
    std::uint32_t m_textAccess = AllAccess;
    std::map<Key, OpenKey> m_open;
    Key m_nextHandle = 0x100;
};

} // namespace platform
