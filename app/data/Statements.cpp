#include "app/data/Statements.h"

#include "data/TADOQuery.h"

namespace Statements {
std::string SearchPattern(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('%');
  out.append(text);
  out.push_back('%');
  return out;
}

std::string UsersFilter(std::string_view login) {
  std::string out = "Логин = '";
  for (char c : login) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}
}  // namespace Statements

void LoadStatement(TADOQuery& query, const TStatement& statement) {
  query.Close();
  query.SQL().Clear();
  query.Parameters().Clear();
  for (int i = 0; i < statement.Count; ++i) query.SQL().Add(std::string(statement.Lines[static_cast<size_t>(i)]));
}
