#pragma once
// How the main window's connection finds the textbook database.
#include <string_view>

namespace ConnectionSettings {
inline constexpr std::string_view kConnectionString =
    "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=db.mdb;Persist Security Info=False";
inline constexpr std::string_view kDatabaseFileName = "db.mdb";
// The blank page the web view shows when no document is open.
inline constexpr std::string_view kBlankPage = "Clear.htm";
}  // namespace ConnectionSettings
