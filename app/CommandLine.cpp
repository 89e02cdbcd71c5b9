#include "app/CommandLine.h"

#include <cstddef>
#include <string_view>

#ifndef TEXTBOOK_VERSION
#error "TEXTBOOK_VERSION comes from the project's version in CMakeLists.txt"
#endif

namespace {

struct TSwitch {
  std::string_view Name;
  std::string_view Value;  // the value's name in --help; empty for a switch without one
  std::string_view Help;
  void (*Apply)(TCommandLine&, const std::string& value);
};

// Every switch of the program, in the order --help lists them.
constexpr TSwitch kSwitches[] = {
    {"--workspace", "ПАПКА",
     "работать в рабочей папке ПАПКА (в ней db.mdb, Clear.htm и материалы)",
     [](TCommandLine& c, const std::string& v) { c.Workspace = v; }},
    {"--user-workspace", "",
     "работать в своей рабочей папке пользователя ($XDG_DATA_HOME/textbook или\n"
     "~/.local/share/textbook); при первом запуске она создаётся с демонстрационными\n"
     "материалами и учётными записями. Так программу запускает пункт меню",
     [](TCommandLine& c, const std::string&) { c.UserWorkspace = true; }},
    {"--database", "URL",
     "открыть базу данных URL: путь к файлу или адрес сервера\n"
     "postgresql://пользователь:пароль@сервер:порт/база. Без ключа: переменная\n"
     "TEXTBOOK_DATABASE, строка database = URL в textbook.conf рабочей папки, иначе db.mdb",
     [](TCommandLine& c, const std::string& v) { c.Database = v; }},
    {"--headless", "", "без экрана: окна рисуются в памяти (для сценариев и проверок)",
     [](TCommandLine& c, const std::string&) { c.DriverArguments.push_back("--headless"); }},
    {"--script", "ФАЙЛ", "выполнить сценарий действий пользователя из ФАЙЛА (без экрана, если не указан\n"
     "--real-display)",
     [](TCommandLine& c, const std::string& v) {
       c.DriverArguments.push_back("--script");
       c.DriverArguments.push_back(v);
     }},
    {"--real-display", "", "выполнить сценарий на экране X ($DISPLAY), подавая действия\n"
     "через X-сервер",
     [](TCommandLine& c, const std::string&) { c.DriverArguments.push_back("--real-display"); }},
    {"/acver", "", "показать при запуске версию движка обложек",
     [](TCommandLine& c, const std::string&) { c.SkinVersion = true; }},
    {"--version", "", "показать версию программы и выйти",
     [](TCommandLine& c, const std::string&) { c.Version = true; }},
    {"--help", "", "показать эту справку и выйти",
     [](TCommandLine& c, const std::string&) { c.Help = true; }},
};

const TSwitch* FindSwitch(std::string_view name) {
  for (const TSwitch& s : kSwitches)
    if (s.Name == name) return &s;
  return nullptr;
}

constexpr std::string_view kSeeHelp = "Список ключей: textbook --help";

}  // namespace

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
  TCommandLine line;
  for (int i = 1; i < argc && line.Error.empty(); ++i) {
    const std::string arg = argv[i];
    const TSwitch* s = FindSwitch(arg);
    if (!s) {
      const bool looksLikeSwitch = arg.starts_with("-") || arg.starts_with("/");
      line.Error = std::string(looksLikeSwitch ? "Неизвестный ключ «" : "Лишний аргумент «") + arg + "».\n" +
                   std::string(kSeeHelp);
      break;
    }
    std::string value;
    if (!s->Value.empty()) {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
        line.Error = "После ключа " + arg + " нужно указать " + std::string(s->Value) + ".\n" + std::string(kSeeHelp);
        break;
      }
      value = argv[++i];
    }
    s->Apply(line, value);
  }
  if (line.Error.empty() && line.UserWorkspace && !line.Workspace.empty())
    line.Error = "Ключи --workspace и --user-workspace нельзя указывать вместе.\n" + std::string(kSeeHelp);
  return line;
}

std::string CommandLineHelp() {
  std::string text =
      "Электронный учебник.\n"
      "\n"
      "Запуск: textbook [КЛЮЧИ]\n"
      "\n"
      "Без ключей учебник работает в текущей папке, если в ней есть db.mdb.\n"
      "\n"
      "Ключи:\n";
  constexpr std::size_t kColumn = 24;
  for (const TSwitch& s : kSwitches) {
    std::string head = "  " + std::string(s.Name);
    if (!s.Value.empty()) head += " " + std::string(s.Value);
    // Cyrillic value names take two bytes a letter: pad by letters, not bytes.
    std::size_t letters = 0;
    for (unsigned char c : head) letters += (c & 0xC0) != 0x80;
    text += head;
    if (letters + 2 > kColumn) text += "\n" + std::string(kColumn, ' ');
    else text += std::string(kColumn - letters, ' ');
    for (char c : s.Help) {
      text += c;
      if (c == '\n') text += std::string(kColumn, ' ');
    }
    text += "\n";
  }
  text +=
      "\n"
      "Неизвестный ключ завершает программу с кодом 2.\n"
      "Подробнее: man textbook.\n";
  return text;
}

std::string CommandLineVersion() { return std::string("textbook ") + TEXTBOOK_VERSION; }

std::vector<std::string> CommandLineSwitches() {
  std::vector<std::string> names;
  for (const TSwitch& s : kSwitches) names.emplace_back(s.Name);
  return names;
}
