// skinpack pack DIR FILE.asz: packs every file of DIR, Options.dat first.
#include <cstdio>

#include "platform/base/Exception.h"
#include "platform/base/Cp1251.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acSkinPackWriter.h"
#include "tools/skinpack/SkinpackCommand.h"

namespace {

int RunPack(const std::vector<std::string>& args) {
  const auto entries = ReadPackEntriesFromFolder(args[0]);
  bool hasOptions = false;
  for (const auto& e : entries) {
    if (UpperCaseUtf8(e.Name) == "OPTIONS.DAT") hasOptions = true;
    // Names must survive the trip through Windows-1251.
    if (Cp1251ToUtf8(Utf8ToCp1251(e.Name)) != e.Name) throw Exception("file name \"" + e.Name + "\" has no Windows-1251 form");
  }
  if (!hasOptions) throw Exception("\"" + args[0] + "\" holds no Options.dat");
  const auto bytes = WritePackage(entries);
  // Read it back before claiming success.
  TacMemoryStream check(bytes);
  if (ReadPackageEntries(check).size() != entries.size()) throw Exception("the written package does not read back");
  SkinpackWriteFile(args[1], bytes);
  std::printf("%zu entries, %zu bytes\n", entries.size(), bytes.size());
  return 0;
}

}  // namespace

TSkinpackCommand SkinpackPackCommand() {
  return {"pack", "DIR FILE.asz", "packs the files of a skin folder", 2, RunPack};
}
