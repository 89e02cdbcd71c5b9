#pragma once
// Windows-1251 is the encoding of skin options files, package entry names and
// many classroom documents; the program itself works in UTF-8.
#include <string>
#include <string_view>

// Converts Windows-1251 bytes to UTF-8. Every byte has a meaning (0x98 maps to U+FFFD).
std::string Cp1251ToUtf8(std::string_view text);
// Converts UTF-8 to Windows-1251; characters that have no code there become '?'.
std::string Utf8ToCp1251(std::string_view text);
// Decodes one UTF-8 sequence at text[pos] strictly, advancing pos. Overlong
// forms, surrogates, code points past U+10FFFF and cut sequences are invalid:
// each maximal invalid part yields one U+FFFD and returns false.
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& cp);
// The same, for callers that only want the character.
char32_t NextCodePoint(std::string_view text, size_t& pos);
// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);
// Upper-case of Latin and Cyrillic letters (others unchanged), on UTF-8 text.
std::string UpperCaseUtf8(std::string_view text);
// True when no byte has its high bit set: such text is the same in Windows-1251 and
// UTF-8, and folds letter case byte by byte (checked eight bytes at a time).
bool AllAscii(std::string_view text);
// Lower-case of Latin and Cyrillic letters (others unchanged), on UTF-8 text.
std::string LowerCaseUtf8(std::string_view text);
// Upper-case of one code point (Latin, Cyrillic incl. Ё; others unchanged).
char32_t UpperCodePoint(char32_t cp);
char32_t LowerCodePoint(char32_t cp);
