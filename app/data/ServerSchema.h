#pragma once
// The textbook's tables on a PostgreSQL server, with the same comparison rules
// as the file (Schema::kColumns): groups, questions and titles compare without
// regard to letter case for Latin and Cyrillic (the domain tb_text, whose "=" and
// "like" fold exactly those letters, as the file's collation does); logins,
// passwords, results' users and addresses exactly.
// Login is checked by tb_check_login, which runs with its owner's rights, so that
// a student's role never reads a password.
#include <string>
#include <string_view>

namespace ServerSchema {
// The statements that create the folding functions, the domain, its operators,
// the six tables and the login check.
std::string CreateTablesSql();
// What a student's machine may do, granted to an existing role: read materials,
// questions, logins and results, store results, check a login. Nothing else.
std::string StudentRoleSql(std::string_view role);
// Outcomes of tb_check_login, as the login window tells them apart.
inline constexpr int kNoSuchAccount = 0;
inline constexpr int kWrongPassword = 1;
inline constexpr int kLoggedIn = 2;
}  // namespace ServerSchema
