#include "archive/entry_names.h"

namespace qbr::archive {
namespace {

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace

std::optional<std::string> latin1Bytes(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((b & 0x03) << 6) |
                                     (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string restoreTrailBackslashes(std::string bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (!isLead(static_cast<unsigned char>(bytes[i])))
            continue;
        if (bytes[i + 1] == '/')
            bytes[i + 1] = '\\';
        ++i;
    }
    return bytes;
}

bool escapesFolder(std::string_view bytes) {
    if (bytes.empty() || bytes[0] == '/' || bytes[0] == '\\')
        return true;
    if (bytes.size() >= 2 && bytes[1] == ':')
        return true;
    // Split on both separators byte by byte: a 0x5C trail byte may split a Shift-JIS name
    // wrongly here, which can only make a name look unsafe, never a ".." look safe.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '/' || bytes[i] == '\\') {
            if (bytes.substr(start, i - start) == "..")
                return true;
            start = i + 1;
        }
    }
    return false;
}

std::string leafName(std::string_view utf8) {
    const std::size_t cut = utf8.find_last_of("/\\");
    std::string leaf(cut == std::string_view::npos ? utf8 : utf8.substr(cut + 1));
    if (leaf == "." || leaf == "..")
        return {};
    for (char& c : leaf) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    // File systems take 255 bytes: keep the end, where the extension that picks the program
    // is, and start on a character.
    if (leaf.size() > 255) {
        std::size_t from = leaf.size() - 255;
        while (from < leaf.size() && (static_cast<unsigned char>(leaf[from]) & 0xC0) == 0x80)
            ++from;
        leaf.erase(0, from);
    }
    return leaf;
}

} // namespace qbr::archive
