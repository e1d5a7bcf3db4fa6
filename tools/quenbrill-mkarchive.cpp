// Writes the sample archives of tools/archive_fixtures into a folder: for trying the archive
// listing by hand (quenbrill-cli archive DIR/level0.lzh) and as seeds of the listing fuzzer.
#include "archive_fixtures/sample_archives.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quenbrill-mkarchive DIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    for (const qbr::fixtures::NamedArchive& archive : qbr::fixtures::sampleArchives()) {
        std::ofstream out(dir + archive.fileName, std::ios::binary);
        out << archive.bytes;
        if (!out) {
            std::fprintf(stderr, "quenbrill-mkarchive: cannot write %s%s\n", dir.c_str(),
                         archive.fileName.c_str());
            return 1;
        }
    }
    return 0;
}
