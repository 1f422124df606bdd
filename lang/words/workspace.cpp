// Workspaces: copying and the binary stream form. A string list is stored as its text (every entry
// followed by the list's line break, CR LF or the script break) framed by the text's byte count, so the
// lists and the context after them can be read back.
#include "lang/words/workspace.h"

#include <istream>
#include <ostream>
#include <string_view>

#include "core/fileio.h"
#include "core/stream.h"

namespace zel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The text of a list: each entry followed by the line break.
std::string ListText(const std::vector<std::string>& list, std::string_view lineBreak) {
  std::string text;
  for (const std::string& entry : list) {
    text += entry;
    text += lineBreak;
  }
  return text;
}

// The entries of a list's text: split at each line break; text after the last break is one more entry.
std::vector<std::string> SplitText(std::string_view text, std::string_view lineBreak) {
  std::vector<std::string> list;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t at = text.find(lineBreak, pos);
    if (at == std::string_view::npos) {
      list.emplace_back(text.substr(pos));
      break;
    }
    list.emplace_back(text.substr(pos, at - pos));
    pos = at + lineBreak.size();
  }
  return list;
}

}  // namespace

void TExprWorkspace::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TExprWorkspace*>(&source);
  if (!other || other == this) return;
  fHistory = other->fHistory;
  fScripts = other->fScripts;
  fScriptNames = other->fScriptNames;
  fVariables.Assign(other->fVariables);
}

void TExprWorkspace::SaveToStream(std::ostream& s) const {
  StreamWriteString(s, fName);
  StreamWriteString(s, ListText(fHistory, kLineBreak));
  StreamWriteString(s, ListText(fScripts, ScriptBreak));
  StreamWriteString(s, ListText(fScriptNames, kLineBreak));
  fVariables.SaveToStream(s);
}

void TExprWorkspace::LoadFromStream(std::istream& s) {
  ReadPart(s, "the workspace name", [&] { fName = StreamReadString(s); });
  ReadPart(s, "the history", [&] { fHistory = SplitText(StreamReadString(s), kLineBreak); });
  ReadPart(s, "the scripts", [&] { fScripts = SplitText(StreamReadString(s), ScriptBreak); });
  ReadPart(s, "the script names", [&] { fScriptNames = SplitText(StreamReadString(s), kLineBreak); });
  fVariables.LoadFromStream(s);
}

void TExprWorkspace::SaveToFile(const std::string& fileName, bool append) const {
  SaveFileAtomically(
      fileName, [this](std::ostream& out) { SaveToStream(out); }, append);
}

void TExprWorkspace::LoadFromFile(const std::string& fileName) {
  LoadFromFileStream(fileName, [this](std::istream& in) { LoadFromStream(in); });
}

}  // namespace zel
