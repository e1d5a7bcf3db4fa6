#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbr::test {

// A strict RFC 4180 reader: records end with CR LF, fields are separated by commas, a field
// with a comma, a double quote, CR or LF must be quoted, and a quote inside a quoted field is
// doubled. Anything else (a bare LF ending a record, a quote inside an unquoted field, text
// after a closing quote, records of different lengths) gives nothing.
inline std::optional<std::vector<std::vector<std::string>>> readCsv(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::size_t i = 0;
    while (i < text.size()) {
        std::string field;
        if (text[i] == '"') {
            ++i;
            for (;;) {
                if (i >= text.size())
                    return std::nullopt; // unterminated quote
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r') {
                if (text[i] == '"' || text[i] == '\n')
                    return std::nullopt;
                field += text[i++];
            }
        }
        record.push_back(std::move(field));
        if (i < text.size() && text[i] == ',') {
            ++i;
            if (i == text.size())
                return std::nullopt; // a comma must be followed by a field
            continue;
        }
        if (text.substr(i, 2) != "\r\n")
            return std::nullopt; // a record ends with CR LF, the last one too
        i += 2;
        if (!records.empty() && records.front().size() != record.size())
            return std::nullopt;
        records.push_back(std::move(record));
        record.clear();
    }
    return records;
}

} // namespace qbr::test
