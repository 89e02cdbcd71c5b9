// A server made before results carried tokens: the program says at start-up,
// in Russian, what the administrator must run, without the address's password.
#include <gtest/gtest.h>

#include "app/AppForms.h"
#include "app/data/DatabaseChoice.h"
#include "app/data/Schema.h"
#include "app/data/ServerSchema.h"
#include "data/TADOConnection.h"
#include "tools/pg-server/TPgServer.h"

namespace {
TEST(ServerUpgradeMessageTest, AnOlderServerIsNamedWithTheCommandToRun) {
  TPgServer server;
  std::string uri = server.CreateDatabase("older");
  uri.replace(uri.find("postgres@"), 9, "postgres:geheim@");  // the socket trusts; the password is only shown
  TADOConnection admin("Data Source=" + uri);
  admin.Open();
  Schema::CreateTables(admin);
  admin.ExecuteDirect("drop function tb_store_result(text, text, integer, text); drop function tb_result_token(text, text)");

  DatabaseChoice::SetChosen(uri);
  const std::string warning = UpgradeDatabase();
  EXPECT_TRUE(warning.starts_with(ServerSchema::kUpgradeNeeded)) << warning;
  EXPECT_NE(warning.find("textbook-db upgrade postgresql://postgres:ПАРОЛЬ@/older"), std::string::npos) << warning;
  EXPECT_EQ(warning.find("geheim"), std::string::npos);

  ServerSchema::Upgrade(admin);
  EXPECT_EQ(UpgradeDatabase(), "");
  DatabaseChoice::SetChosen("db.mdb");
}
}  // namespace
