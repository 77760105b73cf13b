#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/Service.h"

#include <chrono>
#include <cstdio>
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

// The temporary file beside a target, "~NAME.PID-N.tmp", and what every such name starts and ends
// with, whichever run of the program left it.
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
};

// Writes a temporary file beside the target and moves it over the target at commit. Where the
// folder refuses a new file, or the move stays refused, writes the target itself in place: the
// whole contents over the old ones, onto the disk, and only then the file cut to their length.
class ReplacingFileWriter : public FileWriter {
public:
    explicit ReplacingFileWriter(FileCalls& calls) : m_calls(calls) {}
    ~ReplacingFileWriter() override { discard(); }

    void open(const std::string& programPath) override {
        m_target = programPath;
        const TemporaryNames names(m_target);
        // What a crash or a folder that refuses deletion left: removed, or else reused, so that
        // they never pile up.
        std::string leftover;
        for (const std::string& name : m_calls.namesIn(names.folder, names.start, names.end)) {
            if (name.size() > names.start.size() + names.end.size() &&
                name.starts_with(names.start) && name.ends_with(names.end) &&
                !m_calls.remove(names.folder + name) && leftover.empty())
                leftover = names.folder + name;
        }
        if (!leftover.empty()) {
            try {
                m_file = m_calls.openExisting(leftover);
                m_temporary = leftover;
                return;
            } catch (const RuntimeError&) {
                // Held by someone else: a name of our own instead.
            }
        }
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string temporary = names.make(m_calls.processId(), ++counter);
            Refusal refusal = Refusal::None;
            m_file = m_calls.create(temporary, refusal);
            if (m_file) {
                m_temporary = temporary;
                return;
            }
            if (refusal != Refusal::Exists) {
                m_file = openInPlace();
                return;
            }
        }
        throw RuntimeError::of(RuntimeError::PathFileAccess);
    }

    void write(std::string_view bytes) override {
        m_contents += bytes;
        m_file->write(bytes);
    }

    void flush() override { m_file->flush(); }

    void commit() override {
        try {
            // On the disk before it takes the old file's place, so that a crash leaves one of them.
            finish(*m_file);
            m_file.reset();
            if (m_temporary.empty())
                return;
            if (replace())
                return;
            // Still refused: the file itself may be writable where its folder's entry is not.
            try {
                const std::unique_ptr<FileCalls::File> target = openInPlace();
                target->write(m_contents);
                finish(*target);
            } catch (const RuntimeError&) {
                throw RuntimeError::of(RuntimeError::PermissionDenied);
            }
        } catch (...) {
            discard();
            throw;
        }
        discard();
    }

private:
    static void finish(FileCalls::File& file) {
        file.flush();
        file.cut();
        file.close();
    }

    // Whether the temporary file took the target's place.
    bool replace() {
        for (std::size_t attempt = 0;; ++attempt) {
            const Refusal refusal = m_calls.replace(m_temporary, m_target);
            if (refusal == Refusal::None) {
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
        if (!m_temporary.empty())
            m_calls.remove(m_temporary);
        m_temporary.clear();
    }

    FileCalls& m_calls;
    std::string m_target;
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
    return std::make_unique<ReplacingFileWriter>(systemFileCalls());
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
