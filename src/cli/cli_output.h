#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qbr::cli {

// How texts of the catalog reach standard output: decoded to UTF-8, or the CP932 bytes as
// they are.
enum class Encoding { Utf8, Sjis };

class Output {
  public:
    explicit Output(Encoding encoding) : encoding_(encoding) {}
    // One line, followed by LF.
    void line(std::string_view bytes) const;
    void flush() const { std::fflush(stdout); }

  private:
    Encoding encoding_;
};

// An error's text on standard error, in UTF-8.
void printError(std::string_view cp932Text);

} // namespace qbr::cli
