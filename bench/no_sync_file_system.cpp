#include "no_sync_file_system.h"

namespace qbr::bench {

namespace {

class NoSyncOutputFile final : public OutputFile {
  public:
    explicit NoSyncOutputFile(std::unique_ptr<OutputFile> inner) : inner_(std::move(inner)) {}

    int write(const char* data, std::size_t size) override { return inner_->write(data, size); }
    int sync() override { return 0; }
    int close() override { return inner_->close(); }

  private:
    std::unique_ptr<OutputFile> inner_;
};

} // namespace

std::unique_ptr<OutputFile> NoSyncFileSystem::create(const std::string& path, int& error) {
    std::unique_ptr<OutputFile> file = inner_.create(path, error);
    if (!file)
        return nullptr;
    return std::make_unique<NoSyncOutputFile>(std::move(file));
}

std::unique_ptr<OutputFile> NoSyncFileSystem::createTemporaryBeside(const std::string& path,
                                                                    std::string& temporaryPath,
                                                                    int& error) {
    std::unique_ptr<OutputFile> file = inner_.createTemporaryBeside(path, temporaryPath, error);
    if (!file)
        return nullptr;
    return std::make_unique<NoSyncOutputFile>(std::move(file));
}

} // namespace qbr::bench
