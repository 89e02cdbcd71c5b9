#include "data/TFilterExpression.h"

#include "data/TextCollation.h"
#include "data/TextConvert.h"
#include "platform/base/Exception.h"

namespace {
const char* const kBadFilter =
    "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";

enum class Op { And, Or, Not, Eq, Ne, Lt, Le, Gt, Ge, Like, IsNull, IsNotNull };

bool IsNameByte(unsigned char c) {
  return c >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  return true;
}
}  // namespace

struct TFilterExpression::Node {
  Op Kind = Op::Eq;
  std::unique_ptr<Node> Left, Right;
  // Operands of a comparison: a field (index >= 0) or a literal.
  int LeftField = -1, RightField = -1;
  Variant LeftValue, RightValue;
  // A comparison with a field whose column compares letter case exactly.
  bool Exact = false;
};

namespace {
class Parser {
public:
  Parser(std::string_view text, const TFilterExpression::FieldResolver& resolve,
         const TFilterExpression::ExactResolver& exact)
      : Text_(text), Resolve_(resolve), Exact_(exact) {}

  std::unique_ptr<TFilterExpression::Node> Parse() {
    auto node = ParseOr();
    SkipBlanks();
    if (Pos_ != Text_.size()) Fail();
    return node;
  }

private:
  using Node = TFilterExpression::Node;
  [[noreturn]] void Fail() { throw EDatabaseError(kBadFilter); }

  void SkipBlanks() {
    while (Pos_ < Text_.size() && (Text_[Pos_] == ' ' || Text_[Pos_] == '\t' || Text_[Pos_] == '\r' || Text_[Pos_] == '\n')) ++Pos_;
  }

  // Accepts a keyword when it stands as a whole word.
  bool Keyword(std::string_view word) {
    SkipBlanks();
    if (Text_.size() - Pos_ < word.size() || !SameWord(Text_.substr(Pos_, word.size()), word)) return false;
    const size_t end = Pos_ + word.size();
    if (end < Text_.size() && IsNameByte(static_cast<unsigned char>(Text_[end]))) return false;
    Pos_ = end;
    return true;
  }

  std::unique_ptr<Node> Binary(Op kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right) {
    auto node = std::make_unique<Node>();
    node->Kind = kind;
    node->Left = std::move(left);
    node->Right = std::move(right);
    return node;
  }

  std::unique_ptr<Node> ParseOr() {
    auto left = ParseAnd();
    while (Keyword("or")) left = Binary(Op::Or, std::move(left), ParseAnd());
    return left;
  }

  std::unique_ptr<Node> ParseAnd() {
    auto left = ParseNot();
    while (Keyword("and")) left = Binary(Op::And, std::move(left), ParseNot());
    return left;
  }

  std::unique_ptr<Node> ParseNot() {
    if (Keyword("not")) return Binary(Op::Not, ParseNot(), nullptr);
    SkipBlanks();
    if (Pos_ < Text_.size() && Text_[Pos_] == '(') {
      ++Pos_;
      auto inner = ParseOr();
      SkipBlanks();
      if (Pos_ >= Text_.size() || Text_[Pos_] != ')') Fail();
      ++Pos_;
      return inner;
    }
    return ParseComparison();
  }

  // An operand: a field name (plain or in brackets), a quoted text, a number or NULL.
  void ParseOperand(int& field, Variant& value) {
    SkipBlanks();
    if (Pos_ >= Text_.size()) Fail();
    const char c = Text_[Pos_];
    if (c == '\'' || c == '"') {
      std::string literal;
      ++Pos_;
      for (;;) {
        if (Pos_ >= Text_.size()) Fail();
        if (Text_[Pos_] == c) {
          if (Pos_ + 1 < Text_.size() && Text_[Pos_ + 1] == c) { literal.push_back(c); Pos_ += 2; continue; }
          ++Pos_;
          break;
        }
        literal.push_back(Text_[Pos_++]);
      }
      field = -1;
      value = Variant(std::move(literal));
      return;
    }
    if (c == '[') {
      const size_t close = Text_.find(']', Pos_);
      if (close == std::string_view::npos) Fail();
      field = Resolve(Text_.substr(Pos_ + 1, close - Pos_ - 1));
      Pos_ = close + 1;
      return;
    }
    if ((c >= '0' && c <= '9') || c == '-' || c == '+') {
      const size_t start = Pos_++;
      while (Pos_ < Text_.size() && Text_[Pos_] >= '0' && Text_[Pos_] <= '9') ++Pos_;
      int64_t number = 0;
      if (!TryStrToInt64(Text_.substr(start, Pos_ - start), number)) Fail();
      field = -1;
      value = Variant(number);
      return;
    }
    if (!IsNameByte(static_cast<unsigned char>(c))) Fail();
    const size_t start = Pos_;
    while (Pos_ < Text_.size() && IsNameByte(static_cast<unsigned char>(Text_[Pos_]))) ++Pos_;
    const std::string_view word = Text_.substr(start, Pos_ - start);
    if (SameWord(word, "null")) {
      field = -1;
      value = Variant();
      return;
    }
    field = Resolve(word);
  }

  int Resolve(std::string_view name) {
    const int index = Resolve_(name);
    if (index < 0) Fail();
    return index;
  }

  std::unique_ptr<Node> ParseComparison() {
    auto node = std::make_unique<Node>();
    ParseOperand(node->LeftField, node->LeftValue);
    if (Keyword("is")) {
      node->Kind = Keyword("not") ? Op::IsNotNull : Op::IsNull;
      if (!Keyword("null")) Fail();
      return node;
    }
    if (Keyword("like")) {
      node->Kind = Op::Like;
    } else {
      SkipBlanks();
      const std::string_view rest = Text_.substr(Pos_);
      if (rest.starts_with("<>")) { node->Kind = Op::Ne; Pos_ += 2; }
      else if (rest.starts_with("<=")) { node->Kind = Op::Le; Pos_ += 2; }
      else if (rest.starts_with(">=")) { node->Kind = Op::Ge; Pos_ += 2; }
      else if (rest.starts_with("=")) { node->Kind = Op::Eq; Pos_ += 1; }
      else if (rest.starts_with("<")) { node->Kind = Op::Lt; Pos_ += 1; }
      else if (rest.starts_with(">")) { node->Kind = Op::Gt; Pos_ += 1; }
      else Fail();
    }
    ParseOperand(node->RightField, node->RightValue);
    node->Exact = Exact_ && ((node->LeftField >= 0 && Exact_(node->LeftField)) ||
                             (node->RightField >= 0 && Exact_(node->RightField)));
    return node;
  }

  std::string_view Text_;
  const TFilterExpression::FieldResolver& Resolve_;
  const TFilterExpression::ExactResolver& Exact_;
  size_t Pos_ = 0;
};

// -1, 0, 1; numbers compare as numbers when both sides are integers, else as text,
// byte by byte when exact.
int CompareValues(const Variant& a, const Variant& b, bool exact) {
  if (a.GetKind() == Variant::Kind::Integer && b.GetKind() == Variant::Kind::Integer) {
    const int64_t x = a.AsInteger(), y = b.AsInteger();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (exact) {
    const int order = a.AsString().compare(b.AsString());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
  }
  return CompareFoldedText(a.AsString(), b.AsString());
}

bool Evaluate(const TFilterExpression::Node& node, std::span<const Variant> row) {
  switch (node.Kind) {
    case Op::And: return Evaluate(*node.Left, row) && Evaluate(*node.Right, row);
    case Op::Or: return Evaluate(*node.Left, row) || Evaluate(*node.Right, row);
    case Op::Not: return !Evaluate(*node.Left, row);
    case Op::Eq: case Op::Ne: case Op::Lt: case Op::Le: case Op::Gt: case Op::Ge: case Op::Like:
    case Op::IsNull: case Op::IsNotNull: break;
  }
  const Variant& left = node.LeftField >= 0 ? row[static_cast<size_t>(node.LeftField)] : node.LeftValue;
  if (node.Kind == Op::IsNull) return left.IsNull();
  if (node.Kind == Op::IsNotNull) return !left.IsNull();
  const Variant& right = node.RightField >= 0 ? row[static_cast<size_t>(node.RightField)] : node.RightValue;
  // A null matches no comparison.
  if (left.IsNull() || right.IsNull()) return false;
  switch (node.Kind) {
    case Op::Like: return FoldedLike(right.AsString(), left.AsString());
    case Op::Eq: return CompareValues(left, right, node.Exact) == 0;
    case Op::Ne: return CompareValues(left, right, node.Exact) != 0;
    case Op::Lt: return CompareValues(left, right, node.Exact) < 0;
    case Op::Le: return CompareValues(left, right, node.Exact) <= 0;
    case Op::Gt: return CompareValues(left, right, node.Exact) > 0;
    case Op::Ge: return CompareValues(left, right, node.Exact) >= 0;
    case Op::And: case Op::Or: case Op::Not: case Op::IsNull: case Op::IsNotNull: break;
  }
  return false;
}
}  // namespace

TFilterExpression::TFilterExpression(std::string_view text, const FieldResolver& resolve, const ExactResolver& exact)
    : Root_(Parser(text, resolve, exact).Parse()) {}
TFilterExpression::~TFilterExpression() = default;
TFilterExpression::TFilterExpression(TFilterExpression&&) noexcept = default;
TFilterExpression& TFilterExpression::operator=(TFilterExpression&&) noexcept = default;

bool TFilterExpression::Matches(std::span<const Variant> row) const { return Evaluate(*Root_, row); }
