// Memory of a loaded catalog against the size of its three files. Usage:
//   qbr_bench_memory CATALOG_BASE        (reads CATALOG_BASE.dat, .trr and .nod)
// The heap is measured two ways: glibc's own count (mallinfo2, arena and mmapped blocks) of
// what the load leaves allocated, and this program's operator new, which adds up the usable
// size of every block and so also sees the peak during the load.

#include "catalog/catalog.h"
#include "catalog/catalog_files.h"
#include "catalog/error.h"
#include "catalog/silent_progress.h"
#include "null_sinks.h"
#include "plain_pass.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <malloc.h>
#include <memory>
#include <new>
#include <string>

namespace {

// The program is single-threaded: plain counters will do.
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void* counted(void* block) {
    if (block) {
        liveBytes += malloc_usable_size(block);
        if (liveBytes > peakBytes)
            peakBytes = liveBytes;
    }
    return block;
}

void* allocate(std::size_t size) {
    if (void* block = counted(std::malloc(size == 0 ? 1 : size)))
        return block;
    throw std::bad_alloc();
}

void release(void* block) noexcept {
    if (block) {
        liveBytes -= malloc_usable_size(block);
        std::free(block);
    }
}

std::size_t mallocInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double ratio(std::size_t bytes, std::uint64_t files) {
    return static_cast<double>(bytes) / static_cast<double>(files);
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return counted(std::malloc(size == 0 ? 1 : size));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return counted(std::malloc(size == 0 ? 1 : size));
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    release(block);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qbr_bench_memory CATALOG_BASE\n");
        return 2;
    }
    try {
        using namespace qbr;
        const CatalogPaths paths = CatalogPaths::fromBase(argv[1]);
        const std::uint64_t files = bench::totalSize({paths.dat(), paths.trr(), paths.nod()});
        SilentProgress progress;

        const std::size_t mallocBefore = mallocInUse();
        const std::size_t liveBefore = liveBytes;
        peakBytes = liveBytes;
        auto catalog = std::make_unique<Catalog>();
        LoadCatalog(*catalog, paths, systemFileSystem(), progress);
        const std::size_t retained = liveBytes - liveBefore;
        const std::size_t peak = peakBytes - liveBefore;
        const std::size_t mallocRetained = mallocInUse() - mallocBefore;
        if (catalog->loadState() != Catalog::LoadState::Complete) {
            std::fprintf(stderr, "qbr_bench_memory: the catalog did not load whole\n");
            return 1;
        }

        const std::size_t lineStore = catalog->lines().memoryUsage();
        std::printf("memory: catalog files %llu bytes, %zu nodes, %zu lines\n",
                    static_cast<unsigned long long>(files), catalog->nodeCount(),
                    catalog->lines().size());
        std::printf("memory: after LoadCatalog %zu bytes held (mallinfo2: %zu): %zu in the "
                    "LineStore, %zu in the tree\n",
                    retained, mallocRetained, lineStore, retained - lineStore);
        std::printf("memory: peak during LoadCatalog %zu bytes\n", peak);
        const double held = ratio(retained, files);
        std::printf("summary: loaded catalog holds %.2f times its files (mallinfo2 %.2f), peak "
                    "%.2f times (goal <= 1.5) %s\n",
                    held, ratio(mallocRetained, files), ratio(peak, files),
                    held <= 1.5 ? "met" : "MISSED");
        return 0;
    } catch (const qbr::Error& e) {
        std::fprintf(stderr, "qbr_bench_memory: %s\n", e.text().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qbr_bench_memory: %s\n", e.what());
    }
    return 1;
}
