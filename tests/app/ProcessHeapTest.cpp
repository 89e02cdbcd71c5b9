// The program's heap, as main prepares it: window-sized bitmaps land in the part
// advised to use large pages, not in mappings of their own.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/base/ProcessHeap.h"
#include "platform/gfx/Bitmap.h"

namespace {

bool LargePagesOnRequest() {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string text((std::istreambuf_iterator<char>(setting)), std::istreambuf_iterator<char>());
  return text.find("[always]") != std::string::npos || text.find("[madvise]") != std::string::npos;
}

struct TMapping {
  std::string Name;
  std::string Flags;  // the kernel's VmFlags ("hg": large pages advised)
};

// The mapping of this process that holds `address`, from /proc/self/smaps.
TMapping MappingOf(const void* address) {
  const auto where = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  TMapping found;
  while (std::getline(smaps, line)) {
    std::uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> from >> dash >> to && dash == '-') {
      if (inside) break;
      inside = from <= where && where < to;
      if (inside) {
        std::string perms, offset, device, inode;
        head >> perms >> offset >> device >> inode;
        std::getline(head >> std::ws, found.Name);
      }
    } else if (inside && line.starts_with("VmFlags:")) {
      found.Flags = line.substr(8) + " ";
    }
  }
  return found;
}

TEST(ProcessHeapTest, WindowSizedBitmapsLieInTheHeapAdvisedForLargePages) {
  if (!LargePagesOnRequest()) GTEST_SKIP() << "large pages are switched off on this machine";
  ASSERT_TRUE(PrepareProcessHeap());
  // A maximised window's image, and a picture several times that.
  for (const TSize size : {TSize{1280, 1024}, TSize{3000, 2000}}) {
    TBitmap image(size.cx, size.cy, TPixelFormat::pf32bit, true);
    const TMapping mapping = MappingOf(image.ScanLine(0));
    EXPECT_EQ(mapping.Name, "[heap]") << size.cx << " x " << size.cy;
    EXPECT_NE(mapping.Flags.find(" hg "), std::string::npos) << size.cx << " x " << size.cy << ":" << mapping.Flags;
    // Still a zeroed bitmap, every row of it.
    EXPECT_EQ(image.ScanLine(size.cy - 1)[size.cx * 4 - 1], 0);
  }
}

}  // namespace
