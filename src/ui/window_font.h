#pragma once

#include <QFont>

namespace qbr::ui {

// The windows' face: "ＭＳ Ｐゴシック" where it exists, else IPA's metric-compatible substitute;
// a 12-pixel character height.
QFont windowFont();
// Memo1's fixed-pitch face: "ＭＳ ゴシック", else IPAGothic.
QFont memoFont();

} // namespace qbr::ui
