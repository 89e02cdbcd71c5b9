#include "forms/db/DBMemo.h"

namespace {

[[maybe_unused]] const bool kDriverRegistered = [] {
  TDBMemo::RegisterDriverProperties<TDBMemo>();
  return true;
}();

}  // namespace
