#pragma once
// Character sets of documents: the HTML view works in UTF-8 and reads UTF-8,
// UTF-16 (by its BOM), Windows-1251 and Latin-1 pages.
//
// What the page declares (BOM, <meta charset>, http-equiv Content-Type) is
// believed unless the bytes plainly say otherwise: a page that claims UTF-8 but
// is not valid UTF-8 was saved in Windows-1251 (classroom pages often are), and a
// page that claims Windows-1251 but whose high bytes all form UTF-8 sequences was
// re-saved in UTF-8 without its meta being changed.
#include <string>
#include <string_view>

enum class THtmlCharset { Utf8, Utf16Le, Utf16Be, Windows1251, Latin1 };

struct THtmlDecoded {
  std::string Text;           // UTF-8, no BOM, no NUL characters
  THtmlCharset Charset = THtmlCharset::Utf8;
  std::string Declared;       // what the page named, lower case ("" when nothing)
};

// The charset named by a BOM or by the page's head (first few kilobytes); empty when none.
std::string DeclaredHtmlCharset(std::string_view bytes);
// True when every byte sequence is well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
// Decodes a page to UTF-8 as described above.
THtmlDecoded DecodeHtmlBytes(std::string_view bytes);
// Display name of a charset ("utf-8", "windows-1251" ...).
const char* HtmlCharsetName(THtmlCharset charset);
