#include "cli/cli_output.h"

#include "posix/cp932_codec.h"

namespace qbr::cli {

void Output::line(std::string_view bytes) const {
    const std::string text =
        encoding_ == Encoding::Utf8 ? platform::cp932ToUtf8(bytes) : std::string(bytes);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void printError(std::string_view cp932Text) {
    const std::string text = platform::cp932ToUtf8(cp932Text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace qbr::cli
