// String functions: numbers as text (inttostr, sampletostr, cplxtostr, formatsample, formatcplx), letter
// case, trimming, replacing, searching and comparing. Each routine checks the types of its arguments on
// every call (a few comparisons next to the text work) and raises the unsupported-types error naming all
// of them before it touches the result.
//
// Strings hold UTF-8: positions count characters, and letter case follows core/textcase.h, which does not
// depend on the process locale (docs/functions.md, "Strings and conversions", gives the choices).
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>

#include "core/text.h"
#include "core/textcase.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

// Raises the unsupported-types error unless the arguments have exactly these types.
void Require(const TExprRec& e, std::initializer_list<TValueType> types) {
  int i = 0;
  for (TValueType t : types)
    if (e.Args[i++]->ValueType() != t) RaiseUnsupportedArgs(e);
}

// The text of argument i (a string, checked before).
const std::string& Text(const TExprRec& e, int i) { return e.Args[i]->StringValue(); }

// A string result.
void PutText(TExprRec& e, const std::string& s) {
  e.Res->DefineString();
  e.Res->SetStringValue(s);
}

// An integer result (which also carries the number as a double).
void PutInt(TExprRec& e, std::int64_t v) {
  e.Res->DefineInteger();
  e.Res->SetIntegerValue(v);
}

// A double or an integer as a double; anything else raises.
double RealArg(const TExprRec& e, int i) {
  const TValueRec& x = *e.Args[i];
  if (x.ValueType() == vtDoubleValue) return x.DoubleValue();
  if (x.ValueType() != vtIntegerValue) RaiseUnsupportedArgs(e);
  return static_cast<double>(x.IntegerValue());
}

// inttostr(x): the decimal text of an integer.
void _IntToStr(TExprRec& e) {
  Require(e, {vtIntegerValue});
  PutText(e, std::to_string(e.Args[0]->IntegerValue()));
}

// sampletostr(x), cplxtostr(x): a real as SampleToStr writes it, a complex value as CplxToStr does.
void _SampleToStr(TExprRec& e) {
  const TValueRec& x = *e.Args[0];
  if (x.ValueType() == vtComplexValue) return PutText(e, CplxToStr(x.ComplexValue(), 0, 15));
  PutText(e, SampleToStr(RealArg(e, 0)));
}

// formatsample(x, format): a real by a number picture.
void _FormatSample(TExprRec& e) {
  if (e.Args[1]->ValueType() != vtString) RaiseUnsupportedArgs(e);
  PutText(e, FormatSample(RealArg(e, 0), Text(e, 1)));
}

// formatcplx(x, reFormat, imFormat): a complex value by two pictures, the second writing sign and "i".
void _FormatCplx(TExprRec& e) {
  Require(e, {vtComplexValue, vtString, vtString});
  PutText(e, FormatCplx(e.Args[0]->ComplexValue(), Text(e, 1), Text(e, 2)));
}

// upper(x), lower(x): the text with its letters in one case.
void _Upper(TExprRec& e) {
  Require(e, {vtString});
  PutText(e, UpperCase(Text(e, 0)));
}

void _Lower(TExprRec& e) {
  Require(e, {vtString});
  PutText(e, LowerCase(Text(e, 0)));
}

// trim(x): without the blanks and control characters (up to U+0020) at both ends.
void _Trim(TExprRec& e) {
  Require(e, {vtString});
  std::string_view s = Text(e, 0);
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  PutText(e, std::string(s));
}

// replacestr(x, from, to) and replacetext(x, from, to): every occurrence of `from` replaced.
template <bool IgnoreCase>
void _Replace(TExprRec& e) {
  Require(e, {vtString, vtString, vtString});
  PutText(e, ReplaceAll(Text(e, 0), Text(e, 1), Text(e, 2), IgnoreCase));
}

// pos(SubStr, Str): the character position of SubStr in Str from 0, or -1.
void _Pos(TExprRec& e) {
  Require(e, {vtString, vtString});
  PutInt(e, FindChars(Text(e, 1), Text(e, 0)));
}

// pos(SubStr, Str, Offset): the same, searching from character Offset counted from 1; an Offset below 1
// or past the last character finds nothing.
void _PosFrom(TExprRec& e) {
  Require(e, {vtString, vtString, vtIntegerValue});
  const std::int64_t offset = e.Args[2]->IntegerValue();
  const bool inRange = offset >= 1 && offset <= std::numeric_limits<int>::max();
  PutInt(e, inRange ? FindChars(Text(e, 1), Text(e, 0), static_cast<int>(offset - 1)) : -1);
}

// comparestr(a, b) and comparetext(a, b): -1, 0 or 1 by the order of the code points.
template <bool IgnoreCase>
void _Compare(TExprRec& e) {
  Require(e, {vtString, vtString});
  PutInt(e, IgnoreCase ? CompareText(Text(e, 0), Text(e, 1)) : CompareStr(Text(e, 0), Text(e, 1)));
}

// `Pos` is registered before `pos`, so its rows name the capitalised spelling first.
constexpr TFunctionEntry kStrings[] = {
    {"inttostr", "IntToStr", _IntToStr, 1, "inttostr(x): converts x from integer to string."},
    {"sampletostr", "SampleToStr", _SampleToStr, 1, "sampletostr(x): converts x from double to string."},
    {"cplxtostr", "CplxToStr", _SampleToStr, 1, "cplxtostr(x): converts x from complex to string."},
    {"formatsample", "FormatSample", _FormatSample, 2,
     "formatsample(x, format): converts x from string according to format."},
    {"formatcplx", "FormatCplx", _FormatCplx, 3,
     "formatcplx(x, reFormat, imFormat): converts x from string according to format. Examples of good "
     "format values:  \" 0.###;-0.###\", \"+0.###i;-0.###i\""},
    {"upper", "Upper", _Upper, 1, "upper(x): converts x to upper case string."},
    {"lower", "Lower", _Lower, 1, "lower(x): converts x to lower case string."},
    {"trim", "Trim", _Trim, 1, "trim(x): removes trailing and leading spaces."},
    {"replacestr", "ReplaceStr", _Replace<false>, 3,
     "replacestr(x, AFromText, AToText): case sensitive replaces FromText to ToText within x."},
    {"replacetext", "ReplaceText", _Replace<true>, 3,
     "replacetext(x, AFromText, AToText): case insensitive replaces FromText to ToText within x."},
    {"Pos", "pos", _Pos, 2,
     "Pos(SubStr, Str): returns -1 if substring is not found and otherwise 0-based index position.",
     "pos(SubStr, Str): returns -1 if substring is not found and otherwise 0-based index position."},
    {"Pos", "pos", _PosFrom, 3,
     "Pos(SubStr, Str, Offset): returns -1 if substring is not found and otherwise 0-based index position. "
     "The search starts at offset. ",
     "pos(SubStr, Str, Offset): returns -1 if substring is not found and otherwise 0-based index position. "
     "The search starts at offset. "},
    {"comparestr", "CompareStr", _Compare<false>, 2,
     "comparestr(a, b): returns 0 if both strings match with case sensitivity."},
    {"comparetext", "CompareText", _Compare<true>, 2,
     "comparetext(a, b): returns 0 if both strings match with case insensitivity."},
};

}  // namespace

void RegisterStringFunctions(TWordList& words) { RegisterFunctions(words, kStrings); }

}  // namespace zel
