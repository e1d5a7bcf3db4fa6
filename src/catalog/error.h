#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace qbr {

// The one exception type of the program. Its text is the message the user sees, held as
// CP932 bytes like every other text of the system; it is decoded only where it is shown.
class Error : public std::exception {
  public:
    explicit Error(std::string text) : text_(std::move(text)) {}

    const std::string& text() const noexcept { return text_; }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    std::string text_;
};

} // namespace qbr
