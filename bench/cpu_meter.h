#pragma once

namespace qbr::bench {

// Processor time of this process and of its children that have been waited for, in seconds.
// On a shared machine with more runnable work than cores, wall times stretch with the load
// of others while processor time follows the work done: the ratios are given both ways.
double processorSeconds();

// Adds up the processor time of the timed parts of a benchmark.
class CpuMeter {
  public:
    void start() { mark_ = processorSeconds(); }
    void stop() { total_ += processorSeconds() - mark_; }
    double total() const noexcept { return total_; }

  private:
    double mark_ = 0;
    double total_ = 0;
};

} // namespace qbr::bench
