#include "ui/about/SysInfoLauncher.h"

#include "platform/FileSearch.h"
#include "platform/ProgramLauncher.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

using platform::Registry;
using platform::RuntimeError;

namespace {

// What the general number format makes of "&h" followed by hexadecimal digits: the decimal
// text of the number they write, read as a signed 16-bit number up to four digits and a signed
// 32-bit number up to eight, as a hexadecimal literal is read. Anything else is not a number
// and stays as it is.
std::string formatHexLiteral(const std::string& literal) {
    const std::string digits = literal.substr(2);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        }))
        return literal;
    const unsigned long bits = std::stoul(digits, nullptr, 16);
    const long long value =
        digits.size() <= 4 ? static_cast<std::int16_t>(bits) : static_cast<std::int32_t>(bits);
    return std::to_string(value);
}

} // namespace

SysInfoLauncher::SysInfoLauncher(Registry& registry, platform::FileSearch& files,
                                 platform::ProgramLauncher& launcher, SysInfoMessages& messages)
    : m_registry(registry), m_files(files), m_launcher(launcher), m_messages(messages) {}

void SysInfoLauncher::StartSysInfo() {
    // True when the tool was started; false, or an error, when it cannot be.
    auto findAndLaunch = [this] {
        std::string SysInfoPath;
        if (!GetKeyValue(Registry::LocalMachine, ToolKey, ToolValue, SysInfoPath)) {
            if (!GetKeyValue(Registry::LocalMachine, FolderKey, FolderValue, SysInfoPath))
                return false;
            // A value of another type leaves no folder; searching the bare file name would
            // find whatever lies in the root of the current drive.
            if (SysInfoPath.empty())
                return false;
            if (m_files.findOrdinaryFile(SysInfoPath + ToolFileName).empty())
                return false;
            SysInfoPath += ToolFileName;
        }
        // The path goes to the launcher as the program's path: a folder with blanks in its
        // name must not start a program named by its first word.
        m_launcher.startProgram(SysInfoPath, platform::ProgramLauncher::NormalFocus);
        return true;
    };
    try {
        if (findAndLaunch())
            return;
    } catch (const std::exception&) {
        // Any failure on the way ends in the message.
    }
    m_messages.showOk(UnavailableText);
}

bool SysInfoLauncher::GetKeyValue(const Registry::Key& KeyRoot, const std::string& KeyName,
                                  const std::string& SubKeyRef, std::string& KeyVal) {
    Registry::Key hKey = 0;
    std::uint32_t KeyValType = 0;
    bool result = false;
    try {
        if (m_registry.RegOpenKeyExA(KeyRoot, KeyName, 0, KeyAccess, &hKey) != Registry::Success) {
            KeyVal.clear();
        } else {
            std::array<unsigned char, BufferSize> tmpVal{};
            std::uint32_t KeyValSize = BufferSize;
            if (m_registry.RegQueryValueExA(hKey, SubKeyRef, nullptr, &KeyValType, tmpVal.data(),
                                            &KeyValSize) != Registry::Success) {
                KeyVal.clear();
            } else {
                // An empty value has no last byte to look at.
                if (KeyValSize == 0)
                    throw RuntimeError::of(RuntimeError::InvalidArgument);
                const std::size_t size = std::min<std::size_t>(KeyValSize, BufferSize);
                // At most one closing zero byte goes; zeros before it stay in.
                const std::size_t length = tmpVal[size - 1] == 0 ? size - 1 : size;
                const std::string data(reinterpret_cast<const char*>(tmpVal.data()), length);
                switch (KeyValType) {
                case Registry::String:
                    KeyVal = data;
                    break;
                case Registry::Number: {
                    // Most significant byte first, two upper-case digits each.
                    for (auto byte = data.rbegin(); byte != data.rend(); ++byte) {
                        char digits[3];
                        std::snprintf(digits, sizeof digits, "%02X",
                                      static_cast<unsigned char>(*byte));
                        KeyVal += digits;
                    }
                    KeyVal = formatHexLiteral("&h" + KeyVal);
                    break;
                }
                default:
                    break;
                }
                result = true;
            }
        }
    } catch (...) {
        m_registry.RegCloseKey(hKey);
        throw;
    }
    m_registry.RegCloseKey(hKey);
    return result;
}
