#pragma once

#include "posix/file_probe.h"

#include <map>
#include <string>
#include <vector>

namespace qbr::test {

// Files by full path with their dates; every path asked about is recorded.
class FakeFileProbe : public platform::FileProbe {
  public:
    void addFile(const std::string& path, double date = 0) { files_[path] = date; }
    void removeFile(const std::string& path) { files_.erase(path); }

    bool isRegularFile(const std::string& path) override {
        asked_.push_back(path);
        return files_.count(path) != 0;
    }
    std::optional<double> fileDate(const std::string& path) override {
        dated_.push_back(path);
        const auto found = files_.find(path);
        return found == files_.end() ? std::nullopt : std::optional<double>(found->second);
    }

    const std::vector<std::string>& asked() const { return asked_; }
    const std::vector<std::string>& dated() const { return dated_; }

  private:
    std::map<std::string, double> files_;
    std::vector<std::string> asked_;
    std::vector<std::string> dated_;
};

} // namespace qbr::test
