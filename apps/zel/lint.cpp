// Warnings about script text the compiler accepts as written: strings left open, control characters,
// and break/continue where no loop can take them.
#include "apps/zel/lint.h"

#include <cctype>
#include <cstdio>

namespace zel::app {

namespace {

// Identifier characters, as the scanner reads them; control characters are below blank, and DEL.
bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u < 0x20 && c != '\t') || u == 0x7f;
}

// The text the compiler reads: up to the first "//" (a comment starts there even inside a string).
std::string CodeOf(const std::string& line) {
  const size_t comment = line.find("//");
  return comment == std::string::npos ? line : line.substr(0, comment);
}

// The number of double quotes in the text.
size_t CountQuotes(const std::string& text) {
  size_t n = 0;
  for (char c : text) n += c == '"';
  return n;
}

// The warning about string literals, or "".
std::string StringWarning(const std::string& line) {
  if (CountQuotes(CodeOf(line)) % 2 == 0) return "";
  if (CountQuotes(line) % 2 == 0)
    return "unterminated string literal: \"//\" starts a comment, also inside a string";
  return "unterminated string literal: the string runs to the end of the line";
}

// The warning about the first control character of the line, or "".
std::string ControlWarning(const std::string& line) {
  for (char c : line) {
    if (!IsControl(c)) continue;
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    return std::string("control character ") + code + " in the line";
  }
  return "";
}

}  // namespace

std::string FirstWord(const std::string& line) {
  size_t b = line.find_first_not_of(" \t");
  if (b == std::string::npos || !IsIdentStart(line[b])) return "";
  size_t e = b;
  while (e < line.size() && IsIdentChar(line[e])) ++e;
  return line.substr(b, e - b);
}

std::string LoneName(const std::string& line) {
  std::string code = CodeOf(line);
  const size_t last = code.find_last_not_of(" \t");
  if (last == std::string::npos) return "";
  code.resize(last + 1);
  if (code.back() == ';') code.pop_back();
  const std::string word = FirstWord(code);
  if (word.empty()) return "";
  const size_t end = code.find(word) + word.size();
  return code.find_first_not_of(" \t", end) == std::string::npos ? word : "";
}

std::string Printable(const std::string& line) {
  std::string text;
  for (char c : line) {
    if (!IsControl(c)) {
      text += c;
      continue;
    }
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    text += code;
  }
  return text;
}

std::vector<TLineWarning> LintScript(const std::vector<std::string>& lines) {
  std::vector<TLineWarning> warnings;
  std::vector<bool> blocks;  // open blocks; true for a loop
  int loops = 0;
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    const int at = static_cast<int>(n);
    if (std::string w = StringWarning(line); !w.empty()) warnings.push_back({at, w});
    if (std::string w = ControlWarning(line); !w.empty()) warnings.push_back({at, w});
    const std::string first = FirstWord(CodeOf(line));
    if (first == "if" || first == "while" || first == "for") {
      blocks.push_back(first != "if");
      loops += first != "if";
    } else if (first == "end" && !blocks.empty()) {
      loops -= blocks.back();
      blocks.pop_back();
    } else if ((first == "break" || first == "continue") && loops == 0) {
      warnings.push_back({at, "'" + first + "' outside a loop does nothing"});
    }
  }
  return warnings;
}

}  // namespace zel::app
