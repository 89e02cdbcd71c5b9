#pragma once
// Where errors escaping a message handler go: the application shows them in the
// error message box and the action that raised them stops there.
#include <exception>

// Call from inside a catch block.
void HandleFrameworkException(const std::exception_ptr& error);
