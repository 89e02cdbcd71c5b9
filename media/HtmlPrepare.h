#pragma once
// Getting page text ready for the parser: word-processor markup the view does not
// use is taken out, and nesting deeper than the layout can follow is flattened
// (the parser and the layout recurse once per level, so 20,000 nested tags would
// exhaust the stack).
#include <cstddef>
#include <string>
#include <string_view>

// Elements nested deeper than this lose their tags (their text stays).
constexpr int kHtmlMaxDepth = 256;
// Tables nested deeper than this lose their table tags (the layout's time
// doubles with every level of tables in tables).
constexpr long kHtmlMaxTableDepth = 5;
// A long page can be shown from its first part while the rest is read: the
// first part ends before a block of the body's own, this far into the text or later.
constexpr std::size_t kHtmlFirstPartBytes = 16u << 10;

struct THtmlPrepared {
  std::string Text;
  int MaxDepth = 0;          // nesting depth found in the source (before flattening)
  std::size_t Elements = 0;  // start tags kept
  std::size_t Words = 0;     // runs of text between spaces and tags (each becomes a node)
  std::size_t DroppedTags = 0;
  // Offset in Text of the first block opened straight in <body> (nothing else open)
  // at kHtmlFirstPartBytes or later; 0 when there is none.
  std::size_t FirstPartEnd = 0;
};

// Removes conditional comments and their downlevel markers, and namespaced
// tags such as <o:p> and <v:shape> (keeping what is between them); flattens nesting
// beyond `maxDepth`.
THtmlPrepared PrepareHtml(const std::string& utf8, int maxDepth = kHtmlMaxDepth);

// Offset of an ASCII lower-case pattern in text of any case at `from` or later; npos when absent.
std::size_t FindCaseless(const std::string& text, std::string_view pattern, std::size_t from = 0);

// True when the bytes look like a binary file rather than text (control bytes that
// no text document contains).
bool LooksBinary(const std::string& bytes);
