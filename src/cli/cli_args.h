#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qbr::cli {

// "--name value" options and plain arguments of one command.
class Args {
  public:
    // Fails (returns nullopt and sets the error) on an unknown option or a missing value.
    static std::optional<Args> parse(const std::vector<std::string>& words,
                                     const std::vector<std::string>& known, std::string& error);

    bool has(const std::string& name) const { return options_.count(name) != 0; }
    std::string get(const std::string& name, const std::string& fallback = {}) const;
    const std::vector<std::string>& positional() const { return positional_; }

  private:
    std::map<std::string, std::string> options_;
    std::vector<std::string> positional_;
};

} // namespace qbr::cli
