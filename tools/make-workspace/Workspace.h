#pragma once
// Builds a classroom workspace in a folder; see main.cpp for what it holds.
#include <filesystem>
#include <iosfwd>

// Returns 0 when done, 1 when DIR/db.mdb exists and force is false (nothing is
// written then). Failures of the engine, FFmpeg or the file system throw.
int MakeWorkspace(const std::filesystem::path& dir, bool force, std::ostream& out, std::ostream& err);

// Upgrades an existing DIR/db.mdb to the current collations (see Schema::Upgrade).
// Returns 0 when done or nothing was needed, 1 when there is no db.mdb, the file
// is not sound or the upgrade failed (the file is then unchanged).
int UpgradeWorkspace(const std::filesystem::path& dir, std::ostream& out, std::ostream& err);

class TADOConnection;
// Creates the six tables on an open, empty database (a file or a server) and
// fills them with the demo content: accounts, questions, results and materials
// whose paths are relative to a workspace made by MakeWorkspace.
void FillDemoDatabase(TADOConnection& connection);
