#include "platform/base/ProcessHeap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

bool PrepareProcessHeap() {
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kProcessHeapLargeLimit));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(4 * kProcessHeapReserve));
  // One allocation the heap cannot serve yet makes it grow by the reserve at once:
  // only what is touched later is ever backed by memory.
  mallopt(M_TOP_PAD, static_cast<int>(kProcessHeapReserve));
  void* first = std::malloc(kLargePage);
  mallopt(M_TOP_PAD, 0);
  if (!first) return false;
  // From the page the new space starts in: the kernel backs each aligned large
  // page inside the advised range.
  const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(first) & ~(pageSize - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~(pageSize - 1);
  std::free(first);
  if (end <= start) return false;
  return madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE) == 0;
}
