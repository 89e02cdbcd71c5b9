#pragma once
// Errors raised to the user carry the exact message text; the application loop
// shows it in the error message box. The class names follow the runtime's
// classic exception families so callers can catch by kind.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A value could not be converted ("'abc' is not a valid integer value").
class EConvertError : public Exception { using Exception::Exception; };
// A stream ended early or lied about its size ("Stream read error").
class EReadError : public Exception { using Exception::Exception; };
// An image file could not be decoded.
class EInvalidGraphic : public Exception { using Exception::Exception; };
// A request for more memory or size than the program allows.
class EOutOfResources : public Exception { using Exception::Exception; };
// File system errors (missing file, cannot create).
class EFileError : public Exception { using Exception::Exception; };
// Variant conversions ("Could not convert variant of type (Null) into type (OleStr)").
class EVariantError : public Exception { using Exception::Exception; };
// Database engine errors, with the engine's own text.
class EDatabaseError : public Exception { using Exception::Exception; };
