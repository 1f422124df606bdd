// Custom values, custom-value variables and the grid variable's cell access by indexing form. The
// working cell access of scripts goes through the grid's events (lang/operators/assign_grid.cpp for writes,
// the selection operators for reads); the indexing-form operations are for hosts that derive their own
// grid classes.
#include "lang/words/gridvar.h"

#include <memory>
#include <stdexcept>

namespace zel {

TCustomValue::TCustomValue() { DefineCustomValue(); }

TCustomValue::TCustomValue(TObject* obj) {
  if (obj) {
    DefineCustomValue(obj, false);  // a reference: the host keeps ownership
  } else {
    DefineCustomValue();
  }
}

TExprCustomValueVariable::TExprCustomValueVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TCustomValue>()) {}

TExprCustomValueVariable::TExprCustomValueVariable(const std::string& name, TObject* obj)
    : TExprVariable(name, std::make_unique<TCustomValue>(obj)) {}

namespace {
[[noreturn]] void NotImplemented(const char* text) { throw std::runtime_error(text); }
}  // namespace

void TExprGridVariable::GetValue(TValueRec&, int) { NotImplemented("Read access not implemented for: a(i)"); }
void TExprGridVariable::GetValue(TValueRec&, int, int, int) {
  NotImplemented("Read access not implemented for: a(i:j:k)");
}
void TExprGridVariable::GetValue(TValueRec&, int, int) {
  NotImplemented("Read access not implemented for: a(row, col)");
}
void TExprGridVariable::GetValue(TValueRec&, int, int, int, int, int, int) {
  NotImplemented("Read access not implemented for: a(i:j:k, m:n:p)");
}
void TExprGridVariable::GetColValue(TValueRec&, int, int, int) {
  NotImplemented("Read access not implemented for: a(k:j, col)");
}
void TExprGridVariable::GetRowValue(TValueRec&, int, int, int) {
  NotImplemented("Read access not implemented for: a(row, k:j)");
}
void TExprGridVariable::SetValue(const TValueRec&, int) {
  NotImplemented("Write access not implemented for: a(i)");
}
void TExprGridVariable::SetValue(const TValueRec&, int, int, int) {
  NotImplemented("Write access not implemented for: a(i:j:k)");
}
void TExprGridVariable::SetValue(const TValueRec&, int, int) {
  NotImplemented("Write access not implemented for: a(row, col)");
}
void TExprGridVariable::SetValue(const TValueRec&, int, int, int, int, int, int) {
  NotImplemented("Write access not implemented for: a(i:j:k, m:n:p)");
}
void TExprGridVariable::SetColValue(const TValueRec&, int, int, int, int) {
  NotImplemented("Write access not implemented for: a(i:j:k, col)");
}
void TExprGridVariable::SetRowValue(const TValueRec&, int, int, int, int) {
  NotImplemented("Write access not implemented for: a(row, i:j:k)");
}

}  // namespace zel
