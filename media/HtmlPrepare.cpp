#include "media/HtmlPrepare.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr auto npos = std::string::npos;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '-' ||
         c == '_' || c == '.';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsVoid(std::string_view n) {
  return OneOf(n, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
                   "track", "wbr", "basefont", "frame", "keygen", "isindex", "bgsound", "spacer"});
}

// Elements whose content is not markup: copied through untouched.
bool IsRawText(std::string_view n) {
  return OneOf(n, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes", "plaintext"});
}

// Elements that an open element of the same name closes implicitly, and the
// elements that end the search for it (a <li> of an inner list closes nothing outside it).
bool ClosesSibling(std::string_view n) {
  return OneOf(n, {"p", "li", "dt", "dd", "tr", "td", "th", "option", "thead", "tbody", "tfoot"});
}

bool EndsSiblingSearch(std::string_view name, std::string_view open) {
  if (name == "li") return OneOf(open, {"ul", "ol", "menu", "dir", "table", "td", "th"});
  if (name == "dt" || name == "dd") return OneOf(open, {"dl", "table", "td", "th"});
  if (name == "td" || name == "th") return OneOf(open, {"tr", "table"});
  if (name == "option") return open == "select";
  if (name == "p")
    return OneOf(open, {"table", "td", "th", "caption", "button", "object", "applet", "marquee", "template", "html"});
  return open == "table";  // tr, thead, tbody, tfoot
}

bool IsTablePart(std::string_view n) {
  return OneOf(n, {"tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup", "col"});
}

bool ClosesParagraph(std::string_view n) {
  return OneOf(n, {"div", "p", "ul", "ol", "dl", "table", "h1", "h2", "h3", "h4", "h5", "h6", "pre", "blockquote",
                   "center", "form", "hr", "address", "section", "article", "header", "footer", "nav", "menu"});
}

// Only <html> and <body> open: a block starting here is one of the body's own.
bool OnlyPageLevelOpen(const std::vector<std::string>& stack) {
  bool body = false;
  for (const std::string& open : stack) {
    if (open == "body") body = true;
    else if (open != "html") return false;
  }
  return body;
}

// End of a tag that starts at `from` (the position after its name): the '>' outside quotes.
std::size_t TagEnd(const std::string& text, std::size_t from) {
  char quote = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      // Only a quote that opens an attribute value counts (after '=' and spaces).
      std::size_t p = i;
      while (p > from && (text[p - 1] == ' ' || text[p - 1] == '\t' || text[p - 1] == '\n' || text[p - 1] == '\r')) --p;
      if (p > from && text[p - 1] == '=') quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return npos;
}

}  // namespace

std::size_t FindCaseless(const std::string& text, std::string_view pattern, std::size_t from) {
  if (pattern.empty()) return from;
  const char first = pattern[0];
  const char upper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
  for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
    if (text[i] != first && text[i] != upper) continue;
    std::size_t k = 1;
    while (k < pattern.size() && Lower(text[i + k]) == pattern[k]) ++k;
    if (k == pattern.size()) return i;
  }
  return npos;
}

bool LooksBinary(const std::string& bytes) {
  if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
    return false;  // UTF-16 text is full of zero bytes
  const std::size_t n = std::min<std::size_t>(bytes.size(), 1 << 20);
  std::size_t control = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B) ++control;
  }
  return control > 0 && control * 100 >= n;  // 1 % or more
}

THtmlPrepared PrepareHtml(const std::string& in, int maxDepth) {
  THtmlPrepared out;
  std::string& o = out.Text;
  o.reserve(in.size());
  std::vector<std::string> stack;
  std::unordered_map<std::string, std::size_t> dropped;
  std::size_t droppedOpen = 0;
  std::size_t droppedTables = 0;  // open tables left out for being nested too deep
  const std::size_t n = in.size();
  std::size_t copyFrom = 0;
  std::size_t i = 0;
  auto keepUpTo = [&](std::size_t end) {
    o.append(in, copyFrom, end - copyFrom);
    copyFrom = end;
  };
  auto skipTo = [&](std::size_t start, std::size_t end) {
    keepUpTo(start);
    copyFrom = end;
  };
  std::string name;
  // Words of the text from `from` up to `to`: the layout makes a node of every word and space.
  auto countWords = [&](std::size_t from, std::size_t to) {
    bool inWord = false;
    for (std::size_t k = from; k < to; ++k) {
      const char c = in[k];
      const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r';
      if (!space && !inWord) ++out.Words;
      inWord = !space;
    }
  };
  while (i < n) {
    const std::size_t lt = in.find('<', i);
    countWords(i, lt == npos ? n : lt);
    if (lt == npos) break;
    i = lt;
    if (in.compare(i, 4, "<!--") == 0) {
      // Comments, conditional ones included, never show: leave them out.
      const std::size_t end = in.find("-->", i + 4);
      const std::size_t stop = end == npos ? n : end + 3;
      skipTo(i, stop);
      i = stop;
      continue;
    }
    if (in.compare(i, 3, "<![") == 0) {  // <![if !supportLists]>, <![endif]>
      const std::size_t end = in.find('>', i);
      const std::size_t stop = end == npos ? n : end + 1;
      skipTo(i, stop);
      i = stop;
      continue;
    }
    if (i + 1 < n && (in[i + 1] == '!' || in[i + 1] == '?')) {
      const std::size_t end = in.find('>', i);
      i = end == npos ? n : end + 1;
      continue;
    }
    const bool closing = i + 1 < n && in[i + 1] == '/';
    std::size_t p = i + (closing ? 2 : 1);
    if (p >= n || !((in[p] >= 'a' && in[p] <= 'z') || (in[p] >= 'A' && in[p] <= 'Z'))) {
      ++i;  // a lone '<' in text
      continue;
    }
    name.clear();
    while (p < n && IsNameChar(in[p])) name += Lower(in[p++]);
    const std::size_t end = TagEnd(in, p);
    if (end == npos) break;  // an unfinished tag ends the page as text
    const std::size_t after = end + 1;
    const bool namespaced = name.find(':') != npos;
    if (closing) {
      auto d = dropped.find(name);
      if (droppedTables > 0 && (IsTablePart(name) || name == "table")) {
        if (name == "table") --droppedTables;
        skipTo(i, after);
      } else if (namespaced) {
        skipTo(i, after);
      } else if (d != dropped.end() && d->second > 0) {
        --d->second;
        --droppedOpen;
        skipTo(i, after);
      } else {
        for (std::size_t k = stack.size(); k > 0; --k) {
          if (stack[k - 1] == name) {
            stack.resize(k - 1);
            break;
          }
        }
      }
      i = after;
      continue;
    }
    if (namespaced) {  // <o:p>, <v:shape>, <w:data>: no meaning for the view
      skipTo(i, after);
      i = after;
      continue;
    }
    const bool selfClosing = end > i && in[end - 1] == '/';
    if (IsRawText(name)) {
      const std::string close = "</" + name;
      const std::size_t closeAt = FindCaseless(in, close, after);
      if (closeAt == npos) {
        i = n;
        break;
      }
      if (name == "style") {
        // "<!--" and "-->" that hide a style sheet from ancient browsers mean
        // nothing in CSS, but litehtml would take them for part of a selector.
        keepUpTo(after);
        std::string css = in.substr(after, closeAt - after);
        for (const char* token : {"<!--", "-->"})
          for (std::size_t at = css.find(token); at != npos; at = css.find(token, at)) css.replace(at, std::strlen(token), " ");
        o += css;
        copyFrom = closeAt;
      }
      const std::size_t closeEnd = in.find('>', closeAt);
      i = closeEnd == npos ? n : closeEnd + 1;
      ++out.Elements;
      continue;
    }
    // Tables inside tables cost the layout twice per level: keep only a few levels.
    if (droppedTables > 0 && (IsTablePart(name) || name == "table")) {
      if (name == "table") ++droppedTables;
      ++out.DroppedTags;
      skipTo(i, after);
      i = after;
      continue;
    }
    if (name == "table" && std::count(stack.begin(), stack.end(), "table") >= kHtmlMaxTableDepth) {
      ++droppedTables;
      ++out.DroppedTags;
      skipTo(i, after);
      i = after;
      continue;
    }
    if (IsVoid(name) || selfClosing) {
      ++out.Elements;
      i = after;
      continue;
    }
    // At the depth limit nothing opens any more, not even a sibling that would close
    // the one before it: everything further down joins the deepest element kept.
    const bool full = static_cast<int>(stack.size()) >= maxDepth;
    if (ClosesSibling(name) && !full) {
      for (std::size_t k = stack.size(); k > 0 && !EndsSiblingSearch(name, stack[k - 1]); --k) {
        if (stack[k - 1] == name) {
          stack.resize(k - 1);
          break;
        }
      }
    }
    if (!full && !stack.empty() && stack.back() == "p" && ClosesParagraph(name)) stack.pop_back();
    if (full || static_cast<int>(stack.size()) >= maxDepth) {
      ++dropped[name];
      ++droppedOpen;
      ++out.DroppedTags;
      skipTo(i, after);
    } else {
      if (out.FirstPartEnd == 0 && droppedOpen == 0 && droppedTables == 0 && ClosesParagraph(name) &&
          OnlyPageLevelOpen(stack)) {
        const std::size_t at = o.size() + (i - copyFrom);
        if (at >= kHtmlFirstPartBytes) out.FirstPartEnd = at;
      }
      stack.push_back(name);
      ++out.Elements;
    }
    out.MaxDepth = std::max(out.MaxDepth, static_cast<int>(stack.size() + droppedOpen));
    i = after;
  }
  keepUpTo(n);
  return out;
}
