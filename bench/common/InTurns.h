#pragma once
// A piece of work and its baseline timed in turns, for figures that must hold from
// one run to the next. Each benchmark iteration is one round: the work run once
// untimed and then repeated for about a tenth of a millisecond of this thread's
// processor time, then the baseline the same way (the order swapped every other
// round), and the round's ratio kept. The
// figure is the median of the rounds' ratios: both sides of a round meet the same
// clock frequency and the same neighbours on the machine, and a round disturbed by
// either is an outlier the median drops. The least time an iteration took over the
// rounds is kept beside it for the "_us" lines.
//
// Small copies are sensitive to where their buffers lie (glibc's copy of 9 KB takes
// 1.4 times as long when the target is 16 bytes off the source's 64-byte phase), so
// a copy baseline runs between two TAlignedBytes: the copy's fast case, never the
// slow one a heap address happened to give.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "bench/common/BenchRunner.h"

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Bytes starting at a 64-byte boundary, filled, so their pages are touched before
// anything is timed.
class TAlignedBytes {
public:
  explicit TAlignedBytes(std::size_t size, std::uint8_t fill = 7)
      : Size_(size), Data_(static_cast<std::uint8_t*>(std::aligned_alloc(64, (size + 63) / 64 * 64))) {
    std::memset(Data_, fill, (size + 63) / 64 * 64);
  }
  ~TAlignedBytes() { std::free(Data_); }
  TAlignedBytes(const TAlignedBytes&) = delete;
  TAlignedBytes& operator=(const TAlignedBytes&) = delete;
  std::uint8_t* Data() { return Data_; }
  std::size_t Size() const { return Size_; }

private:
  std::size_t Size_;
  std::uint8_t* Data_;
};

// A copy of `size` bytes between two aligned buffers: the baseline of the painters.
class TCopyBaseline {
public:
  explicit TCopyBaseline(std::size_t size) : From_(size, 7), To_(size, 0) {}
  void operator()() {
    std::memcpy(To_.Data(), From_.Data(), From_.Size());
    benchmark::DoNotOptimize(To_.Data());
    benchmark::ClobberMemory();
  }

private:
  TAlignedBytes From_, To_;
};

struct TTurns {
  std::vector<double> Ratios;  // work's time over the baseline's, a round each
  double WorkBest = 0;         // least seconds one run of the work took
  double BaselineBest = 0;

  double Median() const { return ::Median(Ratios); }
};

namespace in_turns_detail {

constexpr double kBatchSeconds = 100e-6;

// How many runs make about one batch of `seconds`.
template <class F>
int BatchFor(F& fn, double seconds) {
  for (int n = 1;; n *= 2) {
    const double start = ThreadCpuSeconds();
    for (int i = 0; i < n; ++i) fn();
    const double spent = ThreadCpuSeconds() - start;
    if (spent >= seconds / 2 || n >= (1 << 20))
      return std::max(1, static_cast<int>(static_cast<double>(n) * seconds / std::max(spent, 1e-9) + 0.5));
  }
}

// One untimed run first: the other side of the round has just had the caches, and
// a bitmap of megabytes would otherwise be timed coming back from memory once per
// batch, which the side timed in more runs a batch would pay less often.
template <class F>
double SecondsPerRun(F& fn, int n) {
  fn();
  const double start = ThreadCpuSeconds();
  for (int i = 0; i < n; ++i) fn();
  return (ThreadCpuSeconds() - start) / n;
}

}  // namespace in_turns_detail

// Runs one round per iteration of `state` and leaves the rounds in `turns`. Work on
// megabytes wants longer batches (kLargeBatchSeconds): with a tenth of a millisecond
// a 1024 x 768 blend was timed at 0.40 of its copy in turns and 0.56 alone, the
// batch too short for the caches to settle after the other side had them, even
// with the untimed run; from a millisecond up both agree.
constexpr double kLargeBatchSeconds = 2e-3;

template <class W, class B>
void TimeInTurns(benchmark::State& state, TTurns& turns, W&& work, B&& baseline,
                 double batchSeconds = in_turns_detail::kBatchSeconds) {
  using namespace in_turns_detail;
  turns = TTurns{};
  const int workRuns = BatchFor(work, batchSeconds), baselineRuns = BatchFor(baseline, batchSeconds);  // also warms both
  bool workFirst = true;
  for (auto _ : state) {
    double w = 0, b = 0;
    if (workFirst) {
      w = SecondsPerRun(work, workRuns);
      b = SecondsPerRun(baseline, baselineRuns);
    } else {
      b = SecondsPerRun(baseline, baselineRuns);
      w = SecondsPerRun(work, workRuns);
    }
    workFirst = !workFirst;
    if (w <= 0 || b <= 0) continue;
    turns.Ratios.push_back(w / b);
    turns.WorkBest = turns.WorkBest > 0 ? std::min(turns.WorkBest, w) : w;
    turns.BaselineBest = turns.BaselineBest > 0 ? std::min(turns.BaselineBest, b) : b;
  }
  state.counters["rounds"] = static_cast<double>(turns.Ratios.size());
  state.counters["ratio"] = turns.Median();
}
