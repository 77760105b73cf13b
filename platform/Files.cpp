#include "platform/Files.h"

#include "platform/Service.h"

namespace platform {

namespace {

class SystemFileWriters : public FileWriters {
public:
    std::unique_ptr<FileWriter> make() override { return makeSystemFileWriter(); }
};

} // namespace

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
