#include "skin/core/acMasks.h"

#include <charconv>

#include "platform/base/Exception.h"

namespace {

// Characters start..end (1-based, inclusive) of the value; shorter when the value ends early.
std::string_view Positions(std::string_view value, std::size_t first, std::size_t last) {
  if (first > value.size()) return {};
  const std::size_t begin = first - 1;
  const std::size_t count = std::min(last, value.size()) - begin;
  return value.substr(begin, count);
}

std::int16_t Short(std::int64_t v) {
  if (v > 32767) return 32767;
  if (v < -32768) return -32768;
  return static_cast<std::int16_t>(v);
}

std::vector<std::string_view> SplitAny(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || separators.find(text[i]) != std::string_view::npos) {
      if (i > start) words.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return words;
}

}  // namespace

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

int StrictInt(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const char* begin = digits.data();
  const char* end = digits.data() + digits.size();
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (digits.empty() || ec != std::errc() || ptr != end || (text.size() > 1 && text[0] == '+' && text[1] == '-'))
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

TacMaskValueKind ClassifyMaskValue(std::string_view value) {
  if (value.empty()) return TacMaskValueKind::mvNone;
  switch (value.front()) {
    case '!': return TacMaskValueKind::mvFileImage;
    case '@': return TacMaskValueKind::mvGlyph;
    case '^': return TacMaskValueKind::mvBorder;
    case '~': return TacMaskValueKind::mvTexture;
    default: break;
  }
  if (value.find('#') == std::string_view::npos)
    return UpperAscii(value).find(".BMP") != std::string::npos ? TacMaskValueKind::mvSeparateBitmap
                                                                : TacMaskValueKind::mvNone;
  return value == "#" ? TacMaskValueKind::mvNone : TacMaskValueKind::mvLegacyRect;
}

static void ParseRectangle(std::string_view value, TsMaskData& mask) {
  mask.Left = StrictInt(Positions(value, 2, 5));
  mask.Top = StrictInt(Positions(value, 7, 10));
  mask.Right = StrictInt(Positions(value, 12, 15));
  mask.Bottom = StrictInt(Positions(value, 17, 20));
}

void ParseGlyphValue(std::string_view value, TsMaskData& mask) {
  ParseRectangle(value, mask);
  mask.ImageCount = Short(StrictInt(Positions(value, 22, 22)));
  mask.MaskType = Short(StrictInt(Positions(value, 24, 24)));
  mask.ImgType = TacImgType::itisaGlyph;
  mask.BorderWidth = 0;
  mask.WL = mask.WT = mask.WR = mask.WB = 0;
}

void ParseBorderValue(std::string_view value, TsMaskData& mask) {
  ParseRectangle(value, mask);
  mask.WL = Short(StrictInt(Positions(value, 22, 25)));
  mask.WT = Short(StrictInt(Positions(value, 27, 30)));
  mask.WR = Short(StrictInt(Positions(value, 32, 35)));
  mask.WB = Short(StrictInt(Positions(value, 37, 40)));
  mask.ImageCount = Short(StrictInt(Positions(value, 42, 42)));
  mask.MaskType = Short(StrictInt(Positions(value, 44, 44)));
  mask.StretchMode = Short(StrictInt(Positions(value, 46, 46)));
  mask.BorderWidth = Short(StrictInt(Positions(value, 48, 48)));
  mask.ImgType = TacImgType::itisaBorder;
  if (mask.WL == 0 && mask.WT == 0 && mask.WR == 0 && mask.WB == 0) SetBordersFromWidth(mask);
}

void ParseTextureValue(std::string_view value, TsMaskData& mask) {
  ParseRectangle(value, mask);
  mask.StretchMode = Short(StrictInt(Positions(value, 22, 23)));
  mask.MaskType = value.size() >= 25 ? Short(StrictInt(Positions(value, 25, 25))) : 0;
  mask.ImageCount = 1;
  mask.ImgType = TacImgType::itisaTexture;
  mask.BorderWidth = 0;
  mask.WL = mask.WT = mask.WR = mask.WB = 0;
}

void ParseLegacyValue(std::string_view value, TsMaskData& mask) {
  const auto words = SplitAny(value, " ()");
  // Word 2: "l t, r, b" once split at spaces; the rectangle is the numbers
  // between the first and second parenthesised groups.
  const std::size_t open1 = value.find('(');
  const std::size_t close1 = open1 == std::string_view::npos ? open1 : value.find(')', open1);
  std::vector<std::string_view> rect, extra;
  if (open1 != std::string_view::npos && close1 != std::string_view::npos) {
    rect = SplitAny(value.substr(open1 + 1, close1 - open1 - 1), " ,");
    const std::size_t open2 = value.find('(', close1);
    if (open2 != std::string_view::npos) {
      const std::size_t close2 = value.find(')', open2);
      extra = SplitAny(value.substr(open2 + 1, (close2 == std::string_view::npos ? value.size() : close2) - open2 - 1),
                       " ,");
    }
  } else {
    // No parentheses: word 2 and the words after it carry the numbers.
    for (std::size_t i = 1; i < words.size(); ++i) {
      auto parts = SplitAny(words[i], ",");
      for (auto p : parts) (rect.size() < 4 ? rect : extra).push_back(p);
    }
  }
  int numbers[4] = {0, 0, 0, 0};
  for (std::size_t i = 0; i < 4; ++i) numbers[i] = StrictInt(i < rect.size() ? rect[i] : std::string_view());
  mask.Left = numbers[0];
  mask.Top = numbers[1];
  mask.Right = numbers[2];
  mask.Bottom = numbers[3];
  const int count = extra.size() > 0 ? StrictInt(extra[0]) : 1;
  const int type = extra.size() > 1 ? StrictInt(extra[1]) : 0;
  const int width = extra.size() > 2 ? StrictInt(extra[2]) : 0;
  const int stretch = extra.size() > 3 ? StrictInt(extra[3]) : 1;
  mask.ImageCount = Short(count < 1 ? 1 : count);
  mask.MaskType = Short(type < 0 ? 0 : type);
  mask.BorderWidth = Short(width < 0 ? 0 : width);
  mask.StretchMode = Short(stretch);
  mask.ImgType = TacImgType::itisaBorder;
  mask.WL = mask.WT = mask.WR = mask.WB = 0;
  SetBordersFromWidth(mask);
}

TacFileImageValue ParseFileImageValue(std::string_view value) {
  TacFileImageValue out;
  const auto words = SplitAny(value, "!");
  if (words.empty()) return out;
  out.FileName = std::string(words[0]);
  auto number = [&](std::size_t i) { return StrictInt(i < words.size() ? words[i] : std::string_view()); };
  out.ImageCount = number(1);
  out.MaskType = number(2);
  out.ImgType = number(3);
  if (words.size() > 4) {
    out.HasBorders = true;
    out.WL = number(4);
    out.WT = number(5);
    out.WR = number(6);
    out.WB = number(7);
  }
  return out;
}

void SetDefaultBorders(TsMaskData& mask) {
  const int count = mask.ImageCount > 0 ? mask.ImageCount : 1;
  const int rows = mask.MaskType + 1 > 0 ? mask.MaskType + 1 : 1;
  const std::int64_t width = static_cast<std::int64_t>(mask.Right) - mask.Left;
  const std::int64_t height = static_cast<std::int64_t>(mask.Bottom) - mask.Top;
  mask.WL = mask.WR = Short(width / (count * 3));
  mask.WT = mask.WB = Short(height / (rows * 3));
}

void SetBordersFromWidth(TsMaskData& mask) {
  if (mask.BorderWidth != 0)
    mask.WL = mask.WT = mask.WR = mask.WB = mask.BorderWidth;
  else
    SetDefaultBorders(mask);
}

// 64-bit differences: legacy values may carry any 32-bit numbers.
int MaskFrameWidth(const TsMaskData& mask) {
  if (mask.ImageCount == 0) return 0;
  return static_cast<int>((static_cast<std::int64_t>(mask.Right) - mask.Left) / mask.ImageCount);
}

int MaskFrameHeight(const TsMaskData& mask) {
  if (mask.MaskType == -1) return 0;
  return static_cast<int>((static_cast<std::int64_t>(mask.Bottom) - mask.Top) / (mask.MaskType + 1));
}

int MaskLeft(TsMaskData& mask) {
  if (mask.ImageCount == 0) mask.ImageCount = 1;
  if (mask.WL > 0) return mask.WL;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return MaskFrameWidth(mask);
}

int MaskRight(TsMaskData& mask) {
  if (mask.ImageCount == 0) mask.ImageCount = 1;
  if (mask.WR > 0) return mask.WR;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return MaskFrameWidth(mask);
}

int MaskTop(TsMaskData& mask) {
  if (mask.ImageCount == 0) mask.ImageCount = 1;
  if (mask.WT > 0) return mask.WT;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return MaskFrameHeight(mask);
}

int MaskBottom(TsMaskData& mask) {
  if (mask.ImageCount == 0) mask.ImageCount = 1;
  if (mask.WB > 0) return mask.WB;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return MaskFrameHeight(mask);
}

TSize MaskCellSize(const TsMaskData& mask) {
  if (mask.Image) return {mask.Image->Width() / 3, mask.Image->Height() / 2};
  return {MaskFrameWidth(mask), MaskFrameHeight(mask)};
}
