#pragma once

#include <string_view>

namespace genlogs {

// The lines the catalog's scanner recognises, as CP932 bytes. They are spelled out here rather
// than converted, so that no converter can change them.

// "項目 (1:OK  2:NG  E:終了)": the download prompt, two spaces before "2:" and before "E:".
inline constexpr std::string_view kPrompt = "\x8D\x80\x96\xDA"
                                            " (1:OK  2:NG  E:"
                                            "\x8F\x49\x97\xB9"
                                            ")";
// "：1", "：2", "：E": the user's answers to the prompt.
inline constexpr std::string_view kAnswerYes = "\x81\x46"
                                               "1";
inline constexpr std::string_view kAnswerNo = "\x81\x46"
                                              "2";
inline constexpr std::string_view kAnswerEnd = "\x81\x46"
                                               "E";
// "－該当するデータはありません－": the service's reply to a download of an item it lacks.
inline constexpr std::string_view kNoData = "\x81\x7C\x8A\x59\x93\x96\x82\xB7\x82\xE9\x83\x66"
                                            "\x81\x5B\x83\x5E\x82\xCD\x82\xA0\x82\xE8\x82\xDC"
                                            "\x82\xB9\x82\xF1\x81\x7C";
// "＞": the prompt of the service's top level.
inline constexpr std::string_view kTopPrompt = "\x81\x84";

inline constexpr std::string_view kLibDow = "LIB>DOW";
inline constexpr std::string_view kEol = "\r\n";

} // namespace genlogs
