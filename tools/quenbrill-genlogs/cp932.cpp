#include "quenbrill-genlogs/cp932.h"

#include "quenbrill-genlogs/markers.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace genlogs {

Cp932::Cp932() : cd_(iconv_open("CP932", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("iconv cannot convert UTF-8 to CP932: ") +
                                 std::strerror(errno));
    }
    // The texts we convert must agree byte for byte with the markers we spell out; an
    // iconv with another idea of CP932 would make corpora that differ between machines.
    if ((*this)("項目 (1:OK  2:NG  E:終了)") != kPrompt ||
        (*this)("－該当するデータはありません－") != kNoData || (*this)("：1") != kAnswerYes ||
        (*this)("＞") != kTopPrompt) {
        iconv_close(cd_);
        throw std::runtime_error("this iconv's CP932 table differs from the one expected");
    }
}

Cp932::~Cp932() {
    iconv_close(cd_);
}

std::string Cp932::operator()(std::string_view utf8) const {
    std::string out(utf8.size() * 2 + 4, '\0');
    // iconv's interface takes non-const pointers; it reads the input only.
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* dst = out.data();
    std::size_t outLeft = out.size();
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("text not representable in CP932: " + std::string(utf8));
    }
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace genlogs
