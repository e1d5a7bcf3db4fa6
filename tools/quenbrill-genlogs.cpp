// Writes a corpus of synthetic session logs for the log scanner: Shift-JIS (CP932) text with
// CR LF line ends, the same for the same seed and options, with the modification times the
// scanner's watermark works on. Optionally creates some of the downloaded files as well.

#include "quenbrill-genlogs/cp932.h"
#include "quenbrill-genlogs/dummy_files.h"
#include "quenbrill-genlogs/edge_logs.h"
#include "quenbrill-genlogs/file_output.h"
#include "quenbrill-genlogs/log_text.h"
#include "quenbrill-genlogs/phrasebook.h"
#include "quenbrill-genlogs/rng.h"
#include "quenbrill-genlogs/session_writer.h"
#include "quenbrill-genlogs/world.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace genlogs;

constexpr const char* kUsage =
    "usage: quenbrill-genlogs --out DIR --seed N (--logs K | --bytes SIZE)\n"
    "                         [--downloads DIR2 [--keep-percent P]]\n"
    "                         [--start-date YYYY-MM-DD] [--edge-cases]\n"
    "\n"
    "  --out DIR          directory for the logs (created when missing)\n"
    "  --seed N           the corpus depends on nothing else but the options below\n"
    "  --logs K           write K session logs\n"
    "  --bytes SIZE       write logs until they total about SIZE bytes (suffix K, M or G)\n"
    "  --downloads DIR2   also create the downloaded files there, for a fixed share of\n"
    "                     the items downloaded\n"
    "  --keep-percent P   that share, 0 to 100 (default 70)\n"
    "  --start-date DATE  the first session's day (default 1998-04-01); one to four\n"
    "                     sessions a day follow, each log's time its session's end\n"
    "  --edge-cases       also write EDGE01.LOG to EDGE08.LOG, each at one edge of the\n"
    "                     scanner's rules, dated after the last session\n"
    "\n"
    "Logs are named YYMMDDnn.LOG (day of the session, its number that day). Times are\n"
    "set in UTC: sessions start between 09:00 and 15:00 UTC (evening in Japan, whose\n"
    "time the logs show), so a log's local date is its name's date from UTC-9 to UTC+9.\n";

struct Options {
    std::string out;
    std::optional<std::uint64_t> seed;
    std::optional<std::uint64_t> logs;
    std::optional<std::uint64_t> bytes;
    std::string downloads;
    int keepPercent = 70;
    std::chrono::sys_days start{std::chrono::year{1998} / 4 / 1};
    bool edgeCases = false;
};

struct UsageError {
    std::string message;
};

std::uint64_t parseNumber(std::string_view text, std::string_view option) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        throw UsageError{std::string(option) + ": not a number: " + std::string(text)};
    }
    return value;
}

std::uint64_t parseSize(std::string_view text) {
    std::uint64_t scale = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'K':
        case 'k':
            scale = 1ULL << 10;
            break;
        case 'M':
        case 'm':
            scale = 1ULL << 20;
            break;
        case 'G':
        case 'g':
            scale = 1ULL << 30;
            break;
        default:
            break;
        }
    }
    if (scale != 1) {
        text.remove_suffix(1);
    }
    return parseNumber(text, "--bytes") * scale;
}

std::chrono::sys_days parseDate(std::string_view text) {
    const auto bad = UsageError{"--start-date: not a date YYYY-MM-DD: " + std::string(text)};
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        throw bad;
    }
    const auto year = static_cast<int>(parseNumber(text.substr(0, 4), "--start-date"));
    const auto month = static_cast<unsigned>(parseNumber(text.substr(5, 2), "--start-date"));
    const auto day = static_cast<unsigned>(parseNumber(text.substr(8, 2), "--start-date"));
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                                           std::chrono::day{day}};
    if (!date.ok() || year < 1980) {
        throw bad;
    }
    return std::chrono::sys_days{date};
}

Options parseOptions(int argc, char** argv) {
    Options options;
    bool keepGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) {
                throw UsageError{std::string(arg) + " needs a value"};
            }
            return argv[++i];
        };
        if (arg == "--out") {
            options.out = value();
        } else if (arg == "--seed") {
            options.seed = parseNumber(value(), arg);
        } else if (arg == "--logs") {
            options.logs = parseNumber(value(), arg);
        } else if (arg == "--bytes") {
            options.bytes = parseSize(value());
        } else if (arg == "--downloads") {
            options.downloads = value();
        } else if (arg == "--keep-percent") {
            const auto percent = parseNumber(value(), arg);
            if (percent > 100) {
                throw UsageError{"--keep-percent: 0 to 100"};
            }
            options.keepPercent = static_cast<int>(percent);
            keepGiven = true;
        } else if (arg == "--start-date") {
            options.start = parseDate(value());
        } else if (arg == "--edge-cases") {
            options.edgeCases = true;
        } else {
            throw UsageError{"unknown option: " + std::string(arg)};
        }
    }
    if (options.out.empty() || !options.seed) {
        throw UsageError{"--out and --seed are required"};
    }
    if (options.logs.has_value() == options.bytes.has_value()) {
        throw UsageError{"give one of --logs and --bytes"};
    }
    if (keepGiven && options.downloads.empty()) {
        throw UsageError{"--keep-percent needs --downloads"};
    }
    return options;
}

std::int64_t epochSeconds(std::chrono::sys_days day) {
    return static_cast<std::int64_t>(day.time_since_epoch().count()) * 86400;
}

// "YYMMDDnn.LOG": an 8.3 name, the day of the session and its number that day.
std::string logName(std::chrono::sys_days day, int session) {
    const std::string date = shortDate(day); // "98/04/01"
    return date.substr(0, 2) + date.substr(3, 2) + date.substr(6, 2) +
           number(static_cast<std::uint64_t>(session), 2, '0') + ".LOG";
}

// The packed MS-DOS date and time of a moment, in the service's local time.
std::uint32_t dosTime(std::int64_t seconds) {
    const std::int64_t local = seconds + kServiceUtcOffset;
    const std::chrono::sys_days day{std::chrono::days{local / 86400}};
    const std::chrono::year_month_day ymd{day};
    const std::int64_t rest = local % 86400;
    const auto date = static_cast<std::uint32_t>(((static_cast<int>(ymd.year()) - 1980) << 9) |
                                                 (static_cast<unsigned>(ymd.month()) << 5) |
                                                 static_cast<unsigned>(ymd.day()));
    const auto time = static_cast<std::uint32_t>(((rest / 3600) << 11) | ((rest / 60 % 60) << 5) |
                                                 (rest % 60 / 2));
    return (date << 16) | time;
}

std::size_t drawLogSize(Rng& rng) {
    // Mostly 5 to 65 KB (about 25 KB on average), now and then a long evening.
    if (rng.chance(5)) {
        return static_cast<std::size_t>(rng.range(80000, 200000));
    }
    const auto root = static_cast<std::size_t>(rng.range(0, 244));
    return 5000 + root * root;
}

struct Totals {
    std::uint64_t logs = 0;
    std::uint64_t bytes = 0;
    std::uint64_t answeredYes = 0;
    std::uint64_t items = 0;
    std::set<std::uint32_t> forums;
    std::uint64_t files = 0;
    std::uint64_t edgeLogs = 0;
    std::uint64_t edgeBytes = 0;
};

int run(const Options& options) {
    const Cp932 cp932;
    const Phrasebook words(cp932);
    Rng rng(*options.seed);
    World world(rng, words, options.start);
    const Member user = world.member(world.randomMember(rng));
    SessionWriter writer(rng, words, world, user);

    makeDirectories(options.out);
    if (!options.downloads.empty()) {
        makeDirectories(options.downloads);
    }

    Totals totals;
    std::string log;
    log.reserve(1 << 20);
    std::string listing;
    std::vector<Download> downloads;
    std::int64_t previousStart = 0;
    std::int64_t lastEnd = epochSeconds(options.start);
    const auto firstYear = static_cast<int>(std::chrono::year_month_day{options.start}.year());
    const auto done = [&] {
        return options.logs ? totals.logs >= *options.logs : totals.bytes >= *options.bytes;
    };
    static const std::vector<int> sessionsPerDay = {50, 30, 15, 5};

    for (auto day = options.start; !done(); day += std::chrono::days(1)) {
        if (static_cast<int>(std::chrono::year_month_day{day}.year()) - firstYear >= 100) {
            std::fprintf(stderr, "quenbrill-genlogs: a century of logs; names would repeat\n");
            return 1;
        }
        if (rng.chance(10)) {
            continue; // a day without a session
        }
        const int sessions = 1 + static_cast<int>(rng.weighted(sessionsPerDay));
        const std::int64_t window = 6 * 3600 / sessions;
        for (int n = 0; n < sessions && !done(); ++n) {
            Session session;
            session.targetBytes = drawLogSize(rng);
            session.start = epochSeconds(day) + 9 * 3600 + n * window + rng.range(0, 1799);
            session.duration = std::min<std::int64_t>(
                120 + static_cast<std::int64_t>(session.targetBytes / 40) + rng.range(0, 300),
                window - 1800 - 60);
            session.previousStart = previousStart;
            log.clear();
            downloads.clear();
            writer.write(session, log, downloads);
            const std::int64_t end = session.start + session.duration;
            writeFile(options.out + "/" + logName(day, n + 1), log, end);
            previousStart = session.start;
            lastEnd = end;
            ++totals.logs;
            totals.bytes += log.size();

            for (const Download& d : downloads) {
                const Item& item = world.item(d.item);
                ++totals.answeredYes;
                if (d.firstTime) {
                    ++totals.items;
                    totals.forums.insert(item.forum);
                }
                const bool keep = mixHash(*options.seed, d.item) % 100 <
                                  static_cast<std::uint64_t>(options.keepPercent);
                if (options.downloads.empty() || !keep) {
                    continue;
                }
                const std::int64_t at = session.start + session.duration *
                                                            static_cast<std::int64_t>(d.offset) /
                                                            static_cast<std::int64_t>(log.size());
                listing.clear();
                LogText text(listing);
                writer.itemListing(text, item);
                writeFile(options.downloads + "/" + item.fileName,
                          dummyFile(item.fileName, listing, dosTime(at)), at);
                totals.files += d.firstTime ? 1 : 0;
            }
        }
    }

    if (options.edgeCases) {
        // The next morning after the last session, ten minutes apart.
        std::int64_t at = (lastEnd / 86400 + 1) * 86400 + 9 * 3600;
        for (const EdgeLog& edge : edgeLogs(cp932)) {
            writeFile(options.out + "/" + edge.name, edge.data, at);
            at += 600;
            ++totals.edgeLogs;
            totals.edgeBytes += edge.data.size();
        }
    }

    std::printf("quenbrill-genlogs: %llu logs, %llu bytes, %llu downloads answered \xEF\xBC\x9A"
                "1 (%llu items in %zu forums)",
                static_cast<unsigned long long>(totals.logs),
                static_cast<unsigned long long>(totals.bytes),
                static_cast<unsigned long long>(totals.answeredYes),
                static_cast<unsigned long long>(totals.items), totals.forums.size());
    if (options.edgeCases) {
        std::printf("; %llu edge-case logs, %llu bytes",
                    static_cast<unsigned long long>(totals.edgeLogs),
                    static_cast<unsigned long long>(totals.edgeBytes));
    }
    if (!options.downloads.empty()) {
        std::printf("; %llu files in %s", static_cast<unsigned long long>(totals.files),
                    options.downloads.c_str());
    }
    std::printf("\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        return run(parseOptions(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quenbrill-genlogs: %s\n%s", e.message.c_str(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quenbrill-genlogs: %s\n", e.what());
        return 1;
    }
}
