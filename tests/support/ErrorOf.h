#pragma once
// The message of the error a call raises, or "(no error)". Only errors of type E
// are caught: any other passes on and fails the test, as a wrong kind should.
#include <string>

#include "platform/base/Exception.h"

template <typename E = Exception, typename Fn>
std::string ErrorOf(Fn&& fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no error)";
}
