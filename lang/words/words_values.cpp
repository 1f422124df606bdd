// Constant and variable words: each owns a value record and evaluates to it.
#include <charconv>

#include "core/text.h"
#include "lang/words/words.h"

namespace zel {

void _ValueOfWord(TExprRec& expr) { expr.Res = expr.Args[0]; }

TExprValueWord::TExprValueWord(const std::string& name, std::uint32_t kind, std::unique_ptr<TValueRec> rec,
                               const std::string& help)
    : TExprWord(name, kind) {
  SetVRec(std::move(rec));
  if (kind == ltConstant) VRec()->MarkConstant();
  SetSlot(0, _ValueOfWord, nullptr, help);
}

namespace {

std::unique_ptr<TValueRec> NewRec() { return std::make_unique<TValueRec>(); }

// Strict signed 64-bit decimal parse of the whole text (an optional sign, then digits only).
bool TryStrToInt64(const std::string& s, std::int64_t& out) {
  const char* first = s.data();
  const char* last = first + s.size();
  if (first != last && *first == '+') ++first;
  if (first == last || (*first == '-' && first + 1 == last)) return false;
  auto [ptr, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && ptr == last;
}

std::unique_ptr<TValueRec> LiteralRec(const std::string& text, bool alwaysReal) {
  auto rec = NewRec();
  if (text.empty()) return rec;
  std::int64_t i = 0;
  if (!alwaysReal && TryStrToInt64(text, i)) {
    rec->DefineInteger();
    rec->SetIntegerValue(i);
    return rec;
  }
  const TCplx z = StrToCplx(text);
  if (z.imag() == 0) {
    rec->DefineDouble();
    rec->SetDoubleValue(z.real());
  } else {
    rec->DefineComplex();
    rec->SetComplexValue(z);
  }
  return rec;
}

std::unique_ptr<TValueRec> StringRec(const std::string& value) {
  auto rec = NewRec();
  if (!value.empty()) {
    rec->DefineString();
    rec->SetStringValue(value);
  }
  return rec;
}

// The text between the quotes of a quoted literal.
std::string Unquote(const std::string& name) {
  return name.size() >= 2 ? name.substr(1, name.size() - 2) : "";
}

template <class Make>
std::unique_ptr<TValueRec> Built(Make&& make) {
  auto rec = NewRec();
  make(*rec);
  return rec;
}

}  // namespace

TExprConstant::TExprConstant(const std::string& name, const std::string& value, bool alwaysReal)
    : TExprValueWord(name, ltConstant, LiteralRec(value, alwaysReal)) {}

TExprStringConstant::TExprStringConstant(const std::string& name)
    : TExprValueWord(name, ltConstant, StringRec(Unquote(name))) {}

TExprStringConstant::TExprStringConstant(const std::string& name, const std::string& help,
                                         const std::string& value)
    : TExprValueWord(name, ltConstant, StringRec(value), help) {}

TExprDoubleConstant::TExprDoubleConstant(const std::string& name, double value, const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineDouble();
                       r.SetDoubleValue(value);
                     }),
                     help) {}

TExprBoolConstant::TExprBoolConstant(const std::string& name, bool value, const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineBool();
                       r.SetBoolValue(value);
                     }),
                     help) {}

TExprIntegerConstant::TExprIntegerConstant(const std::string& name, std::int64_t value,
                                           const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineInteger();
                       r.SetIntegerValue(value);
                     }),
                     help) {}

TExprComplexConstant::TExprComplexConstant(const std::string& name, TCplx value, const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineComplex();
                       r.SetComplexValue(value);
                     }),
                     help) {}

TExprRangeConstant::TExprRangeConstant(const std::string& name, const std::vector<std::int32_t>& bounds,
                                       const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineRange();
                       r.Range() = bounds;
                     }),
                     help) {}

// An extended range (type range with real or complex bounds), so a folded real range behaves exactly like
// one built at run time: loops step through it, assignment keeps it a range, selection reads it as an index.
TExprExtRangeConstant::TExprExtRangeConstant(const std::string& name, const TVec& bounds,
                                             const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineExtRange();
                       r.ExtRangeValue()->Copy(bounds);
                     }),
                     help) {}

TExprVectorConstant::TExprVectorConstant(const std::string& name, const TVec& value, const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineVector();
                       r.VectorValue().Copy(value);
                     }),
                     help) {}

TExprIntVectorConstant::TExprIntVectorConstant(const std::string& name, const TVecInt& value,
                                               const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineIntVector();
                       r.IntVectorValue().Copy(value);
                     }),
                     help) {}

TExprBoolVectorConstant::TExprBoolVectorConstant(const std::string& name, const TVecInt& value,
                                                 const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineBoolVector();
                       r.BoolVectorValue().Assign(value);
                     }),
                     help) {}

TExprMatrixConstant::TExprMatrixConstant(const std::string& name, const TZel& value, const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineMatrix();
                       r.MatrixValue().Copy(value);
                     }),
                     help) {}

TExprIntMatrixConstant::TExprIntMatrixConstant(const std::string& name, const TZelInt& value,
                                               const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineIntMatrix();
                       r.IntMatrixValue().Copy(value);
                     }),
                     help) {}

TExprBoolMatrixConstant::TExprBoolMatrixConstant(const std::string& name, const TZelInt& value,
                                                 const std::string& help)
    : TExprValueWord(name, ltConstant, Built([&](TValueRec& r) {
                       r.DefineBoolMatrix();
                       r.BoolMatrixValue().Copy(value);
                     }),
                     help) {}

// ---- variables -------------------------------------------------------------------------------------

TExprVariable::TExprVariable(const std::string& name) : TExprValueWord(name, ltVariable, NewRec()) {}

TExprVariable::TExprVariable(const std::string& name, std::unique_ptr<TValueRec> rec)
    : TExprValueWord(name, ltVariable, std::move(rec)) {}

TExprDoubleVariable::TExprDoubleVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TDoubleValue>()) {}
TExprIntegerVariable::TExprIntegerVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TIntegerValue>()) {}
TExprBoolVariable::TExprBoolVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TBoolValue>()) {}
TExprRangeVariable::TExprRangeVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TRangeValue>()) {}
TExprStringVariable::TExprStringVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TStringValue>()) {}
TExprComplexVariable::TExprComplexVariable(const std::string& name)
    : TExprVariable(name, std::make_unique<TComplexValue>()) {}

TExprVectorVariable::TExprVectorVariable(const std::string& name, TVec* host)
    : TExprVariable(name, std::make_unique<TVectorValue>(host)) {}
TExprIntVectorVariable::TExprIntVectorVariable(const std::string& name, TVecInt* host)
    : TExprVariable(name, std::make_unique<TIntVectorValue>(host)) {}
TExprBoolVectorVariable::TExprBoolVectorVariable(const std::string& name, TVecInt* host)
    : TExprVariable(name, std::make_unique<TBoolVectorValue>(host)) {}
TExprMatrixVariable::TExprMatrixVariable(const std::string& name, TZel* host)
    : TExprVariable(name, std::make_unique<TMatrixValue>(host)) {}
TExprIntMatrixVariable::TExprIntMatrixVariable(const std::string& name, TZelInt* host)
    : TExprVariable(name, std::make_unique<TIntMatrixValue>(host)) {}
TExprBoolMatrixVariable::TExprBoolMatrixVariable(const std::string& name, TZelInt* host)
    : TExprVariable(name, std::make_unique<TBoolMatrixValue>(host)) {}

}  // namespace zel
