#include "ui/display_text.h"

#include "bytes/sjis_text.h"
#include "posix/cp932_codec.h"

namespace qbr::ui {

QString displayText(std::string_view cp932) {
    return QString::fromStdU16String(platform::decodeCp932(cp932));
}

std::string withFullStop(std::string_view cp932) {
    std::string text(cp932);
    if (text.empty())
        return text;
    // Walk from the start: a trail byte can look like a full stop or a letter on its own.
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size();) {
        last = i;
        i += isSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    if (static_cast<unsigned char>(text[last]) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

} // namespace qbr::ui
