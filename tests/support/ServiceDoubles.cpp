#include "tests/support/ServiceDoubles.h"

namespace testsupport {

using platform::RuntimeError;

bool FakeMessageBox::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (answers.empty()) {
        ++unansweredQuestions;
        return false;
    }
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void FakeMessageBox::clear() {
    okTexts.clear();
    questions.clear();
    answers.clear();
    unansweredQuestions = 0;
}

std::int32_t EmptyRegistry::RegOpenKeyExA(Key, const std::string&, std::uint32_t, std::uint32_t,
                                          Key* result) {
    *result = 0;
    return FileNotFound;
}

std::int32_t EmptyRegistry::RegQueryValueExA(Key, const std::string&, std::uint32_t*,
                                             std::uint32_t*, unsigned char*, std::uint32_t*) {
    return InvalidHandle;
}

std::vector<std::string> RecordingRegistry::openedKeys() const {
    std::vector<std::string> names;
    for (const Open& open : opens)
        names.push_back(open.keyName);
    return names;
}

std::int32_t RecordingRegistry::RegOpenKeyExA(Key root, const std::string& keyName,
                                              std::uint32_t options, std::uint32_t accessMask,
                                              Key* result) {
    const std::int32_t code = m_registry.RegOpenKeyExA(root, keyName, options, accessMask, result);
    opens.push_back({keyName, accessMask, code, result ? *result : 0});
    return code;
}

std::int32_t RecordingRegistry::RegQueryValueExA(Key key, const std::string& valueName,
                                                 std::uint32_t* reserved, std::uint32_t* type,
                                                 unsigned char* data, std::uint32_t* dataSize) {
    return m_registry.RegQueryValueExA(key, valueName, reserved, type, data, dataSize);
}

std::int32_t RecordingRegistry::RegCloseKey(Key key) {
    const std::int32_t code = m_registry.RegCloseKey(key);
    closes.push_back({key, code});
    return code;
}

std::int64_t RecordingLauncher::startProgram(const std::string& path, int windowStyle) {
    paths.push_back(path);
    styles.push_back(windowStyle);
    if (!m_launcher && !programs.contains(path))
        throw RuntimeError::of(RuntimeError::FileNotFound);
    const std::int64_t id =
        m_launcher ? m_launcher->startProgram(path, windowStyle) : std::int64_t(started.size() + 1);
    started.push_back(id);
    return id;
}

namespace {

class FailingWriter : public platform::FileWriter {
public:
    FailingWriter(FailingWriters::Step failAt, RuntimeError::Number error)
        : m_failAt(failAt), m_error(error), m_system(platform::makeSystemFileWriter()) {}
    void open(const std::string& path) override {
        failAt(FailingWriters::Open);
        m_system->open(path);
    }
    void write(std::string_view bytes) override {
        if (m_failAt == FailingWriters::Write)
            m_system->write(bytes.substr(0, 2));
        failAt(FailingWriters::Write);
        m_system->write(bytes);
    }
    void flush() override {
        failAt(FailingWriters::Flush);
        m_system->flush();
    }
    void commit() override {
        failAt(FailingWriters::Commit);
        m_system->commit();
    }

private:
    void failAt(FailingWriters::Step step) {
        if (step == m_failAt)
            throw RuntimeError::of(m_error);
    }
    FailingWriters::Step m_failAt;
    RuntimeError::Number m_error;
    std::unique_ptr<platform::FileWriter> m_system;
};

class RecordingWriter : public platform::FileWriter {
public:
    explicit RecordingWriter(std::vector<std::string>& opened) : m_opened(opened) {}
    void open(const std::string& path) override { m_opened.push_back(path); }
    void write(std::string_view) override {}
    void flush() override {}
    void commit() override {}

private:
    std::vector<std::string>& m_opened;
};

} // namespace

std::unique_ptr<platform::FileWriter> FailingWriters::make() {
    return std::make_unique<FailingWriter>(m_failAt, m_error);
}

std::unique_ptr<platform::FileWriter> RecordingWriters::make() {
    return std::make_unique<RecordingWriter>(opened);
}

} // namespace testsupport
