// A workspace: what a working session keeps between runs, namely a name, the command history, named
// scripts and the variables (a context), saved to and loaded from one binary stream or file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/persistent.h"
#include "lang/words/context.h"

namespace zel {

class TExprWorkspace : public TPersistent {
 public:
  // The separator of the scripts' text in the stream: each entry is one whole script, which may itself
  // hold line breaks.
  static constexpr const char* ScriptBreak = "\r\n#!#\r\n";

  const std::string& Name() const { return fName; }
  void SetName(const std::string& name) { fName = name; }
  std::vector<std::string>& History() { return fHistory; }
  const std::vector<std::string>& History() const { return fHistory; }
  void SetHistory(const std::vector<std::string>& lines) { fHistory = lines; }
  std::vector<std::string>& Scripts() { return fScripts; }
  const std::vector<std::string>& Scripts() const { return fScripts; }
  void SetScripts(const std::vector<std::string>& scripts) { fScripts = scripts; }
  std::vector<std::string>& ScriptNames() { return fScriptNames; }
  const std::vector<std::string>& ScriptNames() const { return fScriptNames; }
  void SetScriptNames(const std::vector<std::string>& names) { fScriptNames = names; }
  TExprContext& Variables() { return fVariables; }
  const TExprContext& Variables() const { return fVariables; }
  void SetVariables(const TExprContext& context) { fVariables.Assign(context); }

  // From another workspace only (anything else is ignored): copies the history, scripts, script names
  // and the context; the name stays.
  void Assign(const TPersistent& source) override;
  std::string ClassName() const override { return "TExprWorkspace"; }

  // The workspace stream (docs/numbers.md): the name, the history, the scripts and the script names,
  // each list as its text framed by its byte count, then the context stream.
  void SaveToStream(std::ostream& s) const;
  // Reads a workspace stream; the variables are added to the context's collection (see
  // TExprContext::LoadFromStream).
  void LoadFromStream(std::istream& s);
  // Saves through a temporary file renamed over the target; with `append` after the file's contents.
  void SaveToFile(const std::string& fileName, bool append = false) const;
  // Loads the first workspace of the file; errors name the file.
  void LoadFromFile(const std::string& fileName);

 private:
  std::string fName;
  std::vector<std::string> fHistory;
  std::vector<std::string> fScripts;
  TExprContext fVariables;
  std::vector<std::string> fScriptNames;
};

}  // namespace zel
