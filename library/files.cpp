// Registration of the file words in their two spellings, and the argument helpers they share.
#include "library/files.h"

#include <cctype>

#include "library/file_support.h"
#include "library/redirect.h"

namespace zel {

namespace files {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// `text` with every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Defines one spelling of a row, as a new word or as an overload of the word at `overload`.
int Define(TWordList& w, const std::string& name, const TFileWordRow& r, const std::string& help,
           int overload) {
  if (r.varying)
    return w.DefineVaryingFunctionUnsorted(name, r.routine, r.argCount, r.resultCount, help, overload);
  return w.DefineFunctionUnsorted(name, r.routine, r.argCount, r.resultCount, help, overload);
}

}  // namespace

void RegisterRows(TWordList& words, std::span<const TFileWordRow> rows, std::vector<std::string>* names) {
  for (std::size_t first = 0; first < rows.size();) {
    std::size_t end = first + 1;
    while (end < rows.size() && std::string(rows[end].name) == rows[first].name) ++end;
    const std::string name = rows[first].name;
    const std::string lower = Lower(name);
    int index = -1;
    for (std::size_t k = first; k < end; ++k)
      index = Define(words, name, rows[k], rows[k].help, k == first ? -1 : index);
    for (std::size_t k = first; k < end; ++k) {
      const std::string help = rows[k].lowerHelp ? rows[k].lowerHelp : ReplaceAll(rows[k].help, name, lower);
      index = Define(words, lower, rows[k], help, k == first ? -1 : index);
    }
    if (names) {
      names->push_back(name);
      names->push_back(lower);
    }
    first = end;
  }
}

const std::string& TextArg(const TExprRec& e, int i) {
  if (e.Args[i]->ValueType() != vtString) RaiseUnsupportedArgs(e);
  return e.Args[i]->StringValue();
}

TSimpleType SimpleTypeArg(TExprRec& e, int i) {
  const TSimpleType type = StrToSimpleType(Lower(TextArg(e, i)));
  e.Args[i]->SetTag(type);
  return type;
}

void PutBool(TExprRec& e, bool value) {
  e.Res->DefineBool();
  e.Res->SetBoolValue(value);
}

}  // namespace files

void RegisterFileFunctions(TWordList& words) {
  files::RegisterRows(words, files::HandleRows(), nullptr);
  files::RegisterRows(words, files::TextRows(), nullptr);
}

const std::vector<std::string>& FileFunctionNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    TWordList scratch;
    files::RegisterRows(scratch, files::HandleRows(), &list);
    files::RegisterRows(scratch, files::TextRows(), &list);
    return list;
  }();
  return names;
}

}  // namespace zel
