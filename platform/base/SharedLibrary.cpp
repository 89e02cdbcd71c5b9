#include "platform/base/SharedLibrary.h"

#include <dlfcn.h>

TSharedLibrary::TSharedLibrary(const char* soname) : Name_(soname) {
  Handle_ = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!Handle_) {
    const char* why = dlerror();
    Error_ = "не загружается библиотека " + Name_ + " (" + (why ? why : "?") + ")";
  }
}

void* TSharedLibrary::Symbol(const char* symbol) {
  if (!Handle_) return nullptr;
  void* address = dlsym(Handle_, symbol);
  if (!address && Error_.empty()) Error_ = "в библиотеке " + Name_ + " нет функции " + symbol;
  return address;
}
