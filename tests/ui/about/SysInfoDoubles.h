#pragma once

#include "platform/FileSearch.h"
#include "platform/ProgramLauncher.h"
#include "platform/RuntimeError.h"
#include "platform/nix/TextRegistry.h"
#include "ui/about/SysInfoLauncher.h"

#include <QSet>
#include <QStringList>

namespace sysinfotest {

inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A registry from export text that logs what is asked of it.
class RecordingRegistry : public platform::Registry {
public:
    explicit RecordingRegistry(const std::string& text)
        : hive(platform::TextRegistry::fromText(text)) {}

    platform::TextRegistry hive;
    QStringList opened; // key names, in order
    QList<Key> closed;  // handles, null ones too

    std::int32_t RegOpenKeyExA(Key root, const std::string& keyName, std::uint32_t options,
                               std::uint32_t accessMask, Key* result) override {
        opened << q(keyName);
        return hive.RegOpenKeyExA(root, keyName, options, accessMask, result);
    }
    std::int32_t RegQueryValueExA(Key key, const std::string& name, std::uint32_t* reserved,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* size) override {
        return hive.RegQueryValueExA(key, name, reserved, type, data, size);
    }
    std::int32_t RegCloseKey(Key key) override {
        closed << key;
        return hive.RegCloseKey(key);
    }
};

// Records every start; only the listed programs start, the rest fail as the system's would.
class RecordingLauncher : public platform::ProgramLauncher {
public:
    QSet<QString> programs;
    QStringList started; // every path asked for, started or not
    QList<int> styles;

    std::int64_t startProgram(const std::string& path, int windowStyle) override {
        started << q(path);
        styles << windowStyle;
        if (!programs.contains(q(path)))
            throw platform::RuntimeError::of(platform::RuntimeError::FileNotFound);
        return started.size();
    }
};

// The file search in use when it was made, counting the searches.
class CountingSearch : public platform::FileSearch {
public:
    int searches = 0;
    std::string findOrdinaryFile(const std::string& path) override {
        ++searches;
        return m_search.findOrdinaryFile(path);
    }

private:
    platform::FileSearch& m_search = platform::FileSearch::current();
};

class RecordingMessages : public SysInfoMessages {
public:
    QStringList texts;
    void showOk(const std::string& text) override { texts << q(text); }
};

} // namespace sysinfotest
