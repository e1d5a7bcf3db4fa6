#pragma once

#include "catalog/error.h"

#include <cstdio>
#include <exception>

namespace qbr::bench {

// Runs a benchmark program's body; an error ends it with its text on standard error and 1.
template <typename Body> int runReportingErrors(const char* program, Body&& body) {
    try {
        return body();
    } catch (const Error& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.text().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
    }
    return 1;
}

} // namespace qbr::bench
