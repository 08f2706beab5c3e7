// BenchTiming.h: the clock and the median the benchmarks report with.
#ifndef BENCH_BENCH_TIMING_H
#define BENCH_BENCH_TIMING_H

#include <vector>

// Milliseconds on the performance counter; only differences are meaningful.
double nowMs();
// The median of values; 0 for none.
double median(std::vector<double> values);

#endif
