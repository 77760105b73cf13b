// The replacing writer's own rule over a model folder: which temporary files it removes, reuses
// or leaves, how long it retries, and what a power cut after any one of its steps leaves.
#include "platform/Files.h"
#include "platform/RuntimeError.h"

#include <QTest>

#include <map>
#include <memory>
#include <set>

using platform::FileCalls;
using platform::RuntimeError;

namespace {

// This process, and another one still running; every other number's process has ended.
constexpr unsigned long self = 0x100, running = 0x200;
const std::string folder = "f\\", name = "q.txt";
const std::string oldBytes = "\" 12345.50\"\r\n", newBytes = "\" 99\"\r\n";

// A file's bytes now and those on the disk, which are all a power cut leaves.
struct Node {
    std::string now, disk;
    unsigned mode = 0600;
    bool own = true, link = false;
};
using Entries = std::map<std::string, std::shared_ptr<Node>>;

struct PowerCut {};

class ModelFolder : public FileCalls {
public:
    Entries now, disk;               // the folder's names now, and on the disk
    std::size_t cutAfter = SIZE_MAX; // steps that reach the disk before the power goes
    bool powerGone = false;
    bool closed = false;     // no new file, no replacement
    bool namesTaken = false; // every new name exists already
    int busy = 0;            // replacements refused for a moment before one goes through
    std::set<std::string> undeletable;

    class File : public FileCalls::File {
    public:
        File(ModelFolder& folder, std::shared_ptr<Node> node) : m_folder(folder), m_node(node) {}
        void write(std::string_view bytes) override {
            if (!m_folder.step())
                return;
            std::string& now = m_node->now;
            now.resize(std::max(now.size(), m_at + bytes.size()));
            now.replace(m_at, bytes.size(), bytes);
            m_at += bytes.size();
        }
        void flush() override {
            if (m_folder.step())
                m_node->disk = m_node->now;
        }
        void cut(std::uint64_t length) override {
            if (m_folder.step())
                m_node->now.resize(std::size_t(length));
        }
        std::uint64_t size() override { return m_node->now.size(); }
        void close() override {}

    private:
        ModelFolder& m_folder;
        std::shared_ptr<Node> m_node;
        std::size_t m_at = 0;
    };

    // Whether the step happens: none does once the power has gone.
    bool step() {
        if (powerGone)
            return false;
        if (cutAfter-- == 0) {
            powerGone = true;
            throw PowerCut{};
        }
        return true;
    }
    static std::string nameOf(const std::string& path) { return path.substr(folder.size()); }
    std::shared_ptr<Node> at(const std::string& path) {
        const auto found = now.find(nameOf(path));
        return found == now.end() ? nullptr : found->second;
    }

    std::string finalPath(const std::string& path) override { return path; }
    std::unique_ptr<FileCalls::File> create(const std::string& path, const std::string& like,
                                            Refusal& refusal) override {
        refusal = closed ? Refusal::Lasting : namesTaken || at(path) ? Refusal::Exists : refusal;
        if (refusal != Refusal::None || !step())
            return nullptr;
        auto node = std::make_shared<Node>();
        node->mode = at(like) ? at(like)->mode : 0644;
        now[nameOf(path)] = node;
        return std::make_unique<File>(*this, node);
    }
    std::unique_ptr<FileCalls::File> openExisting(const std::string& path) override {
        if (!at(path))
            throw RuntimeError::of(RuntimeError::PathNotFound);
        return std::make_unique<File>(*this, at(path));
    }
    std::unique_ptr<FileCalls::File> reuse(const std::string& path,
                                           const std::string& like) override {
        const std::shared_ptr<Node> node = at(path);
        if (!node || !node->own || node->link)
            return nullptr;
        node->mode = at(like)->mode;
        return std::make_unique<File>(*this, node);
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        if (closed)
            return Refusal::Lasting;
        if (busy > 0 && busy--)
            return Refusal::Busy;
        if (step()) {
            now[nameOf(to)] = at(from);
            now.erase(nameOf(from));
        }
        return Refusal::None;
    }
    void flushFolder(const std::string& path) override {
        QCOMPARE(path, folder);
        if (step())
            disk = now;
    }
    bool remove(const std::string& path) override {
        if (undeletable.contains(nameOf(path)) || !step())
            return false;
        now.erase(nameOf(path));
        return true;
    }
    bool ownFile(const std::string& path) override {
        return at(path) && at(path)->own && !at(path)->link;
    }
    std::vector<std::string> namesIn(const std::string& path, std::string_view start,
                                     std::string_view end) override {
        std::vector<std::string> names;
        if (path == folder)
            for (const auto& [entry, node] : now)
                if (entry.starts_with(start) && entry.ends_with(end))
                    names.push_back(entry);
        return names;
    }
    unsigned long processId() override { return self; }
    bool processRunning(unsigned long process) override {
        return process == self || process == running;
    }

    QStringList listing() const {
        QStringList names;
        for (const auto& entry : now)
            names << QString::fromStdString(entry.first);
        return names;
    }
};

// 0 when the save went through, else the run-time error it raised.
int save(ModelFolder& model) {
    try {
        const std::unique_ptr<platform::FileWriter> writer =
            platform::makeReplacingFileWriter(model);
        writer->open(folder + name);
        writer->write(newBytes);
        writer->flush();
        writer->commit();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class tst_FileWriter : public QObject {
    Q_OBJECT
private slots:
    void temporaryFilesAndRetries_data();
    void temporaryFilesAndRetries();
    void powerCutAfterAnyStep_data();
    void powerCutAfterAnyStep();
};

void tst_FileWriter::temporaryFilesAndRetries_data() {
    QTest::addColumn<QString>("stray"); // beside the file before the save
    QTest::addColumn<QString>("kind");  // of the stray, or of the folder
    QTest::addColumn<int>("busy");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("made"); // the file: "new", "reused" or "in place"; empty: not saved
    const QString file = QString::fromStdString(name);
    // clang-format off
    QTest::newRow("an ended run's is removed") << "~q.txt.1ff-1.tmp" << "" << 0 << QStringList{file} << "new";
    QTest::newRow("one no writer of this process holds is removed") << "~q.txt.100-ffff.tmp" << "" << 0 << QStringList{file} << "new";
    QTest::newRow("a running program's is left") << "~q.txt.200-3.tmp" << "" << 0 << QStringList{file, "~q.txt.200-3.tmp"} << "new";
    QTest::newRow("a name the user gave is left") << "~q.txt.notes.tmp" << "" << 0 << QStringList{file, "~q.txt.notes.tmp"} << "new";
    QTest::newRow("a leading zero is not the form") << "~q.txt.01ff-1.tmp" << "" << 0 << QStringList{file, "~q.txt.01ff-1.tmp"} << "new";
    QTest::newRow("a link is left") << "~q.txt.1ff-1.tmp" << "link" << 0 << QStringList{file, "~q.txt.1ff-1.tmp"} << "new";
    QTest::newRow("another user's is left") << "~q.txt.1ff-1.tmp" << "other's" << 0 << QStringList{file, "~q.txt.1ff-1.tmp"} << "new";
    QTest::newRow("an undeletable one is reused") << "~q.txt.1ff-1.tmp" << "undeletable" << 0 << QStringList{file} << "reused";
    QTest::newRow("replace refused 4 times: retried") << "" << "" << 4 << QStringList{file} << "new";
    QTest::newRow("refused 5 times: written in place") << "" << "" << 5 << QStringList{file} << "in place";
    QTest::newRow("every name taken: an error") << "" << "names taken" << 0 << QStringList{file} << "";
    // clang-format on
}

void tst_FileWriter::temporaryFilesAndRetries() {
    QFETCH(QString, stray);
    QFETCH(QString, kind);
    QFETCH(int, busy);
    QFETCH(QString, made);
    ModelFolder model;
    const auto old = model.now[name] = std::make_shared<Node>(Node{oldBytes, oldBytes});
    const auto leftover = std::make_shared<Node>(Node{"\" 9\"\r\n", "", 0644});
    leftover->link = kind == "link";
    leftover->own = kind != "other's";
    if (!stray.isEmpty())
        model.now[stray.toStdString()] = leftover;
    if (kind == "undeletable")
        model.undeletable.insert(stray.toStdString());
    model.namesTaken = kind == "names taken";
    model.busy = busy;

    QCOMPARE(save(model), made.isEmpty() ? int(RuntimeError::PathFileAccess) : 0);

    const std::shared_ptr<Node> file = model.now[name];
    QCOMPARE(file->now, made.isEmpty() ? oldBytes : newBytes);
    QCOMPARE(file->mode, 0600u);
    QTEST(model.listing(), "left");
    if (!made.isEmpty())
        QCOMPARE(QString(file == old ? "in place" : file == leftover ? "reused" : "new"), made);
}

void tst_FileWriter::powerCutAfterAnyStep_data() {
    QTest::addColumn<bool>("closed");
    QTest::newRow("replaced") << false;
    QTest::newRow("written in place") << true;
}

// After a power cut at any step, whichever of its names and bytes reached the disk, the file
// reads as the old line or the new one (blanks after it are read past); once the save has said
// it is done, as the new one only, with nothing left beside it.
void tst_FileWriter::powerCutAfterAnyStep() {
    QFETCH(bool, closed);
    for (std::size_t steps = 0;; ++steps) {
        ModelFolder model;
        model.now[name] = std::make_shared<Node>(Node{oldBytes, oldBytes});
        model.disk = model.now;
        model.closed = closed;
        model.cutAfter = steps;
        bool done = false;
        try {
            done = save(model) == 0;
        } catch (const PowerCut&) {
        }
        for (const Entries* entries : {&model.now, &model.disk}) {
            for (const bool onDisk : {false, true}) {
                const auto found = entries->find(name);
                QVERIFY2(found != entries->end(), qPrintable(QString::number(steps)));
                const std::string bytes = onDisk ? found->second->disk : found->second->now;
                const bool isNew = bytes.starts_with(newBytes) &&
                                   bytes.find_first_not_of(' ', newBytes.size()) == bytes.npos;
                QVERIFY2(done ? bytes == newBytes : bytes == oldBytes || isNew,
                         qPrintable(QStringLiteral("after %1 steps: %2")
                                        .arg(steps)
                                        .arg(QString::fromStdString(bytes))));
            }
        }
        if (done) {
            QCOMPARE(model.listing(), QStringList{QString::fromStdString(name)});
            QCOMPARE(model.now[name]->mode, 0600u);
            return;
        }
    }
}

QTEST_APPLESS_MAIN(tst_FileWriter)
#include "tst_FileWriter.moc"
