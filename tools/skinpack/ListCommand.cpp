// skinpack list FILE.asz: the entries in package order.
#include <cstdio>

#include "skin/core/acSkinPack.h"
#include "tools/skinpack/SkinpackCommand.h"

namespace {

int RunList(const std::vector<std::string>& args) {
  TacMemoryStream source(SkinpackReadFile(args[0]));
  const auto entries = ReadPackageEntries(source);
  std::printf("%-32s %10s %10s %10s\n", "name", "offset", "packed", "size");
  for (const auto& e : entries)
    std::printf("%-32s %10zu %10zu %10d\n", e.Name.c_str(), e.Offset, e.PackedSize, e.Size);
  std::printf("%zu entries, %zu bytes\n", entries.size(), source.Size());
  if (source.Position() != source.Size()) std::printf("%zu bytes after the last entry\n", source.Size() - source.Position());
  return 0;
}

}  // namespace

TSkinpackCommand SkinpackListCommand() {
  return {"list", "FILE.asz", "lists the entries of a skin package", 1, RunList};
}
