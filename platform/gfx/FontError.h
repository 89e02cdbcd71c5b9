#pragma once
#include "platform/base/Exception.h"

// No usable font file could be found or opened.
class EFontError : public Exception { using Exception::Exception; };
