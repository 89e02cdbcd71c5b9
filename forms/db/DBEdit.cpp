#include "forms/db/DBEdit.h"

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  TDBEdit::RegisterDriverProperties<TDBEdit>();
  return true;
}();

}  // namespace
