// Line normalisation, scanning and word creation: the text of one line becomes a list of words of the
// symbol table, with literal constants created on the way and unknown names entered as new variables.
#include <algorithm>
#include <charconv>
#include <cstdint>

#include "core/text.h"
#include "script/expression.h"
#include "script/stages.h"

namespace zel {

namespace {

// Blanks and control characters, which trimming removes.
bool IsBlankOrControl(unsigned char c) { return c <= ' ' || c == 127; }

// The text without leading and trailing blanks and control characters.
std::string TrimText(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlankOrControl(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsBlankOrControl(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Character classes of the scanner.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsIdentChar(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Replaces every occurrence of `from` by `to`, left to right.
void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
    s.replace(p, from.size(), to);
}

struct Token {
  std::string text;
  bool literal = false;
};

// Splits a line into tokens (0-based positions here; the rules are those of the language reference).
class Scanner {
 public:
  explicit Scanner(const std::string& s) : fText(s) {}

  bool Next(Token& token) {
    const size_t len = fText.size();
    if (fPos >= len) return false;
    while (fPos + 1 < len && fText[fPos] == ' ') ++fPos;
    const size_t start = fPos;
    token.literal = false;
    const char c = fText[fPos];
    if (c == '$') {
      ++fPos;
      if (fPos < len && IsHexDigit(fText[fPos])) {
        Number(true);
        token.literal = true;
      } else {
        while (fPos < len && IsIdentChar(fText[fPos])) ++fPos;
      }
    } else if (c == '.' || IsDigit(c)) {
      Number(false);
      token.literal = true;
    } else if (IsIdentChar(c)) {
      while (fPos < len && IsIdentChar(fText[fPos])) ++fPos;
    } else if (c == '"') {
      const size_t close = fText.find('"', fPos + 1);
      fPos = close == std::string::npos ? len : close + 1;
      token.literal = true;
    } else if (c == '!' || c == ':' || c == '~') {
      fPos += At(fPos + 1) == '=' ? 2 : 1;
    } else if (c == '*' || c == '+' || c == '-' || c == '/') {
      fPos += At(fPos + 1) == '.' ? 2 : 1;
    } else if (c == '<' || c == '=' || c == '>') {
      const char n = At(fPos + 1);
      fPos += (n == '<' || n == '=' || n == '>') ? 2 : 1;
    } else if (c == '&' || c == '|') {
      fPos += At(fPos + 1) == c ? 2 : 1;
    } else {
      fPos += 1;
    }
    token.text = TrimText(fText.substr(start, fPos - start));
    return true;
  }

 private:
  char At(size_t i) const { return i < fText.size() ? fText[i] : '\0'; }

  void Digits(bool hex) {
    while (fPos < fText.size() && (hex ? IsHexDigit(fText[fPos]) : IsDigit(fText[fPos]))) ++fPos;
  }

  // digits [ "." digits ] [ ("e"|"E") [sign] digits ] [ "i" ]
  void Number(bool hex) {
    Digits(hex);
    if (At(fPos) == '.') {
      ++fPos;
      Digits(hex);
    }
    if (At(fPos) == 'e' || At(fPos) == 'E') {
      ++fPos;
      if (At(fPos) == '+' || At(fPos) == '-') ++fPos;
      Digits(false);
    }
    if (At(fPos) == 'i') ++fPos;
  }

  const std::string& fText;
  size_t fPos = 0;
};

// "$FF" → "255": the 32-bit hexadecimal conversion (values above 32 bits are refused).
std::string HexLiteralToDecimal(const std::string& token) {
  std::uint64_t v = 0;
  const char* first = token.data() + 1;
  const char* last = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(first, last, v, 16);
  if (ec != std::errc() || ptr != last || v > 0xFFFFFFFFull)
    throw EZelParseError("'" + token + "' is not a valid integer value");
  return std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

// The text the scanner reads: trimmed, ".op" turned into "op." and cut at "//".
std::string NormaliseLine(const std::string& str) {
  std::string text = TrimText(str);
  ReplaceAll(text, ".+", "+.");
  ReplaceAll(text, ".-", "-.");
  ReplaceAll(text, ".*", "*.");
  ReplaceAll(text, "./", "/.");
  const size_t comment = text.find("//");
  if (comment != std::string::npos) text.resize(comment);
  return text;
}

// The word of a name that is not a literal: the symbol table's, or a new variable. While a script is
// scanned as a whole (s.script set), new variables wait there and join the table in one merge.
TExprWord* NameWord(TCompileState& s, const std::string& name) {
  int index = 0;
  if (s.symbols.Find(name, index)) return s.symbols[index];
  TScriptScan* script = s.script;
  if (!script || !s.symbols.OwnsObjects()) {
    s.symbols.Insert(index, std::make_unique<TExprVariable>(name));
    return s.symbols[index];
  }
  const auto found = script->variablesByName.find(name);
  if (found != script->variablesByName.end()) return found->second;
  auto variable = std::make_unique<TExprVariable>(name);
  TExprWord* word = variable.get();
  script->variables.push_back(std::move(variable));
  script->variablesByName.emplace(word->Name(), word);
  return word;
}

// The constant word of a literal token (a number, "$" hex number or quoted string), kept by the constant
// list; while a script is scanned as a whole, one word per literal text.
TExprWord* LiteralWord(TCompileState& s, const std::string& token) {
  const std::string literal = token[0] == '$' ? HexLiteralToDecimal(token) : token;
  TScriptScan* script = s.script;
  if (script) {
    const auto found = script->literals.find(literal);
    if (found != script->literals.end()) return found->second;
  }
  std::unique_ptr<TExprWord> constant;
  if (literal[0] == '"') {
    constant = std::make_unique<TExprStringConstant>(literal);
  } else {
    constant = std::make_unique<TExprConstant>("", literal, s.constantsAlwaysReal);
  }
  TExprWord* word = constant.get();
  s.constants.Append(std::move(constant));
  if (script) script->literals.emplace(literal, word);
  return word;
}

}  // namespace

bool TerminatedWithSemicolon(const std::string& text) {
  const std::string t = TrimText(text);
  return !t.empty() && t.back() == ';';
}

std::string ExpandCharToWord(const std::string& src, int charIdx) {
  if (src.empty()) return "";
  const int len = static_cast<int>(src.size());
  charIdx = std::max(1, std::min(charIdx, len));
  int stop = charIdx;  // 1-based: moves right while the character belongs to an identifier
  while (stop <= len && IsIdentChar(src[static_cast<size_t>(stop - 1)])) ++stop;
  int start = charIdx;
  while (start >= 1 && IsIdentChar(src[static_cast<size_t>(start - 1)])) --start;
  if (stop - start - 1 <= 0) return "";
  std::string word = src.substr(static_cast<size_t>(start), static_cast<size_t>(stop - start - 1));
  if (!word.empty() && IsDigit(word[0])) return "";
  return word;
}

void EnterNewVariables(TCompileState& s) {
  TScriptScan* script = s.script;
  if (!script || script->variables.empty()) return;
  std::vector<std::unique_ptr<TExprWord>>& add = script->variables;
  std::sort(add.begin(), add.end(), [](const auto& a, const auto& b) { return a->Name() < b->Name(); });
  TWordList& table = s.symbols;
  const int n = table.Count();
  // Room first: from here on nothing allocates, so no word can be lost half way.
  std::vector<TExprWord*> old(static_cast<size_t>(n));
  table.Reserve(n + static_cast<int>(add.size()));
  for (int i = n - 1; i >= 0; --i) old[static_cast<size_t>(i)] = table.Extract(i);
  size_t a = 0;
  for (TExprWord* word : old) {
    while (a < add.size() && add[a]->Name() < word->Name()) table.Append(std::move(add[a++]));
    table.Append(word);
  }
  while (a < add.size()) table.Append(std::move(add[a++]));
  add.clear();
  script->variablesByName.clear();
}

void CheckNesting(const TExprWordList& words) {
  int depth = 0;
  for (int i = 0; i < words.Count(); ++i) {
    const std::uint32_t t = words[i]->LexemeType();
    if (t & (ltLeftBracket | ltLeftSquareBracket)) {
      if (++depth > kMaxNesting)
        throw EZelParseError(Fmt("Expression nested too deeply: at most %d levels", kMaxNesting));
    } else if (t & (ltRightBracket | ltRightSquareBracket)) {
      --depth;
    }
  }
}

std::unique_ptr<TExprWordList> ScanWords(TCompileState& s, const std::string& text) {
  auto words = std::make_unique<TExprWordList>(false);
  const std::string line = TrimText(text);
  Scanner scanner(line);
  Token token;
  while (scanner.Next(token)) {
    if (token.literal) {
      words->Append(LiteralWord(s, token.text));
    } else if (!token.text.empty()) {
      words->Append(NameWord(s, token.text));
    }
  }
  return words;
}

std::unique_ptr<TExprWordList> ParseLine(TCompileState& s, const std::string& text) {
  std::unique_ptr<TExprWordList> words = ScanWords(s, text);
  CheckNesting(*words);
  s.outputError.clear();
  Preprocess(s, *words);
  CheckSyntax(s, *words);
  // A line that is also malformed reports that first.
  if (!s.outputError.empty()) throw EZelParseError(s.outputError);
  return words;
}

void ScanLine(TCompileState& s, TSingleExpression& line) {
  line.Words = ParseLine(s, NormaliseLine(line.Str));
  line.FlowKeyword = FlowKeywordOf(s.words, *line.Words);
}

}  // namespace zel
