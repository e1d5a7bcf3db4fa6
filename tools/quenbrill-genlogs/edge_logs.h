#pragma once

#include "quenbrill-genlogs/cp932.h"

#include <string>
#include <vector>

namespace genlogs {

struct EdgeLog {
    std::string name;
    std::string data;
};

// Logs that stand at the edges of the scanner's rules, one rule each (see edge_logs.cpp for
// what each should file).
std::vector<EdgeLog> edgeLogs(const Cp932& cp932);

} // namespace genlogs
