#pragma once

#include "platform/Registry.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Where the system has no registry of its own, HKEY_LOCAL_MACHINE is read from a text file in
// the registry's export format, holding the value types that the program reads:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\Key]
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000000a
//   "Expandable"=hex(2):25,00
//
// A string is stored with its closing zero byte, as the system stores it. Key and value names
// match without regard to case. Lines that cannot be read are skipped; a missing or unreadable
// file, anything but a regular file, a file of more than maxFileBytes, or one that does not
// start with "REGEDIT4", is an empty registry. The file is read
// afresh at every open, so a change shows at the next read. Keys open for reading only.
class TextRegistry : public Registry {
public:
    static constexpr const char* defaultPath = "/etc/quorvex/registry.reg";
    static constexpr std::size_t maxFileBytes = 1 << 20;

    explicit TextRegistry(std::string path = defaultPath);
    // A registry of the given export text instead of a file.
    static TextRegistry fromText(std::string text);

    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override;
    std::int32_t RegQueryValueExA(Key key, const std::string& valueName, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* dataSize) override;
    std::int32_t RegCloseKey(Key key) override;

    // Keys opened and not yet closed.
    int openKeyCount() const { return static_cast<int>(m_open.size()); }

private:
    // Each value's type and bytes, by lower-case name.
    using Values = std::map<std::string, std::pair<std::uint32_t, std::string>>;

    std::string exportText() const;
    static std::optional<Values> valuesOf(std::string_view text, const std::string& keyName);

    std::optional<std::string> m_path; // else m_text is the export
    std::string m_text;
    std::map<Key, Values> m_open; // a snapshot of each open key's values
    Key m_nextHandle = 0x100;
};

} // namespace platform
