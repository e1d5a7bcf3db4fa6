#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The system's own texts, as CP932 bytes. The UTF-8 form stands beside each for the reader.
namespace qbr::msg {

// "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (%d)"
inline constexpr std::string_view kListIndex =
    "\xD8\xBD\xC4\x82\xCC\xB2\xDD\xC3\xDE\xAF\xB8\xBD\x82\xAA\x94\xCD\x88\xCD\x82\xF0\x92\xB4\x82"
    "\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7 (%d)";
// "ﾌｧｲﾙが見つかりません"
inline constexpr std::string_view kFileNotFound =
    "\xCC\xA7\xB2\xD9\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
// "不正なﾌｧｲﾙ名です"
inline constexpr std::string_view kInvalidFileName =
    "\x95\x73\x90\xB3\x82\xC8\xCC\xA7\xB2\xD9\x96\xBC\x82\xC5\x82\xB7";
// "ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます"
inline constexpr std::string_view kTooManyOpenFiles =
    "\xB5\xB0\xCC\xDF\xDD\x82\xB5\x82\xBD\xCC\xA7\xB2\xD9\x82\xAA\x91\xBD\x82\xB7\x82\xAC\x82\xDC"
    "\x82\xB7";
// "ﾌｧｲﾙへのｱｸｾｽが拒否されました"
inline constexpr std::string_view kAccessDenied =
    "\xCC\xA7\xB2\xD9\x82\xD6\x82\xCC\xB1\xB8\xBE\xBD\x82\xAA\x8B\x91\x94\xDB\x82\xB3\x82\xEA\x82"
    "\xDC\x82\xB5\x82\xBD";
// "ﾌｧｲﾙの末尾以降を読み込みました"
inline constexpr std::string_view kReadBeyondEnd =
    "\xCC\xA7\xB2\xD9\x82\xCC\x96\x96\x94\xF6\x88\xC8\x8D\x7E\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82"
    "\xDD\x82\xDC\x82\xB5\x82\xBD";
// "ﾃﾞｨｽｸがいっぱいです"
inline constexpr std::string_view kDiskFull =
    "\xC3\xDE\xA8\xBD\xB8\x82\xAA\x82\xA2\x82\xC1\x82\xCF\x82\xA2\x82\xC5\x82\xB7";
// "I/O ｴﾗｰ (%d)"
inline constexpr std::string_view kIoError = "I/O \xB4\xD7\xB0 (%d)";
// "ｱｲﾃﾑ "%s" の階層が不正です"
inline constexpr std::string_view kBadLevel =
    "\xB1\xB2\xC3\xD1 \"%s\" \x82\xCC\x8A\x4B\x91\x77\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7";
// "ﾌｧｲﾙ %s は開けません"
inline constexpr std::string_view kCannotOpen =
    "\xCC\xA7\xB2\xD9 %s \x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
// "ﾌｧｲﾙ %s を作成できません"
inline constexpr std::string_view kCannotCreate =
    "\xCC\xA7\xB2\xD9 %s \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"
inline constexpr std::string_view kStreamWriteError =
    "\xBD\xC4\xD8\xB0\xD1\x82\xD6\x82\xCC\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\xB4\xD7\xB0";
// "カタログの読み込みが途中で終わったため、ファイル %s を上書きしません"
// Ours: the partial catalog in memory must not replace the complete one on disk.
inline constexpr std::string_view kNotSavingPartial =
    "\x83\x4A\x83\x5E\x83\x8D\x83\x4F\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xAA\x93\x72\x92"
    "\x86\x82\xC5\x8F\x49\x82\xED\x82\xC1\x82\xBD\x82\xBD\x82\xDF\x81\x41\x83\x74\x83\x40\x83\x43"
    "\x83\x8B %s \x82\xF0\x8F\xE3\x8F\x91\x82\xAB\x82\xB5\x82\xDC\x82\xB9\x82\xF1";

// Ours: a reading cut short means the files hold more than the catalog in memory.
// "ファイル %s は NUL バイトの所で読み込みが止まりました"
inline constexpr std::string_view kStoppedAtNul =
    "\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xCD NUL \x83\x6F\x83\x43\x83\x67\x82\xCC\x8F\x8A"
    "\x82\xC5\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xAA\x8E\x7E\x82\xDC\x82\xE8\x82\xDC\x82\xB5\x82"
    "\xBD";
// "ファイル %s には項目の数より多いレコードがあります"
inline constexpr std::string_view kExtraRecords =
    "\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xC9\x82\xCD\x8D\x80\x96\xDA\x82\xCC\x90\x94\x82\xE6"
    "\x82\xE8\x91\xBD\x82\xA2\x83\x8C\x83\x52\x81\x5B\x83\x68\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82"
    "\xB7";
// "quenbrill-cli salvage で、読めるものをすべて取り出したカタログを作れます"
inline constexpr std::string_view kSalvageHint =
    "quenbrill-cli salvage \x82\xC5\x81\x41\x93\xC7\x82\xDF\x82\xE9\x82\xE0\x82\xCC\x82\xF0\x82\xB7"
    "\x82\xD7\x82\xC4\x8E\xE6\x82\xE8\x8F\x6F\x82\xB5\x82\xBD\x83\x4A\x83\x5E\x83\x8D\x83\x4F\x82"
    "\xF0"
    "\x8D\xEC\x82\xEA\x82\xDC\x82\xB7";
// "カタログ %s は他の Quenbrill が使用中です"
inline constexpr std::string_view kCatalogInUse =
    "\x83\x4A\x83\x5E\x83\x8D\x83\x4F %s \x82\xCD\x91\xBC\x82\xCC Quenbrill "
    "\x82\xAA\x8E\x67\x97\x70"
    "\x92\x86\x82\xC5\x82\xB7";

// "データを読込中..."
inline constexpr std::string_view kLoading =
    "\x83\x66\x81\x5B\x83\x5E\x82\xF0\x93\xC7\x8D\x9E\x92\x86...";
// "データを保存中..."
inline constexpr std::string_view kSaving =
    "\x83\x66\x81\x5B\x83\x5E\x82\xF0\x95\xDB\x91\xB6\x92\x86...";

// Replaces the first "%d" of a pattern by a decimal number.
std::string formatNumber(std::string_view pattern, std::int64_t value);
// Replaces the first "%s" of a pattern by a byte string.
std::string formatText(std::string_view pattern, std::string_view text);

// The run time's message for a file error code of the platform that first ran this program
// (2 file not found, 3 invalid name, 4 too many open files, 5 access denied, 100 read past the
// end, 101 disk full, anything else "I/O ｴﾗｰ (%d)").
std::string runtimeMessage(int code);
// The same numbering for a POSIX errno, so that users see the messages they know; an errno
// without a counterpart gives 0.
int runtimeCode(int posixErrno);
// The message for a POSIX errno: the run time's text where one fits, else "I/O ｴﾗｰ (errno)".
std::string systemErrorMessage(int posixErrno);

std::string listIndexMessage(std::int64_t position);

// The system's own description of an errno, the same in every locale, for the second line of
// a message: "Permission denied (errno 13)".
std::string systemReason(int posixErrno);
// A message, then a second line that says where or why ("TEXT\nDETAIL").
std::string withDetail(std::string_view text, std::string_view detail);

} // namespace qbr::msg
