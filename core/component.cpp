// Components: the two-way reference lists, and the text file form of their properties.
#include "core/component.h"

#include <algorithm>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

#include "core/errors.h"
#include "core/fileio.h"

namespace zel {

namespace {

void Erase(std::vector<TZelComponent*>& list, const TZelComponent* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

std::string Escape(const std::string& value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

}  // namespace

TZelComponent::~TZelComponent() {
  // Copies: a holder's ReferenceRemoved may change the lists.
  for (TZelComponent* holder : std::vector<TZelComponent*>(fHolders)) {
    Erase(holder->fReferences, this);
    holder->ReferenceRemoved(this);
  }
  for (TZelComponent* held : fReferences) Erase(held->fHolders, this);
}

void TZelComponent::AddReference(TZelComponent* holder) {
  if (!holder || holder == this || std::find(fHolders.begin(), fHolders.end(), holder) != fHolders.end())
    return;
  fHolders.push_back(holder);
  holder->fReferences.push_back(this);
}

void TZelComponent::RemoveReference(TZelComponent* holder, bool notify) {
  if (std::find(fHolders.begin(), fHolders.end(), holder) == fHolders.end()) return;
  Erase(fHolders, holder);
  Erase(holder->fReferences, this);
  if (notify) holder->ReferenceRemoved(this);
}

void TZelComponent::ReferenceRemoved(TZelComponent*) {}

void TZelComponent::WriteProperties(TProperties& dst) const { dst.emplace_back("Name", fName); }

void TZelComponent::ReadProperties(const TProperties& src) {
  if (const std::string* name = FindProperty(src, "Name")) fName = *name;
}

const std::string* TZelComponent::FindProperty(const TProperties& src, const std::string& name) {
  for (const auto& [key, value] : src)
    if (key == name) return &value;
  return nullptr;
}

void TZelComponent::SaveToStream(std::ostream& s) const {
  TProperties props;
  WriteProperties(props);
  s << "object " << ClassName() << "\n";
  for (const auto& [key, value] : props) s << key << '=' << Escape(value) << "\n";
  s << "end\n";
  if (!s) ERaise("Component stream write error");
}

void TZelComponent::LoadFromStream(std::istream& s) {
  std::string line;
  if (!std::getline(s, line) || line != "object " + ClassName()) {
    const std::string found = line.rfind("object ", 0) == 0 ? line.substr(7) : std::string("no component");
    ERaise("Cannot load " + found + " into a " + ClassName());
  }
  TProperties props;
  bool ended = false;
  while (std::getline(s, line)) {
    if (line == "end") {
      ended = true;
      break;
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) ERaise("Component stream read error: \"" + line + "\" is not name=value");
    props.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
  }
  if (!ended) ERaise("Component stream read error: the stream ends before \"end\"");
  ReadProperties(props);
}

void TZelComponent::SaveToFile(const std::string& fileName) const {
  SaveFileAtomically(fileName, [this](std::ostream& out) { SaveToStream(out); });
}

void TZelComponent::LoadFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) ERaise("File not found: " + fileName);
  LoadFromStream(in);
}

}  // namespace zel
