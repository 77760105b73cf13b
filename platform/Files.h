#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Files named by the program's own paths (UTF-8, backslashes, perhaps a drive; see slashPath),
// opened and closed within one call. Failures are run-time errors: path not found, permission
// denied, disk full, or a general file access error.
namespace platform {

// The first bytes of a regular file, at most maxBytes of them. Anything else under the name (a
// folder, a device, a pipe) is an error; opening never waits for another program.
std::string readFileStart(const std::string& programPath, std::size_t maxBytes);

// Writes a file's new contents beside the old one and swaps it in only at commit, so that a
// failure at any step leaves the old file whole. Where the folder allows no new file but the
// file itself can be written, it is written in place instead. Each step raises a run-time error
// on failure; a writer destroyed before its commit leaves nothing of itself behind.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual void open(const std::string& programPath) = 0;
    virtual void write(std::string_view bytes) = 0;
    virtual void flush() = 0;
    virtual void commit() = 0;
};

// The system's writer, for tests that wrap it.
std::unique_ptr<FileWriter> makeSystemFileWriter();

// Where writers come from: the system's unless a test installed another source.
class FileWriters {
public:
    virtual ~FileWriters() = default;
    virtual std::unique_ptr<FileWriter> make() = 0;

    static FileWriters& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static FileWriters* install(FileWriters* writers);
};

// Replaces a file's contents through a writer of the current source.
void writeFile(const std::string& programPath, std::string_view contents);

} // namespace platform
