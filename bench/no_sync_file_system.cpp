#include "no_sync_file_system.h"

namespace qbr::bench {

namespace {

std::unique_ptr<OutputFile> withoutSync(std::unique_ptr<OutputFile> file);

class NoSyncOutputFile final : public OutputFile {
  public:
    explicit NoSyncOutputFile(std::unique_ptr<OutputFile> inner) : inner_(std::move(inner)) {}

    int write(const char* data, std::size_t size) override { return inner_->write(data, size); }
    int sync() override { return 0; }
    int close() override { return inner_->close(); }

  private:
    std::unique_ptr<OutputFile> inner_;
};

std::unique_ptr<OutputFile> withoutSync(std::unique_ptr<OutputFile> file) {
    if (!file)
        return nullptr;
    return std::make_unique<NoSyncOutputFile>(std::move(file));
}

} // namespace

std::unique_ptr<OutputFile> NoSyncFileSystem::create(const std::string& path, int& error) {
    return withoutSync(inner_.create(path, error));
}

std::unique_ptr<OutputFile> NoSyncFileSystem::createTemporaryBeside(const std::string& path,
                                                                    std::string& temporaryPath,
                                                                    int& error) {
    return withoutSync(inner_.createTemporaryBeside(path, temporaryPath, error));
}

std::unique_ptr<OutputFile> NoSyncFileSystem::createLike(const std::string& path,
                                                         const std::string& model, int& error) {
    return withoutSync(inner_.createLike(path, model, error));
}

std::unique_ptr<OutputFile> NoSyncFileSystem::createExclusive(const std::string& path, int& error) {
    return withoutSync(inner_.createExclusive(path, error));
}

} // namespace qbr::bench
