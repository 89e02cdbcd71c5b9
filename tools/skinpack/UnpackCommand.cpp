// skinpack unpack FILE.asz DIR: writes every entry as a file of DIR.
#include <cstdio>
#include <filesystem>

#include "platform/base/Exception.h"
#include "skin/core/acSkinPack.h"
#include "tools/skinpack/SkinpackCommand.h"

namespace {

// Entry names are plain file names; anything that could leave DIR is refused.
void CheckEntryName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\\') != std::string::npos || name.find('\0') != std::string::npos)
    throw Exception("entry name \"" + name + "\" is not a plain file name");
}

int RunUnpack(const std::vector<std::string>& args) {
  TacMemoryStream source(SkinpackReadFile(args[0]));
  const auto entries = ReadPackageEntries(source);
  for (const auto& e : entries) CheckEntryName(e.Name);
  const std::filesystem::path dir(args[1]);
  std::filesystem::create_directories(dir);
  for (const auto& e : entries) {
    SkinpackWriteFile((dir / e.Name).string(), e.Bytes);
    std::printf("%s (%d bytes)\n", e.Name.c_str(), e.Size);
  }
  return 0;
}

}  // namespace

TSkinpackCommand SkinpackUnpackCommand() {
  return {"unpack", "FILE.asz DIR", "writes the entries of a package into DIR", 2, RunUnpack};
}
