#pragma once

#include <iconv.h>
#include <string>
#include <string_view>

namespace genlogs {

// UTF-8 to CP932 through iconv. The generator's texts are written in UTF-8 in the source and
// converted once at start-up; a text CP932 cannot carry is an error in our own tables.
class Cp932 {
  public:
    Cp932();
    ~Cp932();
    Cp932(const Cp932&) = delete;
    Cp932& operator=(const Cp932&) = delete;

    std::string operator()(std::string_view utf8) const;

  private:
    iconv_t cd_;
};

} // namespace genlogs
