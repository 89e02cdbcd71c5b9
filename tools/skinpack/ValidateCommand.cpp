// skinpack validate FILE.asz|DIR: loads the skin and reports what would go wrong.
#include <cstdio>

#include "skin/core/acSkinCheck.h"
#include "tools/skinpack/SkinpackCommand.h"

namespace {

int RunValidate(const std::vector<std::string>& args) {
  const auto problems = CheckSkin(args[0]);
  for (const auto& p : problems) std::printf("%s\n", FormatSkinProblem(p).c_str());
  if (problems.empty()) {
    std::printf("%s: no problems\n", args[0].c_str());
    return 0;
  }
  std::printf("%s: %zu problem(s)\n", args[0].c_str(), problems.size());
  return 1;
}

}  // namespace

TSkinpackCommand SkinpackValidateCommand() {
  return {"validate", "FILE.asz|DIR",
                                       "reports unresolved images, unknown parents and unreadable values (exit 1)", 1,
                                       RunValidate};
}
