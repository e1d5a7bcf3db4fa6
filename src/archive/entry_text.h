#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The columns of a listing as text, shared by the window and the CLI.
namespace qbr::archive {

// Decimal bytes, or "-" when the archive does not say.
std::string sizeText(std::optional<std::uint64_t> size);

// "YYYY-MM-DD HH:MM:SS" in local time, or "-" when the archive gives no date.
std::string dateText(std::optional<std::int64_t> seconds);

} // namespace qbr::archive
