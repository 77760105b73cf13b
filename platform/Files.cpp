#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/Service.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

namespace platform {

namespace {

using Refusal = FileCalls::Refusal;

// How long a refused replacement is tried again: a scanner or an indexer holds a file it has just
// seen for a moment, and half a second sees most of them go. Only refusals that may pass are
// retried; what a folder's rights refuse stays refused.
constexpr std::chrono::milliseconds replaceRetryPauses[] = {
    std::chrono::milliseconds(50), std::chrono::milliseconds(100), std::chrono::milliseconds(150),
    std::chrono::milliseconds(200)};

// The temporary file beside a target, "~NAME.PID-N.tmp" with PID and N in lowercase hexadecimal
// without leading zeros: what a writer makes, and the only names a sweep considers.
struct TemporaryNames {
    std::string folder; // with its trailing separator, or empty
    std::string start;
    static constexpr std::string_view end = ".tmp";

    explicit TemporaryNames(const std::string& target) {
        const std::size_t slash = target.find_last_of("\\/");
        const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        folder = target.substr(0, nameStart);
        start = '~' + target.substr(nameStart) + '.';
    }
    std::string make(unsigned long process, unsigned number) const {
        char tag[32];
        std::snprintf(tag, sizeof tag, "%lx-%x", process, number);
        return folder + start + tag + std::string(end);
    }
    // The process that made a name of the writers' form, or 0 for any other name.
    unsigned long maker(std::string_view name) const {
        if (name.size() <= start.size() + end.size() || !name.starts_with(start) ||
            !name.ends_with(end))
            return 0;
        name = name.substr(start.size(), name.size() - start.size() - end.size());
        const std::size_t dash = name.find('-');
        unsigned long process = 0, number = 0;
        if (dash == std::string_view::npos || !hexNumber(name.substr(0, dash), process) ||
            !hexNumber(name.substr(dash + 1), number))
            return 0;
        return process;
    }

private:
    static bool hexNumber(std::string_view digits, unsigned long& value) {
        if (digits.empty() || digits.size() > 8 || digits[0] == '0')
            return false;
        value = 0;
        for (const char c : digits) {
            const bool decimal = c >= '0' && c <= '9';
            if (!decimal && (c < 'a' || c > 'f'))
                return false;
            value = value * 16 + unsigned(decimal ? c - '0' : c - 'a' + 10);
        }
        return true;
    }
};

// The temporary files this process's live writers hold, which its own sweeps leave alone; another
// process's are left while it runs.
class HeldNames {
public:
    static bool held(const std::string& path) {
        const std::lock_guard lock(mutex());
        return names().contains(path);
    }
    // Whether the name was free to hold.
    static bool hold(const std::string& path) {
        const std::lock_guard lock(mutex());
        return names().insert(path).second;
    }
    static void letGo(const std::string& path) {
        const std::lock_guard lock(mutex());
        names().erase(path);
    }

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::set<std::string>& names() {
        static std::set<std::string> s;
        return s;
    }
};

// Writes a temporary file beside the target and moves it over the target at commit, then flushes
// the folder. Where the folder refuses a new file, or the move stays refused, writes the target
// itself in place, so that at every moment it reads as the old contents or the new: the new
// contents, padded with blanks to the old length, in one write at the start, onto the disk, and
// only then the file cut to their length and that onto the disk too. Up to 512 bytes that one
// write falls within the disk's first sector, which a power cut leaves whole or untouched.
class ReplacingFileWriter : public FileWriter {
public:
    explicit ReplacingFileWriter(FileCalls& calls) : m_calls(calls) {}
    ~ReplacingFileWriter() override { discard(); }

    void open(const std::string& programPath) override {
        // Through a link to the file it names, so that the link stays and the temporary file is
        // made in the folder it will be moved within.
        m_target = m_calls.finalPath(programPath);
        const TemporaryNames names(m_target);
        m_folder = names.folder;
        // What a crash or a folder that refuses deletion left: removed, or else reused, so that
        // they never pile up. Only files of the writers' own form, of this user's, whose writer
        // has ended: another window's save in progress is never disturbed.
        std::string leftover;
        const unsigned long self = m_calls.processId();
        for (const std::string& name : m_calls.namesIn(names.folder, names.start, names.end)) {
            const std::string path = names.folder + name;
            const unsigned long maker = names.maker(name);
            if (maker == 0 ||
                (maker == self ? HeldNames::held(path) : m_calls.processRunning(maker)))
                continue;
            if (m_calls.ownFile(path) && !m_calls.remove(path) && leftover.empty())
                leftover = path;
        }
        // Each name is held before its file is opened, so that no sweep of another thread here
        // takes it for a stray in between.
        if (!leftover.empty() && HeldNames::hold(leftover)) {
            try {
                m_file = m_calls.reuse(leftover, m_target);
            } catch (const RuntimeError&) {
                // Held by someone else: a name of our own instead.
            }
            if (m_file) {
                m_temporary = leftover;
                return;
            }
            HeldNames::letGo(leftover);
        }
        static std::atomic<unsigned> counter = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string temporary = names.make(self, ++counter);
            Refusal refusal = Refusal::None;
            HeldNames::hold(temporary);
            m_file = m_calls.create(temporary, m_target, refusal);
            if (m_file) {
                m_temporary = temporary;
                return;
            }
            HeldNames::letGo(temporary);
            if (refusal != Refusal::Exists) {
                m_file = openInPlace();
                return;
            }
        }
        throw RuntimeError::of(RuntimeError::PathFileAccess);
    }

    // In place, nothing reaches the file before commit's one write.
    void write(std::string_view bytes) override {
        m_contents += bytes;
        if (!m_temporary.empty())
            m_file->write(bytes);
    }

    void flush() override {
        if (!m_temporary.empty())
            m_file->flush();
    }

    void commit() override {
        try {
            if (m_temporary.empty()) {
                writeInPlace(*m_file);
                m_file.reset();
            } else {
                // On the disk before it takes the old file's place, so that a crash leaves one of
                // them.
                m_file->cut(m_contents.size());
                m_file->flush();
                m_file->close();
                m_file.reset();
                if (replace()) {
                    m_calls.flushFolder(m_folder);
                    return;
                }
                // Still refused: the file itself may be writable where its folder's entry is not.
                try {
                    writeInPlace(*openInPlace());
                } catch (const RuntimeError&) {
                    throw RuntimeError::of(RuntimeError::PermissionDenied);
                }
            }
        } catch (...) {
            discard();
            throw;
        }
        discard();
    }

private:
    void writeInPlace(FileCalls::File& file) {
        std::string padded = m_contents;
        const std::uint64_t old = file.size();
        if (padded.size() < old)
            padded.append(std::size_t(old - padded.size()), ' ');
        file.write(padded);
        file.flush();
        file.cut(m_contents.size());
        file.flush();
        file.close();
        m_calls.flushFolder(m_folder);
    }

    // Whether the temporary file took the target's place.
    bool replace() {
        for (std::size_t attempt = 0;; ++attempt) {
            const Refusal refusal = m_calls.replace(m_temporary, m_target);
            if (refusal == Refusal::None) {
                HeldNames::letGo(m_temporary);
                m_temporary.clear();
                return true;
            }
            if (refusal != Refusal::Busy || attempt == std::size(replaceRetryPauses))
                return false;
            std::this_thread::sleep_for(replaceRetryPauses[attempt]);
        }
    }

    std::unique_ptr<FileCalls::File> openInPlace() {
        try {
            return m_calls.openExisting(m_target);
        } catch (const RuntimeError& e) {
            // No file to write in place: the folder's refusal is the failure.
            if (e.number() == RuntimeError::PathNotFound ||
                e.number() == RuntimeError::FileNotFound)
                throw RuntimeError::of(RuntimeError::PermissionDenied);
            throw;
        }
    }

    // Where the folder refuses the removal, the next writer's open reuses the name.
    void discard() {
        m_file.reset();
        if (!m_temporary.empty()) {
            m_calls.remove(m_temporary);
            HeldNames::letGo(m_temporary);
        }
        m_temporary.clear();
    }

    FileCalls& m_calls;
    std::string m_target;
    std::string m_folder;
    std::string m_temporary; // empty when writing in place, or once moved
    std::string m_contents;  // for the in-place write at commit
    std::unique_ptr<FileCalls::File> m_file;
};

class SystemFileWriters : public FileWriters {
public:
    std::unique_ptr<FileWriter> make() override { return makeSystemFileWriter(); }
};

} // namespace

std::unique_ptr<FileWriter> makeSystemFileWriter() {
    return makeReplacingFileWriter(systemFileCalls());
}

std::unique_ptr<FileWriter> makeReplacingFileWriter(FileCalls& calls) {
    return std::make_unique<ReplacingFileWriter>(calls);
}

FileWriters& FileWriters::current() {
    return currentService<FileWriters, SystemFileWriters>();
}

FileWriters* FileWriters::install(FileWriters* writers) {
    return installService(writers);
}

void writeFile(const std::string& programPath, std::string_view contents) {
    const std::unique_ptr<FileWriter> writer = FileWriters::current().make();
    writer->open(programPath);
    writer->write(contents);
    writer->flush();
    writer->commit();
}

} // namespace platform
