#pragma once

#include "platform/Registry.h"

#include <string>

namespace platform {
class FileSearch;
class ProgramLauncher;
} // namespace platform

// Where the launcher's one message goes.
class SysInfoMessages {
public:
    virtual ~SysInfoMessages() = default;
    // A modal message with an OK button only, captioned with the application title.
    virtual void showOk(const std::string& text) = 0;
};

// Finds the system information tool through the registry and starts it, or says that it cannot.
// Nothing is kept between two calls: each reads the registry afresh.
class SysInfoLauncher {
public:
    static constexpr const char* ToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const char* ToolValue = "PATH";
    static constexpr const char* FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
    static constexpr const char* FolderValue = "MSINFO";
    static constexpr const char* ToolFileName = "\\MSINFO32.EXE";
    static constexpr const char* UnavailableText = "System Information Is Unavailable At This Time";
    // Read rights only: a user who may not write the keys can still start the tool.
    static constexpr std::uint32_t KeyAccess = platform::Registry::ReadAccess;
    static constexpr std::size_t BufferSize = 1024;

    SysInfoLauncher(platform::Registry& registry, platform::FileSearch& files,
                    platform::ProgramLauncher& launcher, SysInfoMessages& messages);

    // Starts the tool named under the first place, else the one in the folder named under the
    // second place if it is there; any other outcome, and any error on the way, ends in the
    // message. Never raises.
    void StartSysInfo();

    // Reads one value as text into KeyVal: a string as it is; a number's hexadecimal digits,
    // most significant first, appended to KeyVal, with "&h" in front of it all; KeyVal is left
    // as it was for other types and emptied when the key or value cannot be read. True when the
    // value was read, whatever its type. An empty value is a RuntimeError (invalid argument). The
    // key is closed on every way out.
    bool GetKeyValue(const platform::Registry::Key& KeyRoot, const std::string& KeyName,
                     const std::string& SubKeyRef, std::string& KeyVal);

private:
    platform::Registry& m_registry;
    platform::FileSearch& m_files;
    platform::ProgramLauncher& m_launcher;
    SysInfoMessages& m_messages;
};
