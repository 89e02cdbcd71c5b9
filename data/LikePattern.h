#pragma once
// A compiled `Like` pattern: "%" matches any run of characters, "_" exactly one,
// letters compare without regard to case (Latin and Cyrillic, as NOCASE does).
//
// The pattern is split at its "%" into pieces. The first piece must match at the
// start of the text, the last at its end, and every piece between is placed at its
// leftmost occurrence after the one before; leftmost placement never loses a
// match, so there is no backtracking. Pieces without "_" are found with
// Knuth-Morris-Pratt, so "%text%" is one linear scan; a piece with "_" is anchored
// on its longest run of letters and checked where that run occurs, at worst
// O(text × piece).
#include <string_view>
#include <vector>

class TLikePattern {
public:
  // escape: the character that makes the next one literal, 0 for none. A pattern
  // ending in a lone escape matches nothing.
  explicit TLikePattern(std::string_view pattern, char32_t escape = 0);

  bool Matches(std::string_view text) const;
  // The same on text already folded to upper-case code points.
  bool MatchesFolded(const std::vector<char32_t>& text) const;

  // Upper-cased code points of UTF-8 text, appended to out after clearing it.
  static void Fold(std::string_view text, std::vector<char32_t>& out);

private:
  struct TPiece {
    std::vector<char32_t> Chars;  // folded; positions of "_" hold 0
    std::vector<char> AnyOne;     // 1 where the pattern had "_"
    bool HasAnyOne = false;
    // The longest run without "_" (the whole piece when it has none) and its
    // failure table for the search.
    std::size_t AnchorStart = 0, AnchorLength = 0;
    std::vector<std::size_t> Failure;
  };
  static void Prepare(TPiece& piece);
  static bool MatchesAt(const TPiece& piece, const std::vector<char32_t>& text, std::size_t at);
  // The same when the anchor is known to match there: checks the rest only.
  static bool RestMatchesAt(const TPiece& piece, const std::vector<char32_t>& text, std::size_t at);
  // Leftmost start of the piece within text[from, to), or npos.
  static std::size_t Find(const TPiece& piece, const std::vector<char32_t>& text, std::size_t from, std::size_t to);

  std::vector<TPiece> Pieces_;  // one more than the number of "%" runs
  bool Invalid_ = false;        // dangling escape
};
