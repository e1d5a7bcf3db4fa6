#include "posix/regedit_document.h"

#include "bytes/hex_digit.h"
#include "bytes/sjis_text.h"
#include "catalog/error.h"
#include "catalog/messages.h"
#include "settings/settings_messages.h"

#include <cstdint>

namespace qbr::platform {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::size_t npos = std::string::npos;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

bool startsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           foldRegistryName(text.substr(0, prefix.size())) == foldRegistryName(prefix);
}

// A key as compared.
std::string keyForm(std::string_view key) {
    return foldRegistryName(key);
}

bool isSameOrBelow(const std::string& key, const std::string& ancestor) {
    return key == ancestor || (key.size() > ancestor.size() && key[ancestor.size()] == '\\' &&
                               key.compare(0, ancestor.size(), ancestor) == 0);
}

// Reads a quoted text from `at` (on the opening quote); \\ and \" are escapes, a backslash
// before anything else stands for itself. With `doubleByte`, a CP932 double-byte character is
// taken whole: its second byte may be a backslash or a quote (5C in "ソ") and escapes or ends
// nothing. Returns false when the closing quote is missing.
bool readQuoted(std::string_view line, std::size_t& at, std::string& out, bool doubleByte) {
    ++at;
    while (at < line.size()) {
        const char c = line[at];
        if (doubleByte && isSjisLeadByte(static_cast<unsigned char>(c)) && at + 1 < line.size()) {
            out += line.substr(at, 2);
            at += 2;
            continue;
        }
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\' && at + 1 < line.size() && (line[at + 1] == '\\' || line[at + 1] == '"')) {
            out += line[at + 1];
            at += 2;
            continue;
        }
        out += c;
        ++at;
    }
    return false;
}

// A quoted field followed by what `fits` accepts: read as CP932 first, then byte by byte, so
// that a name typed into the file in UTF-8 (whose bytes CP932 would pair up wrongly) reads too.
template <class Fits>
bool readField(std::string_view line, std::size_t& at, std::string& out, Fits fits) {
    for (const bool doubleByte : {true, false}) {
        std::size_t pos = at;
        std::string text;
        if (readQuoted(line, pos, text, doubleByte) && fits(line.substr(pos))) {
            at = pos;
            out = std::move(text);
            return true;
        }
    }
    return false;
}

bool beforeEquals(std::string_view rest) {
    rest = trimLeft(rest);
    return !rest.empty() && rest.front() == '=';
}

bool atLineEnd(std::string_view rest) {
    return trimRight(rest).empty();
}

// The name ("" for "@") and the position after the "=", or false.
bool readName(std::string_view line, std::size_t& at, std::string& name) {
    at = line.size() - trimLeft(line).size();
    if (at < line.size() && line[at] == '@')
        ++at;
    else if (at >= line.size() || line[at] != '"' || !readField(line, at, name, beforeEquals))
        return false;
    const std::string_view rest = trimLeft(line.substr(at));
    if (rest.empty() || rest.front() != '=')
        return false;
    at = line.size() - rest.size() + 1;
    return true;
}

// "01,02,ff" into bytes; false on anything else.
bool readHexBytes(std::string_view list, std::string& out) {
    list = trimRight(trimLeft(list));
    if (list.empty())
        return true;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = list.find(',', from);
        const std::string_view item =
            trimRight(trimLeft(list.substr(from, comma == npos ? npos : comma - from)));
        if (item.empty() || item.size() > 2)
            return false;
        int byte = 0;
        for (char c : item) {
            const int d = hexDigitValue(c);
            if (d < 0)
                return false;
            byte = byte * 16 + d;
        }
        out += static_cast<char>(byte);
        if (comma == npos)
            return true;
        from = comma + 1;
    }
}

std::string escaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            out += text.substr(i, 2); // a second byte 5C is no backslash
            ++i;
            continue;
        }
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string foldRegistryName(std::string_view name) {
    std::string out(name);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (isSjisLeadByte(c))
            ++i; // the trail byte is no letter of its own
        else if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

RegeditDocument RegeditDocument::parse(std::string_view text, std::string_view fileName) {
    auto failLine = [&](std::size_t line) {
        throw Error(msg::formatText(
            msg::formatNumber(msg::kStoreUnreadableLine, static_cast<std::int64_t>(line)),
            fileName));
    };
    RegeditDocument doc;
    if (text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                             (text[0] == '\xFE' && text[1] == '\xFF') || text[1] == '\0'))
        throw Error(msg::formatText(msg::kStoreUtf16, fileName));
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.bom_ = "\xEF\xBB\xBF";
        text.remove_prefix(3);
    }
    if (trimRight(trimLeft(text)).find_first_not_of("\r\n \t") == npos)
        return RegeditDocument(); // an empty file is an empty registry

    // Each line with its own ending, so that what is left alone is written back byte for byte
    // (a file may mix CR LF and LF, or hold a CR of its own before the CR LF).
    std::vector<std::string_view> lines;
    std::vector<std::string_view> endings;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t lf = text.find('\n', from);
        std::string_view line = text.substr(from, lf == npos ? npos : lf - from);
        std::size_t ending = lf == npos ? 0 : 1;
        if (lf != npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            ++ending;
        }
        lines.push_back(line);
        endings.push_back(text.substr(from + line.size(), ending));
        from = lf == npos ? text.size() : lf + 1;
    }
    doc.eol_ = endings.front().empty() ? std::string("\r\n") : std::string(endings.front());

    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = trimRight(trimLeft(line));
        Entry entry;
        entry.lines.emplace_back(line);
        entry.endings.emplace_back(endings[i]);
        if (!doc.hasHeader_) {
            if (trimmed.empty()) {
                doc.entries_.push_back(std::move(entry));
                continue;
            }
            if (trimmed == kVersion5Header)
                throw Error(msg::formatText(msg::kStoreUtf16, fileName));
            if (trimmed != kHeader)
                throw Error(msg::formatText(msg::kStoreNotRegedit4, fileName));
            entry.kind = Kind::Comment;
            doc.hasHeader_ = true;
        } else if (trimmed.empty()) {
            entry.kind = Kind::Blank;
        } else if (trimmed.front() == ';') {
            entry.kind = Kind::Comment;
        } else if (trimmed.front() == '[') {
            if (trimmed.back() != ']' || trimmed.size() < 3)
                failLine(i + 1);
            std::string_view key = trimmed.substr(1, trimmed.size() - 2);
            entry.kind = Kind::Header;
            if (key.front() == '-') {
                entry.removal = true;
                key.remove_prefix(1);
            }
            if (key.empty())
                failLine(i + 1);
            entry.key = std::string(key);
            inSection = true;
        } else {
            if (!inSection)
                failLine(i + 1);
            entry.kind = Kind::Value;
            std::size_t at = 0;
            if (!readName(line, at, entry.name))
                failLine(i + 1);
            std::string_view data = trimLeft(line.substr(at));
            if (!data.empty() && data.front() == '"') {
                std::size_t pos = 0;
                if (!readField(data, pos, entry.value.data, atLineEnd))
                    failLine(i + 1);
                entry.value.type = RegistryType::String;
            } else if (trimRight(data) == "-") {
                entry.removal = true;
            } else if (startsWithFolded(data, "dword:")) {
                const std::string_view digits = trimRight(data.substr(6));
                if (digits.empty() || digits.size() > 8)
                    failLine(i + 1);
                for (char c : digits) {
                    if (hexDigitValue(c) < 0)
                        failLine(i + 1);
                }
                entry.value.type = RegistryType::Other;
                entry.value.data = std::string(digits);
            } else if (startsWithFolded(data, "hex")) {
                data.remove_prefix(3);
                std::uint32_t type = 3; // plain "hex:" is binary; up to eight digits fit

                if (!data.empty() && data.front() == '(') {
                    const std::size_t close = data.find(')');
                    if (close == npos || close == 1 || close > 9)
                        failLine(i + 1);
                    type = 0;
                    for (char c : data.substr(1, close - 1)) {
                        const int d = hexDigitValue(c);
                        if (d < 0)
                            failLine(i + 1);
                        type = type * 16 + static_cast<std::uint32_t>(d);
                    }
                    data.remove_prefix(close + 1);
                }
                if (data.empty() || data.front() != ':')
                    failLine(i + 1);
                std::string list(trimRight(data.substr(1)));
                // A long byte list goes on over lines that end with a backslash.
                while (!list.empty() && list.back() == '\\') {
                    list.pop_back();
                    if (++i >= lines.size())
                        failLine(i);
                    entry.lines.emplace_back(lines[i]);
                    entry.endings.emplace_back(endings[i]);
                    list += trimRight(trimLeft(lines[i]));
                }
                if (!readHexBytes(list, entry.value.data))
                    failLine(i + 1);
                entry.value.type = type == 1   ? RegistryType::String
                                   : type == 2 ? RegistryType::ExpandString
                                               : RegistryType::Other;
            } else {
                failLine(i + 1);
            }
        }
        doc.entries_.push_back(std::move(entry));
    }
    return doc;
}

std::string RegeditDocument::text() const {
    if (entries_.empty())
        return {};
    std::string out = bom_;
    for (const Entry& entry : entries_) {
        for (std::size_t i = 0; i < entry.lines.size(); ++i)
            out += entry.lines[i] + entry.endings[i];
    }
    return out;
}

void RegeditDocument::terminateLastLine() {
    if (!entries_.empty() && entries_.back().endings.back().empty())
        entries_.back().endings.back() = eol_;
}

bool RegeditDocument::removes(const Entry& header, std::string_view key) const {
    return header.kind == Kind::Header && header.removal &&
           isSameOrBelow(keyForm(key), keyForm(header.key));
}

std::size_t RegeditDocument::liveFrom(std::string_view key) const {
    for (std::size_t i = entries_.size(); i-- > 0;) {
        if (removes(entries_[i], key))
            return i + 1;
    }
    return 0;
}

bool RegeditDocument::keyExists(std::string_view key) const {
    const std::string wanted = keyForm(key);
    for (std::size_t i = liveFrom(key); i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.kind == Kind::Header && !entry.removal &&
            isSameOrBelow(keyForm(entry.key), wanted))
            return true;
    }
    return false;
}

std::optional<RegistryValue> RegeditDocument::value(std::string_view key,
                                                    std::string_view name) const {
    const std::string wanted = keyForm(key);
    const std::string wantedName = foldRegistryName(name);
    std::optional<RegistryValue> found;
    bool inKey = false;
    for (std::size_t i = liveFrom(key); i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.kind == Kind::Header) {
            inKey = !entry.removal && keyForm(entry.key) == wanted;
        } else if (entry.kind == Kind::Value && inKey &&
                   foldRegistryName(entry.name) == wantedName) {
            found = entry.removal ? std::nullopt : std::optional<RegistryValue>(entry.value);
        }
    }
    return found;
}

bool RegeditDocument::ensureKey(std::string_view key) {
    if (!canHoldKey(key) || keyExists(key))
        return false;
    appendSection(key);
    return true;
}

bool RegeditDocument::canHoldKey(std::string_view key) {
    return !key.empty() && key.find_first_of(std::string_view("\r\n\0", 3)) == npos;
}

bool RegeditDocument::canWrite(std::string_view name, std::string_view text) {
    return text.find('\0') == npos && !valueLine(name, text).empty();
}

std::string RegeditDocument::valueLine(std::string_view name, std::string_view text) {
    const std::string field = name.empty() ? std::string("@") : '"' + escaped(name) + '"';
    std::string line = field + "=\"" + escaped(text) + '"';
    // What is written must read back the same; a text that would not (CR, LF, or a last byte
    // that CP932 would pair with the closing quote) is written as a string in hex(1) form.
    constexpr std::string_view kLineBreaks = "\r\n";
    std::size_t at = 0;
    std::string readBack;
    if (name.find_first_of(kLineBreaks) != npos || !readName(line, at, readBack) ||
        readBack != name)
        return {};
    std::size_t pos = 0;
    const std::string_view data = trimLeft(std::string_view(line).substr(at));
    readBack.clear();
    if (text.find_first_of(kLineBreaks) == npos && readField(data, pos, readBack, atLineEnd) &&
        readBack == text)
        return line;
    line = field + "=hex(1):";
    static constexpr char kDigits[] = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line += kDigits[byte >> 4];
        line += kDigits[byte & 15];
        line += ',';
    }
    return line + "00";
}

bool RegeditDocument::setString(std::string_view key, std::string_view name,
                                std::string_view text) {
    if (!canHoldKey(key) || !canWrite(name, text))
        return false;
    const std::string wanted = keyForm(key);
    const std::string wantedName = foldRegistryName(name);
    std::size_t lastValue = npos;
    std::size_t lastHeader = npos;
    bool inKey = false;
    for (std::size_t i = liveFrom(key); i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        if (entry.kind == Kind::Header) {
            inKey = !entry.removal && keyForm(entry.key) == wanted;
            if (inKey)
                lastHeader = i;
        } else if (entry.kind == Kind::Value && inKey &&
                   foldRegistryName(entry.name) == wantedName) {
            lastValue = i;
        }
    }
    if (lastValue != npos) {
        Entry& entry = entries_[lastValue];
        if (!entry.removal && entry.value.type == RegistryType::String &&
            entry.value.data.substr(0, entry.value.data.find('\0')) == text)
            return false;
        entry.lines = {valueLine(entry.name, text)};
        entry.endings = {entry.endings.back()};
        entry.removal = false;
        entry.value = RegistryValue{RegistryType::String, std::string(text)};
        return true;
    }
    Entry entry;
    entry.kind = Kind::Value;
    entry.name = std::string(name);
    entry.value = RegistryValue{RegistryType::String, std::string(text)};
    entry.lines = {valueLine(name, text)};
    entry.endings = {eol_};
    if (lastHeader == npos) {
        appendSection(key);
        entries_.insert(entries_.end() - 1, std::move(entry)); // before the closing blank line
        return true;
    }
    // After the last line of the section that is not blank.
    std::size_t at = lastHeader + 1;
    for (std::size_t i = lastHeader + 1; i < entries_.size() && entries_[i].kind != Kind::Header;
         ++i) {
        if (entries_[i].kind != Kind::Blank)
            at = i + 1;
    }
    if (at == entries_.size())
        terminateLastLine();
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    return true;
}

void RegeditDocument::appendSection(std::string_view key) {
    auto push = [&](Kind kind, std::string line) {
        Entry entry;
        entry.kind = kind;
        entry.lines.push_back(std::move(line));
        entry.endings.push_back(eol_);
        entries_.push_back(std::move(entry));
        return &entries_.back();
    };
    if (!hasHeader_) {
        entries_.clear();
        push(Kind::Comment, std::string(kHeader));
        hasHeader_ = true;
    }
    terminateLastLine();
    if (entries_.back().kind != Kind::Blank)
        push(Kind::Blank, {});
    push(Kind::Header, '[' + std::string(key) + ']')->key = std::string(key);
    push(Kind::Blank, {});
}

} // namespace qbr::platform
