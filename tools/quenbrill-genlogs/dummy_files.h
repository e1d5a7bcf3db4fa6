#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace genlogs {

// The contents of a downloaded file, chosen by its extension: small, and a valid file of its
// kind where that is cheap (.LZH and .ZIP hold one stored text member, .EXE is a DOS program
// that prints one line). dosTime is the packed MS-DOS date (high half) and time (low half)
// given to archive members. text is CP932.
std::string dummyFile(std::string_view fileName, std::string_view text, std::uint32_t dosTime);

std::string lzhArchive(std::string_view memberName, std::string_view data, std::uint32_t dosTime);
std::string zipArchive(std::string_view memberName, std::string_view data, std::uint32_t dosTime);
std::string dosProgram(std::string_view message);

} // namespace genlogs
