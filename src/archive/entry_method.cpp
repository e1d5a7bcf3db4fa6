#include "archive/entry_method.h"

namespace qbr::archive {

std::string methodFromFormatName(const char* formatName) {
    if (!formatName)
        return {};
    const std::string_view name(formatName);
    if (name.substr(0, 4) == "lha ")
        return std::string(name.substr(4));
    const std::size_t open = name.find('(');
    if (name.substr(0, 4) != "ZIP " || open == std::string_view::npos)
        return std::string(name);
    std::string_view method = name.substr(open + 1);
    method = method.substr(0, method.find_first_of(",)"));
    if (method == "uncompressed")
        return "stored";
    if (method == "deflation")
        return "deflate";
    if (method == "deflation-64-bit")
        return "deflate64";
    return std::string(method);
}

} // namespace qbr::archive
