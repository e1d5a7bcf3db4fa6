// Damaged catalogs, the salvage command and the catalog's lock, with the real program on real
// files and real processes.

#include "catalog/catalog_files.h"
#include "catalog/catalog_lock.h"
#include "catalog/catalog_salvage.h"
#include "catalog/error.h"
#include "support/run_program.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qbr {
namespace {

using test::TempDir;

std::string cli() {
    return std::string(std::getenv("QBR_BIN_DIR")) + "/src/cli/quenbrill-cli";
}

test::ProgramRun run(const std::vector<std::string>& args, const TempDir& dir) {
    return test::runProgram("'" + cli() + "'", args, dir.path() + "stderr.txt");
}

class NoProgress final : public CatalogProgressSink {
  public:
    void begin(std::string_view) override {}
    void setPosition(int) override {}
    void end() override {}
};

struct Set {
    std::string dat, trr, nod;
    bool hasDat = true, hasTrr = true, hasNod = true;
};

// The catalog the bundled sample logs give, made by the program itself, and a log folder with
// one more download in it.
class CatalogSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = dir_.path() + "quenbrill";
        const test::ProgramRun made = run(
            {"scan", "--catalog", base_, "--logs", std::string(QBR_SOURCE_DIR) + "/samples/logs"},
            dir_);
        ASSERT_EQ(made.status, 0) << made.err;
        sample_ = readSet();
        ASSERT_GT(std::count(sample_.trr.begin(), sample_.trr.end(), '\n'), 40);
        ::mkdir((dir_.path() + "new").c_str(), 0755);
        std::vector<std::string> lines{"FORUM>GO FNEW"};
        for (const std::string& line : test::download("0000000001NEWITEM", {"desc"}, "N.LZH"))
            lines.push_back(line);
        dir_.write("new/n.log", test::crlf(lines), 1000000000);
    }

    CatalogPaths paths() const { return CatalogPaths::fromBase(base_); }

    Set readSet() const {
        Set set;
        struct stat st {};
        set.hasDat = ::stat((base_ + ".dat").c_str(), &st) == 0;
        set.hasTrr = ::stat((base_ + ".trr").c_str(), &st) == 0;
        set.hasNod = ::stat((base_ + ".nod").c_str(), &st) == 0;
        set.dat = TempDir::read(base_ + ".dat");
        set.trr = TempDir::read(base_ + ".trr");
        set.nod = TempDir::read(base_ + ".nod");
        return set;
    }

    void writeSet(const Set& set) const {
        for (const auto& [ext, bytes, present] :
             {std::tuple{".dat", &set.dat, set.hasDat}, std::tuple{".trr", &set.trr, set.hasTrr},
              std::tuple{".nod", &set.nod, set.hasNod}}) {
            ::unlink((base_ + ext).c_str());
            if (present)
                dir_.write(std::string("quenbrill") + ext, *bytes);
        }
    }

    test::ProgramRun scanNew() const {
        return run({"scan", "--catalog", base_, "--logs", dir_.path() + "new"}, dir_);
    }

    Catalog load() const {
        Catalog catalog;
        NoProgress progress;
        LoadCatalog(catalog, paths(), systemFileSystem(), progress);
        return catalog;
    }

    TempDir dir_;
    std::string base_;
    Set sample_;
};

// The lines a file holds, read past NUL bytes, with their number of occurrences.
std::map<std::string, int> readableLines(std::string text, bool stripBlanks) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    const LineStore lines = LineStore::fromText(std::move(text));
    std::map<std::string, int> counts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (stripBlanks)
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        ++counts[std::string(line)];
    }
    return counts;
}

std::string insertAt(std::string text, std::size_t at, std::string_view bytes) {
    text.insert(std::min(at, text.size()), bytes);
    return text;
}

TEST_F(CatalogSafety, DamagedSetsSurviveAScanAndSalvageRecoversEveryReadableLine) {
    std::mt19937 random(8);
    std::string noise(3000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() & 0xFF);
    const std::size_t thirdLine = sample_.trr.find('\n', sample_.trr.find('\n') + 1) + 1;
    const std::string extra = sample_.nod.substr(0, 16) + "\x01\x02\x03";

    const std::vector<std::pair<std::string, std::function<void(Set&)>>> damages = {
        {"NUL in .dat",
         [](Set& s) {
             s.dat = insertAt(s.dat, s.dat.size() / 2, {"\0", 1});
         }},
        {"NUL in .trr",
         [&](Set& s) {
             s.trr = insertAt(s.trr, thirdLine + 2, {"\0", 1});
         }},
        {"random .trr", [&](Set& s) { s.trr = noise; }},
        {"short .nod", [](Set& s) { s.nod.resize(s.nod.size() - 11); }},
        {"long .nod", [&](Set& s) { s.nod += extra; }},
        {"missing .nod", [](Set& s) { s.hasNod = false, s.nod.clear(); }},
        {"missing .trr", [](Set& s) { s.hasTrr = false, s.trr.clear(); }},
        {"missing .dat", [](Set& s) { s.hasDat = false, s.dat.clear(); }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        for (const char* copy : {".damaged-1.dat", ".damaged-1.trr", ".damaged-1.nod"})
            ::unlink((base_ + copy).c_str());
        Set damaged = sample_;
        damage(damaged);
        writeSet(damaged);

        // A scan finds the new item but never writes over what it could not read.
        const test::ProgramRun scan = scanNew();
        EXPECT_EQ(scan.status, 1) << scan.out;
        const Set after = readSet();
        EXPECT_TRUE(after.dat == damaged.dat && after.trr == damaged.trr &&
                    after.nod == damaged.nod && after.hasDat == damaged.hasDat &&
                    after.hasTrr == damaged.hasTrr && after.hasNod == damaged.hasNod);

        const test::ProgramRun salvage = run({"salvage", "--catalog", base_}, dir_);
        ASSERT_EQ(salvage.status, 0) << salvage.err;
        EXPECT_NE(salvage.out.find("damaged files kept as they were:"), std::string::npos)
            << salvage.out;
        for (const auto& [ext, bytes, present] :
             {std::tuple{".dat", &damaged.dat, damaged.hasDat},
              std::tuple{".trr", &damaged.trr, damaged.hasTrr},
              std::tuple{".nod", &damaged.nod, damaged.hasNod}}) {
            struct stat st {};
            const std::string copy = base_ + ".damaged-1" + ext;
            EXPECT_EQ(::stat(copy.c_str(), &st) == 0, present) << copy;
            EXPECT_EQ(TempDir::read(copy), present ? *bytes : "") << copy;
        }

        const Catalog salvaged = load();
        EXPECT_EQ(salvaged.loadState(), Catalog::LoadState::Complete);
        std::map<std::string, int> lines, nodes;
        for (std::size_t i = 0; i < salvaged.lines().size(); ++i)
            ++lines[std::string(salvaged.lines()[i])];
        forEachPreOrder(salvaged.top(), [&](const TreeNode& node) { ++nodes[node.text()]; });
        if (damaged.hasDat) {
            for (const auto& [line, n] : readableLines(damaged.dat, false))
                EXPECT_GE(lines[line], n) << "a .dat line was dropped: " << line;
        }
        if (damaged.hasTrr) {
            for (const auto& [text, n] : readableLines(damaged.trr, true))
                EXPECT_GE(nodes[text], n) << "a .trr line was dropped: " << text;
        }

        // From there on the catalog is sound: the scan files the new item and saves.
        EXPECT_EQ(run({"salvage", "--catalog", base_}, dir_).out.find("nothing to salvage") !=
                      std::string::npos,
                  true);
        const test::ProgramRun again = scanNew();
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_NE(TempDir::read(base_ + ".trr").find("NEWITEM"), std::string::npos);
    }
}

TEST_F(CatalogSafety, SalvageNeverWritesOverAnEarlierDamagedCopy) {
    Set damaged = sample_;
    damaged.nod += "\x01";
    writeSet(damaged);
    dir_.write("quenbrill.damaged-1.dat", "older copy");
    const test::ProgramRun salvage = run({"salvage", "--catalog", base_}, dir_);
    ASSERT_EQ(salvage.status, 0) << salvage.err;
    EXPECT_EQ(TempDir::read(base_ + ".damaged-1.dat"), "older copy");
    EXPECT_EQ(TempDir::read(base_ + ".damaged-2.nod"), damaged.nod);
    EXPECT_EQ(run({"salvage", "--catalog", dir_.path() + "none"}, dir_).status, 1);
    EXPECT_EQ(run({"salvage", "--catalog", ""}, dir_).status, 2);
}

// A child process that holds the catalog's lock until it is killed.
pid_t holdLock(const CatalogPaths& paths) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        const std::unique_ptr<FileLock> lock = lockCatalog(paths, systemFileSystem());
        const char byte = lock ? '1' : '0';
        (void)!::write(ready[1], &byte, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    (void)!::read(ready[0], &byte, 1);
    ::close(ready[0]);
    return byte == '1' ? pid : -1;
}

void killHolder(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

TEST_F(CatalogSafety, ASecondWriterRefusesAndAKilledHolderBlocksNobody) {
    const pid_t holder = holdLock(paths());
    ASSERT_GT(holder, 0);
    const test::ProgramRun refused = scanNew();
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("は他の Quenbrill が使用中です"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "") << "nothing scanned";
    EXPECT_EQ(run({"salvage", "--catalog", base_}, dir_).status, 1);
    const Set after = readSet();
    EXPECT_TRUE(after.dat == sample_.dat && after.trr == sample_.trr && after.nod == sample_.nod);
    // Reading needs no lock.
    const test::ProgramRun list = run({"list", "--catalog", base_}, dir_);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("Niftyserve-Library"), std::string::npos);

    // The kernel lets go of a dead holder's lock.
    killHolder(holder);
    const test::ProgramRun scan = scanNew();
    EXPECT_EQ(scan.status, 0) << scan.err;
    EXPECT_NE(TempDir::read(base_ + ".trr").find("NEWITEM"), std::string::npos);
}

TEST_F(CatalogSafety, AReaderBesideAWriterReadsItsSaveInProgressAndFinishesNothing) {
    // A save cut short after its commit marker: the new set waits under the ".new" names.
    const std::string other = dir_.path() + "other";
    ASSERT_EQ(run({"scan", "--catalog", other, "--logs", dir_.path() + "new"}, dir_).status, 0);
    for (const char* ext : {".dat", ".trr", ".nod"})
        dir_.write(std::string("quenbrill") + ext + ".new", TempDir::read(other + ext));
    dir_.write("quenbrill.dat.commit", "");
    const std::string expected = run({"list", "--catalog", other}, dir_).out;

    const pid_t holder = holdLock(paths());
    ASSERT_GT(holder, 0);
    const test::ProgramRun beside = run({"list", "--catalog", base_}, dir_);
    EXPECT_EQ(beside.status, 0) << beside.err;
    EXPECT_EQ(beside.out, expected) << "the save in progress, as if it were done";
    EXPECT_EQ(readSet().trr, sample_.trr) << "the holder's files are left to the holder";
    struct stat st {};
    EXPECT_EQ(::stat((base_ + ".dat.commit").c_str(), &st), 0);
    EXPECT_EQ(::stat((base_ + ".trr.new").c_str(), &st), 0);
    killHolder(holder);

    // With nobody holding it, the reader takes the lock and finishes the save.
    EXPECT_EQ(run({"list", "--catalog", base_}, dir_).out, expected);
    EXPECT_NE(::stat((base_ + ".dat.commit").c_str(), &st), 0);
    EXPECT_EQ(readSet().trr, TempDir::read(other + ".trr"));
}

TEST_F(CatalogSafety, ConcurrentScansNeverLoseACatalog) {
    const std::string logs = std::string(QBR_SOURCE_DIR) + "/samples/logs";
    const std::string items = run({"list", "--catalog", base_}, dir_).out;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        const std::string base = dir_.path() + "pair" + std::to_string(round);
        const std::string command =
            "'" + cli() + "' scan --catalog '" + base + "' --logs '" + logs + "' >/dev/null 2>&1";
        FILE* first = ::popen(command.c_str(), "r");
        FILE* second = ::popen(command.c_str(), "r");
        ASSERT_TRUE(first && second);
        const int a = ::pclose(first);
        const int b = ::pclose(second);
        ASSERT_TRUE(WIFEXITED(a) && WIFEXITED(b));
        const int statusA = WEXITSTATUS(a), statusB = WEXITSTATUS(b);
        EXPECT_TRUE((statusA == 0 || statusA == 1) && (statusB == 0 || statusB == 1));
        EXPECT_TRUE(statusA == 0 || statusB == 0) << "one of the two always runs";
        // Whichever ran, the catalog reads whole and holds every find.
        const test::ProgramRun list = run({"list", "--catalog", base}, dir_);
        EXPECT_EQ(list.status, 0) << list.err;
        EXPECT_EQ(list.out, items);
    }
}

TEST_F(CatalogSafety, UnusableArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"config", "--log-dir", ""},
             {"config", "--download-dir", ""},
             {"config", "--user", ""},
             {"scan", "--catalog", "", "--logs", "x"},
             {"scan", "--catalog", base_, "--logs", dir_.path(), "--watermark", "abc"},
             {"scan", "--catalog", base_, "--logs", dir_.path(), "extra"},
             {"list", "--catalog", ""},
             {"salvage", "extra"},
         }) {
        const test::ProgramRun r = run(args, dir_);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[1] << "\n" << r.err;
        EXPECT_EQ(r.err.rfind("quenbrill-cli: ", 0), 0u) << r.err;
    }
}

} // namespace
} // namespace qbr
