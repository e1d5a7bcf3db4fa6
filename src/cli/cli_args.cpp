#include "cli/cli_args.h"

#include <algorithm>

namespace qbr::cli {

std::optional<Args> Args::parse(const std::vector<std::string>& words,
                                const std::vector<std::string>& known, std::string& error) {
    Args args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0 || word == "--") {
            args.positional_.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            error = "option --" + name + " needs a value";
            return std::nullopt;
        }
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            error = "unknown option --" + name;
            return std::nullopt;
        }
        args.options_[name] = value;
    }
    return args;
}

std::string Args::get(const std::string& name, const std::string& fallback) const {
    const auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second;
}

} // namespace qbr::cli
