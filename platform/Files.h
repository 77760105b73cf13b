#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Files named by the program's own paths (UTF-8, backslashes, perhaps a drive; see slashPath),
// opened and closed within one call. Failures are run-time errors: path not found, permission
// denied, disk full, or a general file access error.
namespace platform {

// The first bytes of a regular file, at most maxBytes of them. Anything else under the name (a
// folder, a device, a pipe) is an error; opening never waits for another program.
std::string readFileStart(const std::string& programPath, std::size_t maxBytes);

// Writes a file's new contents beside the old one and swaps it in only at commit, so that a
// failure at any step leaves the old file whole. A symbolic link under the name is followed: the
// contents go to the file it names, and the link stays. Where the folder allows no new file, or
// the swap stays refused, but the file itself can be written, it is written in place instead.
// Each step raises a run-time error on failure; commit returns only once the new contents are on
// the disk. A writer destroyed before its commit leaves nothing of itself behind, and a writer's
// open removes what earlier ones could not, if they have ended.
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

class FileCalls;
// The same writer over other file calls, for tests that stand in for the system.
std::unique_ptr<FileWriter> makeReplacingFileWriter(FileCalls& calls);

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

// The system's file calls that the system's writer is made of, one set per system; the rule of
// when to retry, write in place or clean up is the writer's, the same on every system.
class FileCalls {
public:
    // A file open for writing from its start.
    class File {
    public:
        virtual ~File() = default; // closes, ignoring any error
        virtual void write(std::string_view bytes) = 0;
        // Onto the disk, its length included.
        virtual void flush() = 0;
        // Ends the file after that many bytes.
        virtual void cut(std::uint64_t length) = 0;
        virtual std::uint64_t size() = 0;
        // A late write error shows here.
        virtual void close() = 0;
    };
    // Why a new file or a replacement did not happen: the name is taken; the refusal may pass
    // (another program has the file open for a moment); it will not.
    enum class Refusal { None, Exists, Busy, Lasting };

    virtual ~FileCalls() = default;
    // The file a path names once symbolic links on it are followed (a bounded number of them),
    // or the path itself where it names no link.
    virtual std::string finalPath(const std::string& path) = 0;
    // A new file under a free name, never wider open to others than the file like (where that
    // exists) at any moment, and given its permissions; null with the refusal (Exists, or Lasting
    // where the folder allows no new file). Other failures raise a run-time error.
    virtual std::unique_ptr<File> create(const std::string& path, const std::string& like,
                                         Refusal& refusal) = 0;
    // An existing regular file, its contents kept until written over.
    virtual std::unique_ptr<File> openExisting(const std::string& path) = 0;
    // An existing regular file of this user's own, not reached through a link, narrowed to the
    // permissions of the file like before anything is written; null where it is anything else.
    virtual std::unique_ptr<File> reuse(const std::string& path, const std::string& like) = 0;
    // Moves a file over another, in one step; a failure other than a refusal raises an error.
    virtual Refusal replace(const std::string& from, const std::string& to) = 0;
    // The folder's list of names onto the disk (given with its trailing separator, or empty).
    virtual void flushFolder(const std::string& folder) = 0;
    // Whether the file is gone afterwards.
    virtual bool remove(const std::string& path) = 0;
    // Whether the name is a regular file of this user's own itself, not a link to one.
    virtual bool ownFile(const std::string& path) = 0;
    // The names in a folder (given with its trailing separator) that start and end as given.
    virtual std::vector<std::string> namesIn(const std::string& folder, std::string_view start,
                                             std::string_view end) = 0;
    // Tells this process's temporary files from another's.
    virtual unsigned long processId() = 0;
    // Whether a process of that number may still be running (true where the system cannot say).
    virtual bool processRunning(unsigned long process) = 0;
};

FileCalls& systemFileCalls();

} // namespace platform
