#include "catalog/error.h"
#include "catalog/log_markers.h"
#include "cli/catalog_reports.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "posix/cp932_codec.h"
#include "posix/downloaded_file.h"
#include "posix/file_probe.h"

#include <cstdio>

namespace qbr::cli {

namespace {

// One item as the export writes it. Texts are CP932 bytes until the writer encodes them.
struct ExportedItem {
    std::size_t position = 0;
    std::string_view forum;
    std::string_view title;
    std::optional<FileSection> file;
    std::optional<bool> present; // unknown without a readable download folder or a file
    std::optional<double> date;
    std::optional<std::vector<std::string_view>> text; // none for a damaged span
};

// The listing proper: the item's lines without the closing "ファイル名" line and name.
std::vector<std::string_view> listingLines(std::vector<std::string_view> lines) {
    const std::size_t n = lines.size();
    if (n > 3 && (lines[n - 2] == marker::kFileName || lines[n - 2] == marker::kFileNameRelinked))
        lines.resize(n - 2);
    return lines;
}

// ---- CSV (RFC 4180): a header line, CR LF after each record, fields quoted when needed ----

class CsvWriter {
  public:
    explicit CsvWriter(Encoding encoding) : encoding_(encoding) {}

    void header() {
        std::fputs("position,forum,title,file,relinked,present,date,text\r\n", stdout);
    }

    void item(const ExportedItem& item) {
        std::string record = std::to_string(item.position);
        field(record, item.forum);
        field(record, item.title);
        field(record, item.file ? std::string_view(item.file->name) : std::string_view());
        record += item.file ? (item.file->relinked ? ",1" : ",0") : ",";
        record += item.present ? (*item.present ? ",1" : ",0") : ",";
        record += ',';
        if (item.date)
            record += isoLocalDateTime(*item.date);
        std::string text;
        if (item.text) {
            for (std::size_t i = 0; i < item.text->size(); ++i) {
                if (i > 0)
                    text += '\n';
                text += (*item.text)[i];
            }
        }
        field(record, text);
        record += "\r\n";
        std::fwrite(record.data(), 1, record.size(), stdout);
    }

  private:
    void field(std::string& record, std::string_view cp932) const {
        const std::string text =
            encoding_ == Encoding::Utf8 ? platform::cp932ToUtf8(cp932) : std::string(cp932);
        record += ',';
        if (text.find_first_of(",\"\r\n") == std::string::npos) {
            record += text;
            return;
        }
        record += '"';
        for (char c : text) {
            if (c == '"')
                record += '"';
            record += c;
        }
        record += '"';
    }

    Encoding encoding_;
};

// ---- JSON: one document, UTF-8; an undecodable byte is the escape \udcXX of the codec ----

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void jsonString(std::string& out, std::string_view cp932) {
    out += '"';
    // CP932 decodes to the Basic Multilingual Plane only, and to surrogates only for the
    // escaped bytes, so each UTF-16 unit is a character or one such escape.
    for (char16_t c : platform::decodeCp932(cp932)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || (c >= 0xD800 && c < 0xE000)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            appendUtf8(c, out);
        }
    }
    out += '"';
}

class JsonWriter {
  public:
    void header() { std::fputs("{\"items\":[", stdout); }

    void item(const ExportedItem& item) {
        std::string out = first_ ? "\n{" : ",\n{";
        first_ = false;
        out += "\"position\":" + std::to_string(item.position) + ",\"forum\":";
        jsonString(out, item.forum);
        out += ",\"title\":";
        jsonString(out, item.title);
        out += ",\"file\":";
        if (item.file)
            jsonString(out, item.file->name);
        else
            out += "null";
        out += ",\"relinked\":";
        out += item.file && item.file->relinked ? "true" : "false";
        out += ",\"present\":";
        out += item.present ? (*item.present ? "true" : "false") : "null";
        out += ",\"date\":";
        out += item.date ? "\"" + isoLocalDateTime(*item.date) + "\"" : "null";
        out += ",\"text\":";
        if (item.text) {
            out += '[';
            for (std::size_t i = 0; i < item.text->size(); ++i) {
                if (i > 0)
                    out += ',';
                jsonString(out, (*item.text)[i]);
            }
            out += ']';
        } else {
            out += "null";
        }
        out += '}';
        std::fwrite(out.data(), 1, out.size(), stdout);
    }

    void footer() { std::fputs("\n]}\n", stdout); }

  private:
    bool first_ = true;
};

} // namespace

// Every item with its position, forum, title, file, re-link flag, whether its file is in
// DownPath and the file's date, and its listing, as CSV or JSON.
int exportCommand(const std::vector<std::string>& words) {
    std::string problem;
    const auto args =
        Args::parse(words, {"format", "catalog", "download-dir", "encoding"}, problem);
    if (!args)
        return usageError(problem);
    if (!args->positional().empty())
        return usageError("export takes no arguments");
    const std::string format = args->get("format");
    if (format != "csv" && format != "json")
        return usageError("export needs --format csv or --format json");
    const std::string encoding = args->get("encoding", "utf8");
    if (encoding != "utf8" && encoding != "sjis")
        return usageError("--encoding is utf8 or sjis");
    if (format == "json" && encoding != "utf8")
        return usageError("JSON is UTF-8; --encoding sjis goes with --format csv");

    Catalog catalog;
    if (!loadReportCatalog(*args, catalog))
        return 1;
    std::optional<std::string> downPath = reportDownloadFolder(*args);
    if (downPath && !isListableDirectory(*downPath)) {
        std::fprintf(stderr, "quenbrill-cli: the download folder %s cannot be read\n",
                     downPath->c_str());
        downPath.reset();
    }
    if (!downPath)
        std::fprintf(stderr, "quenbrill-cli: whether the files are present is left open\n");

    CsvWriter csv(encoding == "utf8" ? Encoding::Utf8 : Encoding::Sjis);
    JsonWriter json;
    format == "csv" ? csv.header() : json.header();
    platform::PosixFileProbe probe;
    bool failed = false;
    forEachItem(catalog, [&](std::size_t position, const TreeNode& node) {
        ExportedItem item;
        item.position = position;
        item.forum = node.parent()->text();
        item.title = node.text();
        try {
            item.file = itemFileSection(catalog, node);
            item.text = listingLines(catalog.ItemText(node));
        } catch (const Error& error) {
            std::fflush(stdout);
            printError(error.text());
            failed = true;
        }
        if (item.file && downPath) {
            const platform::DownloadedFile file =
                platform::locateDownloadedFile(probe, *downPath, item.file->name);
            item.present = file.exists;
            if (file.exists)
                item.date = probe.fileDate(file.path);
        }
        format == "csv" ? csv.item(item) : json.item(item);
    });
    if (format == "json")
        json.footer();
    std::fflush(stdout);
    return failed ? 1 : 0;
}

} // namespace qbr::cli
