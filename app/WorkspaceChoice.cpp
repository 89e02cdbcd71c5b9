#include "app/WorkspaceChoice.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "app/CommandLine.h"
#include "app/data/ConnectionSettings.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDatabase{std::string(ConnectionSettings::kDatabaseFileName)};

std::string Quoted(const fs::path& path) { return "«" + path.string() + "»"; }

[[noreturn]] void CannotMake(const fs::path& dir, const std::error_code& ec) {
  throw std::runtime_error("Не удалось создать рабочую папку учебника " + Quoted(dir) + ": " + ec.message() +
                           ".\nУкажите другую папку ключом --workspace или задайте XDG_DATA_HOME.");
}

void Check(const fs::path& dir, const std::error_code& ec) {
  if (ec) CannotMake(dir, ec);
}

// Copies the demo workspace into `dir`, keeping whatever is already there. The
// database goes last and under a temporary name, so that an interrupted copy
// never leaves a db.mdb that looks complete.
void MakeUserWorkspace(const fs::path& dir, const fs::path& demo) {
  std::error_code ec;
  if (demo.empty() || !fs::is_regular_file(demo / kDatabase, ec))
    throw std::runtime_error("Не найдены демонстрационные материалы учебника" +
                             (demo.empty() ? std::string() : " " + Quoted(demo)) +
                             ": программа установлена не полностью. Переустановите её.");
  fs::create_directories(dir, ec);
  Check(dir, ec);
  if (!fs::is_directory(dir, ec)) CannotMake(dir, std::make_error_code(std::errc::not_a_directory));
  for (auto it = fs::recursive_directory_iterator(demo, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path relative = it->path().lexically_relative(demo);
    const fs::path target = dir / relative;
    if (relative == kDatabase) continue;
    if (it->is_directory(ec)) {
      fs::create_directories(target, ec);
    } else if (it->is_regular_file(ec) && !fs::exists(target, ec)) {
      fs::copy_file(it->path(), target, ec);
      if (!ec) fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }
    Check(target, ec);
  }
  Check(dir, ec);
  const fs::path partial = dir / (kDatabase.string() + ".partial");
  fs::copy_file(demo / kDatabase, partial, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  if (!ec) fs::rename(partial, dir / kDatabase, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    CannotMake(dir, ec);
  }
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

TWorkspaceEnvironment TWorkspaceEnvironment::FromProcess() {
  TWorkspaceEnvironment env;
  env.XdgDataHome = Environment("XDG_DATA_HOME");
  env.Home = Environment("HOME");
  if (env.Home.empty())
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir) env.Home = account->pw_dir;
  std::error_code ec;
  env.CurrentDir = fs::current_path(ec);
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) env.DemoWorkspace = FindDemoWorkspace(program.parent_path());
  return env;
}

fs::path UserWorkspaceDir(const TWorkspaceEnvironment& env) {
  // A relative XDG_DATA_HOME is invalid and is ignored, as the base-directory rules say.
  if (!env.XdgDataHome.empty() && fs::path(env.XdgDataHome).is_absolute())
    return fs::path(env.XdgDataHome) / "textbook";
  if (env.Home.empty() || !fs::path(env.Home).is_absolute())
    throw std::runtime_error(
        "Не удалось найти домашнюю папку пользователя для рабочей папки учебника.\n"
        "Укажите папку ключом --workspace или задайте XDG_DATA_HOME.");
  return fs::path(env.Home) / ".local" / "share" / "textbook";
}

fs::path FindDemoWorkspace(const fs::path& programDir) {
  std::error_code ec;
  for (const fs::path& candidate : {programDir.parent_path() / "share" / "textbook" / "workspace",
                                    programDir / "share" / "textbook" / "workspace"})
    if (fs::is_directory(candidate, ec)) return candidate.lexically_normal();
  return {};
}

namespace {
// The installed demo workspace is only ever copied: working in it would write
// inside the installation.
void RefuseDemoWorkspace(const fs::path& dir, const TWorkspaceEnvironment& env) {
  std::error_code ec;
  if (!env.DemoWorkspace.empty() && fs::equivalent(dir, env.DemoWorkspace, ec))
    throw std::runtime_error("Папка " + Quoted(dir) +
                             " входит в установку учебника, работать в ней нельзя.\n"
                             "Запустите textbook --user-workspace или создайте свою папку: make-workspace ПАПКА.");
}
}  // namespace

TWorkspacePlace ChooseWorkspace(const TCommandLine& line, const TWorkspaceEnvironment& env) {
  TWorkspacePlace place;
  if (!line.Workspace.empty()) {
    place.Dir = (env.CurrentDir / line.Workspace).lexically_normal();
    std::error_code ec;
    if (!fs::is_directory(place.Dir, ec))
      throw std::runtime_error("Рабочая папка " + Quoted(place.Dir) + " не найдена.");
    RefuseDemoWorkspace(place.Dir, env);
    return place;
  }
  if (!line.UserWorkspace) {
    place.Dir = env.CurrentDir;
    RefuseDemoWorkspace(place.Dir, env);
    return place;
  }
  place.Dir = UserWorkspaceDir(env);
  std::error_code ec;
  if (fs::exists(place.Dir / kDatabase, ec)) return place;
  MakeUserWorkspace(place.Dir, env.DemoWorkspace);
  place.Created = true;
  return place;
}

std::string FirstStartMessage(const fs::path& dir) {
  return "Создана ваша рабочая папка учебника:\n" + dir.string() +
         "\n\nВ ней база db.mdb, демонстрационные лекции, лабораторные работы, видеоуроки и учетные "
         "записи. Пароль администратора «Admin» сейчас «admin»: войдите как Admin и смените его "
         "в окне «Учетные записи».";
}

std::string StoredMaterialPath(const std::string& file, const fs::path& workspace) {
  if (file.empty() || !fs::path(file).is_absolute()) return file;
  // Both resolved, so that a workspace reached through a link still matches.
  std::error_code ec;
  const fs::path resolvedFile = fs::weakly_canonical(file, ec);
  if (ec) return file;
  const fs::path resolvedDir = fs::weakly_canonical(workspace, ec);
  if (ec) return file;
  const fs::path relative = resolvedFile.lexically_relative(resolvedDir);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return file;
  return relative.generic_string();
}
