// Non-visual components: objects that other components hold references to, save to and load from files,
// and switch into a template mode.
//
// A component keeps two lists: the holders that refer to it, and the components it refers to. When a
// component is destroyed each holder is told (ReferenceRemoved) so it can drop its pointer, and each
// component it referred to forgets it, so no list keeps a dangling pointer in either direction.
//
// Properties are name/value text pairs that each class writes and reads through WriteProperties and
// ReadProperties. The file form is one "object CLASS" line, one "name=value" line per property (values with
// line breaks or backslashes escaped as \n, \r and \\), and "end". Saving writes a temporary file in the
// target's folder and renames it over the target once it is complete, so a failed save never destroys the
// previous file. In template mode a class writes and reads only its settings, not its data (each class
// says which properties are data). A persistent object the component holds writes its properties into the
// component's list under a dotted prefix ("Variables[0].Value.Data").
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "core/persistent.h"

namespace zel {

class TZelComponent : public TPersistent {
 public:
  using TProperties = std::vector<std::pair<std::string, std::string>>;

  TZelComponent() = default;
  TZelComponent(const TZelComponent&) = delete;
  TZelComponent& operator=(const TZelComponent&) = delete;
  // Tells every holder that this component is gone and leaves the lists of the components it holds.
  ~TZelComponent() override;

  const std::string& Name() const { return fName; }
  void SetName(const std::string& name) { fName = name; }

  // Makes `holder` a holder of this component: it is told when this component is destroyed. Adding the
  // same holder twice keeps one entry.
  void AddReference(TZelComponent* holder);
  // Drops `holder` from the holders; with `notify` the holder is told as on destruction.
  void RemoveReference(TZelComponent* holder, bool notify);
  int HolderCount() const { return static_cast<int>(fHolders.size()); }
  // Called on a holder when a component it refers to is destroyed (or removes it with notification).
  virtual void ReferenceRemoved(TZelComponent* component);

  bool TemplateMode() const { return fTemplateMode; }
  virtual void SetTemplateMode(bool on) { fTemplateMode = on; }

  // The class's properties. The base writes and reads "Name"; derived classes call the base first.
  virtual void WriteProperties(TProperties& dst) const;
  // Reads the properties the class knows; names it does not know are ignored (files of newer versions).
  virtual void ReadProperties(const TProperties& src);

  void SaveToStream(std::ostream& s) const;
  // Raises ENubraException when the stream holds another class or is malformed.
  void LoadFromStream(std::istream& s);
  void SaveToFile(const std::string& fileName) const;
  // Raises ENubraException "File not found: NAME" when the file does not exist.
  void LoadFromFile(const std::string& fileName);

  std::string ClassName() const override { return "TZelComponent"; }

  // The value of property `name` in `src`, or null. Public so the persistent objects a component holds
  // (value records, collections) can read their own properties from the component's list.
  static const std::string* FindProperty(const TProperties& src, const std::string& name);

 private:
  std::string fName;
  bool fTemplateMode = false;
  std::vector<TZelComponent*> fHolders;     // told when this component is destroyed
  std::vector<TZelComponent*> fReferences;  // the components whose holder this one is
};

}  // namespace zel
