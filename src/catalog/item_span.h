#pragma once

#include <cstdint>

namespace qbr {

// Where an item's text lies in the LineStore. Stored in the .nod file as these two
// little-endian 32-bit integers, so the fields keep their width and sign.
struct TItemSpan {
    std::int32_t First = 0;
    std::int32_t Count = 0;

    friend bool operator==(const TItemSpan&, const TItemSpan&) = default;
};

} // namespace qbr
