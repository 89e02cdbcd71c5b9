// The Like matcher on a long search text against a huge title: the new matcher,
// the folding pass it cannot avoid (the linear baseline), and the matcher it
// replaced (one backtracking point at the last "%") on a smaller case.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "data/LikePattern.h"
#include "data/TextCollation.h"
#include "platform/base/Cp1251.h"

namespace {

const std::string& Title(std::size_t size) {
  static std::string title;
  if (title.size() != size + 1) title = std::string(size, 'a') + "b";
  return title;
}

std::string Search(std::size_t size) { return "%" + std::string(size, 'A') + "B%"; }

// The previous matcher, kept here only as the baseline it was measured against.
char32_t Folded(std::string_view text, size_t& pos) {
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) {
    ++pos;
    return (b >= 'a' && b <= 'z') ? b - 32 : b;
  }
  return UpperCodePoint(NextCodePoint(text, pos));
}

bool BacktrackingLike(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      size_t next = p;
      const char32_t pc = Folded(pattern, next);
      if (pc == U'%') {
        starP = p = next;
        starT = t;
        continue;
      }
      size_t tNext = t;
      const char32_t tc = Folded(text, tNext);
      if (pc == U'_' || pc == tc) {
        p = next;
        t = tNext;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP;
    Folded(text, starT);
    t = starT;
  }
  while (p < pattern.size()) {
    size_t next = p;
    if (Folded(pattern, next) != U'%') return false;
    p = next;
  }
  return true;
}

void BM_Like4kIn1M(benchmark::State& state) {
  const std::string& title = Title(1 << 20);
  const std::string search = Search(4096);
  for (auto _ : state) benchmark::DoNotOptimize(FoldedLike(search, title));
}
BENCHMARK(BM_Like4kIn1M)->Unit(benchmark::kMillisecond);

void BM_Fold1M(benchmark::State& state) {
  const std::string& title = Title(1 << 20);
  std::vector<char32_t> folded;
  for (auto _ : state) {
    TLikePattern::Fold(title, folded);
    benchmark::DoNotOptimize(folded.data());
  }
}
BENCHMARK(BM_Fold1M)->Unit(benchmark::kMillisecond);

void BM_Like1kIn64k(benchmark::State& state) {
  const std::string title = std::string(64 * 1024, 'a') + "b";
  const std::string search = Search(1024);
  for (auto _ : state) benchmark::DoNotOptimize(FoldedLike(search, title));
}
BENCHMARK(BM_Like1kIn64k)->Unit(benchmark::kMillisecond);

void BM_BacktrackingLike1kIn64k(benchmark::State& state) {
  const std::string title = std::string(64 * 1024, 'a') + "b";
  const std::string search = Search(1024);
  for (auto _ : state) benchmark::DoNotOptimize(BacktrackingLike(search, title));
}
BENCHMARK(BM_BacktrackingLike1kIn64k)->Unit(benchmark::kMillisecond);

}  // namespace
