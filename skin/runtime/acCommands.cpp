#include "skin/runtime/acCommands.h"

std::string_view CommandName(unsigned command) {
  switch (command) {
#define AC_COMMAND_CASE(name, number) \
  case number:                        \
    return #name;
    AC_COMMAND_LIST(AC_COMMAND_CASE)
#undef AC_COMMAND_CASE
  }
  return {};
}
