#pragma once
// A library the program opens the first time it needs it instead of linking it.
// Its symbols stay local to it (they must not stand in for the program's own
// functions of the same names), the handle stays open for the life of the
// program, and what is missing is said in words a Russian message can carry.
#include <string>

class TSharedLibrary {
public:
  explicit TSharedLibrary(const char* soname);

  // Sets `function` to the library's function `symbol`, or to null; the first one
  // missing is named in Error().
  template <typename F>
  void Find(F& function, const char* symbol) {
    function = reinterpret_cast<F>(Symbol(symbol));
  }
  // Empty while the library and every function asked for are there.
  const std::string& Error() const { return Error_; }

private:
  void* Symbol(const char* symbol);
  std::string Name_;
  void* Handle_ = nullptr;
  std::string Error_;
};
