#include "cpu_meter.h"

#include <sys/resource.h>
#include <time.h>

namespace qbr::bench {

namespace {

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

} // namespace

double processorSeconds() {
    timespec self{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &self);
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    return static_cast<double>(self.tv_sec) + static_cast<double>(self.tv_nsec) * 1e-9 +
           seconds(children.ru_utime) + seconds(children.ru_stime);
}

} // namespace qbr::bench
