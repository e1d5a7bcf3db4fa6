#pragma once

#include "settings/registry_store.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::platform {

// The text of a REGEDIT4 file (the ANSI form regedit exports), held line by line so that a
// rewrite keeps everything it was not asked to change: comments, blank lines, keys of other
// programs, values and their order, the line ending. Keys are full paths with the hive
// ("HKEY_CURRENT_USER\Software\EmSoft\EmNifty"); a value name "" is the default value ("@").
//
// What it understands, in file order as regedit imports it: "[KEY]" sections, "[-KEY]" removing
// a key and its subkeys, "NAME"=- removing a value, string values "..." with the \\ and \"
// escapes, hex(2): (expandable string) and hex(1): (string) byte lists, dword:, hex: and other
// hex(n): forms (other types). A key exists when a section names it or one of its subkeys.
class RegeditDocument {
  public:
    // An empty document; its text is the header once something is added.
    RegeditDocument() = default;
    // Raises qbr::Error naming `fileName` (and the line) when the text is not a REGEDIT4 file.
    // An empty text (or blanks only) is an empty document.
    static RegeditDocument parse(std::string_view text, std::string_view fileName);

    std::string text() const;

    bool keyExists(std::string_view key) const;
    std::optional<RegistryValue> value(std::string_view key, std::string_view name) const;

    // Adds a section for the key when it does not exist; true when the text changed. A key that
    // cannot be written (see canHoldKey) is not added.
    bool ensureKey(std::string_view key);
    // Sets a string value, adding the key when absent: an existing value is replaced where it
    // stands, a new one goes after the last value of the key's section. True when the text
    // changed; false, with nothing changed, also when it cannot be written (see canWrite).
    bool setString(std::string_view key, std::string_view name, std::string_view text);

    // A key name fits a section line: not empty, no CR, LF or NUL.
    static bool canHoldKey(std::string_view key);
    // The value can be written so that it reads back the same: no NUL in the text (a string ends
    // there), and a name that a quoted field holds.
    static bool canWrite(std::string_view name, std::string_view text);

  private:
    enum class Kind { Blank, Comment, Header, Value };
    struct Entry {
        Kind kind = Kind::Blank;
        std::vector<std::string> lines;   // raw, without line ending; several for a continued value
        std::vector<std::string> endings; // each line's own ending ("" for a last line without)
        std::string key;                  // Header: the key named (without "-")
        bool removal = false;             // Header "[-KEY]" or value "NAME"=-
        std::string name;                 // Value
        RegistryValue value;              // Value, unless removal
    };

    // True when the entry is a removal header that takes the key away.
    bool removes(const Entry& header, std::string_view key) const;
    // The first entry from which the key's present sections count (after its last removal).
    std::size_t liveFrom(std::string_view key) const;
    static std::string valueLine(std::string_view name, std::string_view text);
    void appendSection(std::string_view key);
    // Gives the file's last line an ending before a line is added after it.
    void terminateLastLine();

    std::vector<Entry> entries_;
    bool hasHeader_ = false;
    std::string bom_;
    std::string eol_ = "\r\n"; // for new lines: the first line's ending
};

// ASCII case folding of a CP932 key or value name: the second byte of a double-byte character
// is left alone, since it may look like an ASCII letter.
std::string foldRegistryName(std::string_view name);

} // namespace qbr::platform
