#include "data/LikePattern.h"

#include <algorithm>

#include "platform/base/Cp1251.h"

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

inline char32_t NextFolded(std::string_view text, std::size_t& pos) {
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) {
    ++pos;
    return (b >= 'a' && b <= 'z') ? b - 32 : b;
  }
  return UpperCodePoint(NextCodePoint(text, pos));
}

}  // namespace

void TLikePattern::Fold(std::string_view text, std::vector<char32_t>& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) out.push_back(NextFolded(text, pos));
}

TLikePattern::TLikePattern(std::string_view pattern, char32_t escape) {
  const char32_t foldedEscape = escape != 0 ? UpperCodePoint(escape) : 0;
  Pieces_.emplace_back();
  for (std::size_t pos = 0; pos < pattern.size();) {
    char32_t c = NextFolded(pattern, pos);
    bool literal = false;
    if (foldedEscape != 0 && c == foldedEscape) {
      if (pos >= pattern.size()) {
        Invalid_ = true;
        return;
      }
      c = NextFolded(pattern, pos);
      literal = true;
    }
    if (!literal && c == U'%') {
      Pieces_.emplace_back();
      continue;
    }
    TPiece& piece = Pieces_.back();
    const bool any = !literal && c == U'_';
    piece.Chars.push_back(any ? 0 : c);
    piece.AnyOne.push_back(any);
    piece.HasAnyOne = piece.HasAnyOne || any;
  }
  for (TPiece& piece : Pieces_) Prepare(piece);
}

void TLikePattern::Prepare(TPiece& piece) {
  // The anchor: the longest run of letters between "_" marks.
  std::size_t bestStart = 0, bestLength = 0;
  for (std::size_t i = 0; i < piece.Chars.size();) {
    if (piece.AnyOne[i]) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < piece.Chars.size() && !piece.AnyOne[j]) ++j;
    if (j - i > bestLength) bestStart = i, bestLength = j - i;
    i = j;
  }
  piece.AnchorStart = bestStart;
  piece.AnchorLength = bestLength;
  // Knuth-Morris-Pratt failure table of the anchor.
  piece.Failure.assign(bestLength, 0);
  const char32_t* a = piece.Chars.data() + bestStart;
  for (std::size_t i = 1, k = 0; i < bestLength; ++i) {
    while (k > 0 && a[i] != a[k]) k = piece.Failure[k - 1];
    if (a[i] == a[k]) ++k;
    piece.Failure[i] = k;
  }
}

bool TLikePattern::MatchesAt(const TPiece& piece, const std::vector<char32_t>& text, std::size_t at) {
  if (at + piece.Chars.size() > text.size()) return false;
  for (std::size_t i = 0; i < piece.Chars.size(); ++i)
    if (!piece.AnyOne[i] && piece.Chars[i] != text[at + i]) return false;
  return true;
}

bool TLikePattern::RestMatchesAt(const TPiece& piece, const std::vector<char32_t>& text, std::size_t at) {
  // The last letter first: a cheap early out for near misses.
  const std::size_t length = piece.Chars.size();
  if (!piece.AnyOne[length - 1] && piece.Chars[length - 1] != text[at + length - 1]) return false;
  for (std::size_t i = 0; i < piece.AnchorStart; ++i)
    if (!piece.AnyOne[i] && piece.Chars[i] != text[at + i]) return false;
  for (std::size_t i = piece.AnchorStart + piece.AnchorLength; i < length; ++i)
    if (!piece.AnyOne[i] && piece.Chars[i] != text[at + i]) return false;
  return true;
}

std::size_t TLikePattern::Find(const TPiece& piece, const std::vector<char32_t>& text, std::size_t from,
                               std::size_t to) {
  const std::size_t length = piece.Chars.size();
  if (to < from || to - from < length) return kNone;
  if (piece.AnchorLength == 0) return from;  // only "_": any place with room will do
  // Scan for the anchor; each place it occurs gives one candidate start.
  const char32_t* a = piece.Chars.data() + piece.AnchorStart;
  const std::size_t m = piece.AnchorLength;
  const std::size_t first = from + piece.AnchorStart;             // earliest anchor position
  const std::size_t last = to - length + piece.AnchorStart + m;   // anchor must end by here
  std::size_t k = 0;
  for (std::size_t i = first; i < last; ++i) {
    while (k > 0 && text[i] != a[k]) k = piece.Failure[k - 1];
    if (text[i] == a[k]) ++k;
    if (k == m) {
      const std::size_t start = i + 1 - m - piece.AnchorStart;
      if (!piece.HasAnyOne || RestMatchesAt(piece, text, start)) return start;
      k = piece.Failure[k - 1];
    }
  }
  return kNone;
}

bool TLikePattern::MatchesFolded(const std::vector<char32_t>& text) const {
  if (Invalid_) return false;
  const TPiece& head = Pieces_.front();
  if (Pieces_.size() == 1) return head.Chars.size() == text.size() && MatchesAt(head, text, 0);
  const TPiece& tail = Pieces_.back();
  if (head.Chars.size() + tail.Chars.size() > text.size()) return false;
  if (!MatchesAt(head, text, 0) || !MatchesAt(tail, text, text.size() - tail.Chars.size())) return false;
  std::size_t from = head.Chars.size();
  const std::size_t to = text.size() - tail.Chars.size();
  for (std::size_t i = 1; i + 1 < Pieces_.size(); ++i) {
    const TPiece& piece = Pieces_[i];
    if (piece.Chars.empty()) continue;
    const std::size_t at = Find(piece, text, from, to);
    if (at == kNone) return false;
    from = at + piece.Chars.size();
  }
  return true;
}

bool TLikePattern::Matches(std::string_view text) const {
  if (Invalid_) return false;
  thread_local std::vector<char32_t> folded;
  Fold(text, folded);
  const bool result = MatchesFolded(folded);
  if (folded.capacity() > (1u << 20)) std::vector<char32_t>().swap(folded);  // give back huge buffers
  return result;
}
