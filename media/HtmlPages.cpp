#include "media/HtmlPages.h"

#include <cstdio>

namespace {

std::string Megabytes(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
  std::string out = text;
  for (char& c : out)
    if (c == '.') c = ',';
  return out + " МБ";
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (const char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string ErrorPage(const std::string& heading, const std::string& message, const std::string& detail) {
  std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(heading) +
      "</title><style>"
      "body{font-family:Arial,sans-serif;margin:32px;color:#222;background:#fff}"
      "h1{font-size:22px;color:#8a1f11;margin:0 0 16px 0}"
      "p{font-size:15px;margin:8px 0}"
      ".detail{color:#555;font-size:13px;font-family:'Courier New',monospace}"
      "</style></head><body><h1>" +
      HtmlEscape(heading) + "</h1><p>" + HtmlEscape(message) + "</p>";
  if (!detail.empty()) page += "<p class=\"detail\">" + HtmlEscape(detail) + "</p>";
  return page + "</body></html>";
}

std::string UnreachablePage(const std::string& address) {
  return ErrorPage("Не удаётся открыть страницу",
                   "Учебник открывает только файлы этого компьютера, а это адрес в Интернете. "
                   "Сохраните материал на этом компьютере и откройте сохранённый файл.",
                   address);
}

std::string FileNotFoundPage(const std::string& path) {
  return ErrorPage("Файл не найден", "Документ не найден. Проверьте, что файл существует и путь к нему указан верно.",
                   path);
}

std::string ReadErrorPage(const std::string& path, const std::string& reason) {
  return ErrorPage("Не удаётся прочитать файл", "Документ не удалось прочитать: " + reason + ".", path);
}

std::string TooLargePage(const std::string& path, std::size_t bytes, std::size_t limit) {
  return ErrorPage("Документ слишком велик",
                   "Документ занимает " + Megabytes(bytes) + ", а показать можно документ не больше " +
                       Megabytes(limit) + ". Разделите его на несколько частей.",
                   path);
}

std::string NotTextPage(const std::string& path) {
  return ErrorPage("Файл не является документом",
                   "Файл содержит двоичные данные, а не текст HTML-документа, поэтому показать его нельзя.", path);
}

std::string ParseErrorPage(const std::string& path, const std::string& reason) {
  return ErrorPage("Документ не удалось разобрать", "Разметка документа содержит ошибку: " + reason + ".", path);
}

std::string FolderPage(const std::string& path) {
  return ErrorPage("Это папка, а не документ", "По этому адресу находится папка. Укажите файл документа.", path);
}
