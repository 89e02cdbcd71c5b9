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
#include <vector>

class TADOConnection;

namespace ServerSchema {
// The statements that create the folding functions, the domain, its operators,
// the six tables and the login check.
std::string CreateTablesSql();
// What a student's machine may do, granted to an existing role: read materials,
// questions, logins and results, store results, check a login. Nothing else.
std::string StudentRoleSql(std::string_view role);

// False for a server made before results carried the login's token: it lacks
// tb_result_token and tb_store_result, and `textbook-db upgrade` must run there.
bool HasResultTokens(TADOConnection& connection);
// Brings a server made by an older textbook-db to the current functions (the
// linear like, the hand-in keys, the token functions and the secret) and the
// student roles (those granted the login check) to the current rights, in one
// transaction. Running it again changes nothing. Returns the student roles.
std::vector<std::string> Upgrade(TADOConnection& connection);
// What `textbook-db upgrade` says to run, for the program's message.
inline constexpr std::string_view kUpgradeNeeded =
    "База данных на сервере создана прежней версией учебника: в ней нет функций, которыми сохраняются "
    "результаты учеников, и результаты не будут сохранены. Администратору нужно выполнить: textbook-db upgrade ";

// Outcomes of tb_check_login, as the login window tells them apart.
inline constexpr int kNoSuchAccount = 0;
inline constexpr int kWrongPassword = 1;
inline constexpr int kLoggedIn = 2;
}  // namespace ServerSchema
