#pragma once
// The pages the HTML view shows in place of a document it cannot show, each
// saying why (in Russian, like the rest of the program).
#include <cstddef>
#include <string>

// Text made safe to put between tags.
std::string HtmlEscape(const std::string& text);

std::string ErrorPage(const std::string& heading, const std::string& message, const std::string& detail);
std::string UnreachablePage(const std::string& address);
std::string FileNotFoundPage(const std::string& path);
std::string ReadErrorPage(const std::string& path, const std::string& reason);
std::string TooLargePage(const std::string& path, std::size_t bytes, std::size_t limit);
std::string NotTextPage(const std::string& path);
std::string ParseErrorPage(const std::string& path, const std::string& reason);
std::string FolderPage(const std::string& path);
