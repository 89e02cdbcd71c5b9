#pragma once
// The program's heap, set up by main first thing (and by the benchmarks of the
// program's work, to measure it as it runs). Its pictures live in large pages:
// start-up alone makes a dozen window-sized bitmaps (the main window's picture
// decoded, blended, its frame and its window image), and in small pages each of
// them costs the kernel five hundred page faults before the first pixel is drawn.
#include <cstddef>

// Sets up the heap before anything large is allocated: allocations up to
// kProcessHeapLargeLimit come from the heap (not a mapping of their own each,
// unmapped again on free), the heap's first kProcessHeapReserve bytes are
// reserved at once and advised to use large pages, and freed memory stays for
// the next picture. Returns whether the kernel took the advice (it may have
// large pages switched off; the heap then works as before).
bool PrepareProcessHeap();

constexpr std::size_t kProcessHeapReserve = std::size_t{64} << 20;
constexpr std::size_t kProcessHeapLargeLimit = std::size_t{64} << 20;
