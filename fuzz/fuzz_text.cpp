// Any bytes as a watermark text and as CP932 text: parsing either succeeds or raises the
// error, a watermark written reads back, and decoding is lossless.
#include "catalog/error.h"
#include "posix/cp932_codec.h"
#include "settings/watermark_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        const double value = qbr::parseWatermark(input, ',');
        const double again = qbr::parseWatermark(qbr::formatWatermark(value));
        if (std::isfinite(value) && std::fabs(again - value) > std::fabs(value) * 1e-14 + 1e-300)
            __builtin_trap();
    } catch (const qbr::Error&) {
    }
    if (qbr::platform::encodeCp932(qbr::platform::decodeCp932(input)) != input)
        __builtin_trap();
    (void)qbr::platform::cp932ToUtf8(input);
    return 0;
}
