// skinpack: lists, unpacks, packs and validates skin packages and skin folders.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/base/Exception.h"
#include "tools/skinpack/SkinpackCommand.h"

std::vector<std::uint8_t> SkinpackReadFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) throw EFileError("Cannot open file \"" + nativePath + "\"");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SkinpackWriteFile(const std::string& nativePath, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  if (!out) throw EFileError("Cannot create file \"" + nativePath + "\"");
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EFileError("Cannot write file \"" + nativePath + "\"");
}

namespace {

// In the order the usage lists them.
std::vector<TSkinpackCommand> SkinpackCommands() {
  return {SkinpackContactSheetCommand(), SkinpackListCommand(), SkinpackPackCommand(), SkinpackUnpackCommand(),
          SkinpackValidateCommand()};
}

int Usage() {
  const auto commands = SkinpackCommands();
  std::fprintf(stderr, "usage:\n");
  for (const auto& c : commands) std::fprintf(stderr, "  skinpack %s %s\n      %s\n", c.Name.c_str(), c.Usage.c_str(), c.Help.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string name = argv[1];
  for (const auto& command : SkinpackCommands()) {
    if (command.Name != name) continue;
    std::vector<std::string> args(argv + 2, argv + argc);
    if (static_cast<int>(args.size()) != command.ArgumentCount) return Usage();
    try {
      return command.Run(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "skinpack %s: %s\n", name.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "skinpack: unknown command \"%s\"\n", name.c_str());
  return Usage();
}
