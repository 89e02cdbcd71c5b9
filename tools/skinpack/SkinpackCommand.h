#pragma once
// Subcommands of skinpack: one source file per subcommand, listed in main.cpp.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TSkinpackCommand {
  std::string Name;
  std::string Usage;  // arguments after the subcommand name
  std::string Help;
  int ArgumentCount = 0;  // exact number of arguments
  std::function<int(const std::vector<std::string>&)> Run;  // returns the exit status
};

TSkinpackCommand SkinpackContactSheetCommand();
TSkinpackCommand SkinpackListCommand();
TSkinpackCommand SkinpackPackCommand();
TSkinpackCommand SkinpackUnpackCommand();
TSkinpackCommand SkinpackValidateCommand();

// Whole files, native paths; raise EFileError when they cannot be read or written.
std::vector<std::uint8_t> SkinpackReadFile(const std::string& nativePath);
void SkinpackWriteFile(const std::string& nativePath, const std::vector<std::uint8_t>& bytes);
