#pragma once
// Where the textbook works: the folder given by --workspace, the current folder,
// or the user's own workspace (--user-workspace, passed by the menu entry), made
// on its first start as a copy of the installed demo workspace. The program then
// works inside the chosen folder, so db.mdb, Clear.htm and relative material
// paths are all found there. Nothing is written outside the chosen folder.
#include <filesystem>
#include <string>

struct TCommandLine;

// What the choice depends on besides the command line, so that tests can set it.
struct TWorkspaceEnvironment {
  std::string XdgDataHome;               // $XDG_DATA_HOME (used only when absolute)
  std::string Home;                      // $HOME, else the account's home folder
  std::filesystem::path CurrentDir;      // where the program was started
  std::filesystem::path DemoWorkspace;   // the installed demo workspace to copy

  static TWorkspaceEnvironment FromProcess();
};

struct TWorkspacePlace {
  std::filesystem::path Dir;
  bool Created = false;  // the user's workspace was made just now
};

// The user's workspace folder: $XDG_DATA_HOME/textbook or ~/.local/share/textbook.
// Throws (Russian text) when there is no home folder to put it in.
std::filesystem::path UserWorkspaceDir(const TWorkspaceEnvironment& env);

// The installed demo workspace: <prefix>/share/textbook/workspace beside the
// program's bin folder, or share/textbook/workspace beside a program run from its
// build folder. Empty when neither exists.
std::filesystem::path FindDemoWorkspace(const std::filesystem::path& programDir);

// Decides the folder and, for the user's workspace, makes it when it has no db.mdb
// yet. Throws with a Russian message the user can act on when the folder does not
// exist (--workspace) or cannot be made (the user's workspace).
TWorkspacePlace ChooseWorkspace(const TCommandLine& line, const TWorkspaceEnvironment& env);

// The message after the user's workspace was made: where it is, and that the
// administrator's password should be changed.
std::string FirstStartMessage(const std::filesystem::path& dir);

// How a material file chosen in the materials browser is stored: by its path
// relative to the workspace (with "/") when it lies inside it, so that a copied or
// moved workspace keeps its links; as given otherwise.
std::string StoredMaterialPath(const std::string& file, const std::filesystem::path& workspace);
