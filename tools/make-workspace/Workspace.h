#pragma once
// Builds a classroom workspace in a folder; see main.cpp for what it holds.
#include <filesystem>
#include <iosfwd>

// Returns 0 when done, 1 when DIR/db.mdb exists and force is false (nothing is
// written then). Failures of the engine, FFmpeg or the file system throw.
int MakeWorkspace(const std::filesystem::path& dir, bool force, std::ostream& out, std::ostream& err);
