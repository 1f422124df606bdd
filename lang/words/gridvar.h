// Custom values and grid variables: host objects inside script variables. A grid variable is a host
// table of text cells that a script reads with a(row, col) and writes with a(row, col) = value; the cells
// live in the host behind two callbacks.
#pragma once

#include <functional>
#include <string>

#include "lang/words/words.h"

namespace zel {

// A value record typed "custom object" that refers to a host object (never owning it unless asked).
class TCustomValue : public TValueRec {
 public:
  TCustomValue();
  explicit TCustomValue(TObject* obj);
  TObject* Value() const { return CustomValue(); }
  void SetValue(TObject* obj) { SetCustomValue(obj); }
};

// A variable word whose value is a TCustomValue.
class TExprCustomValueVariable : public TExprVariable {
 public:
  explicit TExprCustomValueVariable(const std::string& name);
  TExprCustomValueVariable(const std::string& name, TObject* obj);
  TCustomValue& CustomRec() const { return static_cast<TCustomValue&>(*VRec()); }
};

class TExprGridVariable;
// Supplies the text of cell (row, col).
using TExprGridGetProc = std::function<void(TExprGridVariable& sender, std::string& dst, int row, int col)>;
// Stores the text `src` into cell (row, col).
using TExprGridSetProc =
    std::function<void(TExprGridVariable& sender, const std::string& src, int row, int col)>;

class TExprGridVariable : public TObject {
 public:
  std::string ClassName() const override { return "TExprGridVariable"; }

  const TExprGridGetProc& OnGetValue() const { return FOnGetValue; }
  void SetOnGetValue(TExprGridGetProc f) { FOnGetValue = std::move(f); }
  const TExprGridSetProc& OnSetValue() const { return FOnSetValue; }
  void SetOnSetValue(TExprGridSetProc f) { FOnSetValue = std::move(f); }
  // Number format of real numbers (and real parts) written to cells when Scientific is false.
  const std::string& ReFormat() const { return FReFormat; }
  void SetReFormat(const std::string& f) { FReFormat = f; }
  // Number format of imaginary parts.
  const std::string& ImFormat() const { return FImFormat; }
  void SetImFormat(const std::string& f) { FImFormat = f; }
  // True: real numbers are written with SampleToStr instead of ReFormat.
  bool Scientific() const { return FScientific; }
  void SetScientific(bool b) { FScientific = b; }
  int Rows() const { return FRows; }
  void SetRows(int n) { FRows = n; }
  int Cols() const { return FCols; }
  void SetCols(int n) { FCols = n; }
  int Length() const { return FRows * FCols; }

  // Cell access by indexing form. This class implements none of them (each raises "Read access not
  // implemented for: ..." / "Write access not implemented for: ..."); scripts reach the cells through
  // OnGetValue and OnSetValue. Hosts may derive and implement them.
  virtual void GetValue(TValueRec& dst, int i);
  virtual void GetValue(TValueRec& dst, int i, int j, int k);
  virtual void GetValue(TValueRec& dst, int row, int col);
  virtual void GetValue(TValueRec& dst, int i, int j, int k, int m, int n, int p);
  virtual void GetColValue(TValueRec& dst, int k, int j, int col);
  virtual void GetRowValue(TValueRec& dst, int row, int k, int j);
  virtual void SetValue(const TValueRec& src, int i);
  virtual void SetValue(const TValueRec& src, int i, int j, int k);
  virtual void SetValue(const TValueRec& src, int row, int col);
  virtual void SetValue(const TValueRec& src, int i, int j, int k, int m, int n, int p);
  virtual void SetColValue(const TValueRec& src, int i, int j, int k, int col);
  virtual void SetRowValue(const TValueRec& src, int row, int i, int j, int k);

 private:
  TExprGridGetProc FOnGetValue;
  TExprGridSetProc FOnSetValue;
  std::string FReFormat;
  std::string FImFormat;
  bool FScientific = false;
  int FCols = 0;
  int FRows = 0;
};

}  // namespace zel
