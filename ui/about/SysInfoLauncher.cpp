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
        // The launcher takes the text as the program's path, not as a command line: a folder
        // with blanks in its name must not start a program named by its first word.
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
    // The key is closed on every way out, after a refused open too (then the null handle).
    struct Closer {
        Registry& registry;
        const Registry::Key& key;
        ~Closer() { registry.RegCloseKey(key); }
    } closer{m_registry, hKey};

    std::uint32_t KeyValType = 0;
    std::array<unsigned char, BufferSize> tmpVal{};
    std::uint32_t KeyValSize = BufferSize;
    if (m_registry.RegOpenKeyExA(KeyRoot, KeyName, 0, KeyAccess, &hKey) != Registry::Success ||
        m_registry.RegQueryValueExA(hKey, SubKeyRef, nullptr, &KeyValType, tmpVal.data(),
                                    &KeyValSize) != Registry::Success) {
        KeyVal.clear();
        return false;
    }
    // An empty value has no last byte to look at.
    if (KeyValSize == 0)
        throw RuntimeError::of(RuntimeError::InvalidArgument);
    const std::size_t size = std::min<std::size_t>(KeyValSize, BufferSize);
    // At most one closing zero byte goes; zeros before it stay in.
    const std::string data(reinterpret_cast<const char*>(tmpVal.data()),
                           tmpVal[size - 1] == 0 ? size - 1 : size);
    if (KeyValType == Registry::String) {
        KeyVal = data;
    } else if (KeyValType == Registry::Number) {
        // Most significant byte first, two upper-case digits each. Nothing reads the number:
        // it names no program, so the text is left as it is rather than made decimal.
        for (auto byte = data.rbegin(); byte != data.rend(); ++byte) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*byte));
            KeyVal += digits;
        }
        KeyVal = "&h" + KeyVal;
    }
    return true;
}
