#include "pane/file_name_rules.h"

#include "bytes/sjis_text.h"

namespace qbr {

std::string_view fileExtension(std::string_view name) {
    std::size_t lastDelimiter = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); i += sjisCharLength(name, i)) {
        const char c = name[i];
        if (c == '.' || c == '\\' || c == ':' || c == '/')
            lastDelimiter = i;
    }
    if (lastDelimiter == std::string_view::npos || name[lastDelimiter] != '.')
        return {};
    return name.substr(lastDelimiter);
}

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string chosenFileName(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += sjisCharLength(path, i)) {
        if (path[i] == '/')
            start = i + 1;
    }
    return std::string(path.substr(start));
}

} // namespace qbr
