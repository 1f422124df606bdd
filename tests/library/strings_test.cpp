// The string functions: twins and help texts, results for every accepted argument type (non-ASCII text
// included), the letter-case tables against Unicode's, scripts that pass pictures and strings through
// the compiler, and each function's unsupported-types message.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "core/textcase.h"
#include "library_helper.h"
#include "script/expression.h"

namespace zel::test {
namespace {

Snapshot Text(std::string s) { return {vtString, 1, 1, false, prInt32, {}, std::move(s)}; }
Snapshot Integer(double v) { return {vtIntegerValue, 1, 1, false, prInt32, {v}, {}}; }

TEST(StringFunctions, TwinsAndHelpTexts) {
  const struct {
    const char *name, *twin;
    int args;
    const char* help;  // the lower-case word's; the twin's leads with the twin's name
  } cases[] = {
      {"inttostr", "IntToStr", 1, "inttostr(x): converts x from integer to string."},
      {"sampletostr", "SampleToStr", 1, "sampletostr(x): converts x from double to string."},
      {"cplxtostr", "CplxToStr", 1, "cplxtostr(x): converts x from complex to string."},
      {"formatsample", "FormatSample", 2,
       "formatsample(x, format): converts x from string according to format."},
      {"formatcplx", "FormatCplx", 3,
       "formatcplx(x, reFormat, imFormat): converts x from string according to format. Examples of good "
       "format "
       "values:  \" 0.###;-0.###\", \"+0.###i;-0.###i\""},
      {"upper", "Upper", 1, "upper(x): converts x to upper case string."},
      {"lower", "Lower", 1, "lower(x): converts x to lower case string."},
      {"trim", "Trim", 1, "trim(x): removes trailing and leading spaces."},
      {"replacestr", "ReplaceStr", 3,
       "replacestr(x, AFromText, AToText): case sensitive replaces FromText to ToText within x."},
      {"replacetext", "ReplaceText", 3,
       "replacetext(x, AFromText, AToText): case insensitive replaces FromText to ToText within x."},
      {"pos", "Pos", 2,
       "pos(SubStr, Str): returns -1 if substring is not found and otherwise 0-based index position."},
      {"pos", "Pos", 3,
       "pos(SubStr, Str, Offset): returns -1 if substring is not found and otherwise 0-based index position. "
       "The "
       "search starts at offset. "},
      {"comparestr", "CompareStr", 2,
       "comparestr(a, b): returns 0 if both strings match with case sensitivity."},
      {"comparetext", "CompareText", 2,
       "comparetext(a, b): returns 0 if both strings match with case insensitivity."},
      {"double", "Double", 1, "double(x): converts integer 'x' value to double"},
      {"boolean", "Boolean", 1,
       "boolean(x): converts integer 'x' value to boolean \"true\" if value is bigger than zero and "
       "\"false\" "
       "otherwise."},
  };
  for (const auto& c : cases) {
    const std::string twinHelp = c.twin + std::string(c.help + std::strlen(c.name));
    for (const auto& [name, help] : {std::pair{c.name, std::string(c.help)}, std::pair{c.twin, twinHelp}}) {
      const TExprWord* w = Functions::Get().Word(name);
      EXPECT_EQ(w->HelpAt(c.args), help) << name;
      EXPECT_EQ(w->LexemeType(), ltFunction) << name;
    }
  }
  // Pos is registered before pos.
  TWordList words;
  RegisterBuiltins(words, {});
  int pos = -1, Pos = -1;
  for (int i = 0; i < words.Count(); ++i) {
    if (words[i]->Name() == "pos" && pos < 0) pos = i;
    if (words[i]->Name() == "Pos" && Pos < 0) Pos = i;
  }
  EXPECT_LT(Pos, pos);
  EXPECT_GE(Pos, 0);
}

TEST(StringFunctions, Results) {
  const struct {
    const char* name;
    std::vector<Val> args;
    Snapshot expected;
  } cases[] = {
      // numbers as text
      {"inttostr", Args(Int(-42)), Text("-42")},
      {"IntToStr", Args(Int(std::numeric_limits<std::int64_t>::min())), Text("-9223372036854775808")},
      {"sampletostr", Args(Dbl(0.1)), Text("0.1")},
      {"sampletostr", Args(Int(3)), Text("3")},
      {"sampletostr", Args(Cplx(1, -2)), Text("1-2i")},
      {"cplxtostr", Args(Cplx(0.5, 0)), Text("0.5+0i")},
      {"cplxtostr", Args(Dbl(1.0 / 3)), Text("0.333333333333333")},
      {"formatsample", Args(Int(5), Str("0000")), Text("0005")},
      {"formatcplx", Args(Cplx(1.23456, -7.5), Str("0.###;-0.###"), Str("+0.###i;-0.###i")),
       Text("1.235-7.5i")},
      // letter case: Latin, Greek, Cyrillic; other characters and stray bytes unchanged
      {"upper", Args(Str("héllo wörld ÿ ĳ ŉ straße µ")), Text("HÉLLO WÖRLD Ÿ Ĳ ŉ STRAßE Μ")},
      {"upper", Args(Str("日本 😀 x \xC3 a\xFF")), Text("日本 😀 X \xC3 A\xFF")},
      {"lower", Args(Str("ÀÉÎÕÜÇÑ ŸŁŽ İ")), Text("àéîõüçñ ÿłž İ")},
      {"lower", Args(Str("ЁЖИК ΆΣΤΡΟ")), Text("ёжик άστρο")},
      // trimming: blanks and control characters, not a no-break space
      {"trim", Args(Str(" \t a b \r\n")), Text("a b")},
      {"trim", Args(Str("\u00A0x")), Text("\u00A0x")},
      {"trim", Args(Str("   ")), Text("")},
      // replacing
      {"replacestr", Args(Str("a.b.c"), Str("."), Str("--")), Text("a--b--c")},
      {"replacestr", Args(Str("aaa"), Str("aa"), Str("b")), Text("ba")},
      {"replacestr", Args(Str("Abc abc"), Str("abc"), Str("x")), Text("Abc x")},
      {"replacestr", Args(Str("abc"), Str(""), Str("x")), Text("abc")},
      {"replacetext", Args(Str("Abc ABC abc"), Str("aBc"), Str("x")), Text("x x x")},
      {"replacetext", Args(Str("Ärger ÄRGER ärger"), Str("är"), Str("Ö")), Text("Öger ÖGER Öger")},
      {"replacetext", Args(Str("ΣΟΦΟΣ σοφος σοφός"), Str("σοφος"), Str("-")), Text("- - σοφός")},
      // positions count characters from 0; the offset counts from 1
      {"pos", Args(Str("b"), Str("abc")), Integer(1)},
      {"pos", Args(Str("z"), Str("abc")), Integer(-1)},
      {"pos", Args(Str("B"), Str("abc")), Integer(-1)},
      {"pos", Args(Str(""), Str("abc")), Integer(-1)},
      {"pos", Args(Str("ö"), Str("héllo wörld")), Integer(7)},
      {"pos", Args(Str("a"), Str("banana"), Int(1)), Integer(1)},
      {"Pos", Args(Str("a"), Str("banana"), Int(3)), Integer(3)},
      {"pos", Args(Str("a"), Str("banana"), Int(6)), Integer(5)},
      {"pos", Args(Str("l"), Str("héllo"), Int(4)), Integer(3)},
      {"pos", Args(Str("a"), Str("banana"), Int(7)), Integer(-1)},
      {"pos", Args(Str("a"), Str("banana"), Int(0)), Integer(-1)},
      {"pos", Args(Str("a"), Str("banana"), Int(std::int64_t{1} << 40)), Integer(-1)},
      // comparison: -1, 0, 1 by code points; comparetext folds letters
      {"comparestr", Args(Str("abc"), Str("abd")), Integer(-1)},
      {"comparestr", Args(Str("a"), Str("A")), Integer(1)},
      {"comparestr", Args(Str("é"), Str("z")), Integer(1)},
      {"comparestr", Args(Str("ab"), Str("abc")), Integer(-1)},
      {"comparetext", Args(Str("ÉCOLE"), Str("école")), Integer(0)},
      {"comparetext", Args(Str("ΣΟΦΟΣ"), Str("σοφος")), Integer(0)},
      {"comparetext", Args(Str("a"), Str("_")), Integer(1)},
      {"comparetext", Args(Str("B"), Str("a")), Integer(1)},
      {"comparetext", Args(Str("Ä"), Str("b")), Integer(1)},
  };
  for (const auto& c : cases) {
    NodeRunner run(Functions::Get().Word(c.name), Raw(c.args));
    EXPECT_EQ(Snap(run.EvalTwice()), c.expected) << c.name << " of " << c.args[0]->AsString();
  }
}

// Every character of the mapped blocks against the one-letter case partners of Unicode
// (reference/case_mapping.py).
TEST(StringFunctions, CaseTablesMatchUnicode) {
  const struct {
    char32_t cp, upper, lower;
  } rows[] = {
#include "reference/case_mapping.inc"
  };
  const auto utf8 = [](char32_t c) {
    std::string s;
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else {
      s += static_cast<char>(0xC0 | (c >> 6));
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
  };
  for (const auto& r : rows) {
    EXPECT_EQ(UpperCase(utf8(r.cp)), utf8(r.upper)) << std::hex << "U+" << static_cast<int>(r.cp);
    EXPECT_EQ(LowerCase(utf8(r.cp)), utf8(r.lower)) << std::hex << "U+" << static_cast<int>(r.cp);
  }
}

// Strings holding ";", "#" and quotes reach the functions intact through the compiler.
TEST(StringFunctions, FromScripts) {
  const struct {
    const char* line;
    const char* text;
  } cases[] = {
      {R"z(formatcplx(1.23456-7.5i, "0.###;-0.###", "+0.###i;-0.###i"))z", "1.235-7.5i"},
      {R"z(formatcplx(-0.5+0.25i, "0.###;-0.###", "+0.###i;-0.###i"))z", "-0.5+0.25i"},
      {R"z(FormatSample(-5, "0.00;(0.00)"))z", "(5.00)"},
      {R"z(upper(trim("  grüße ")))z", "GRÜßE"},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    x.SetExpressions(c.line);
    const TValueRec* v = x.Evaluate();
    ASSERT_NE(v, nullptr) << c.line;
    EXPECT_EQ(v->StringValue(), c.text) << c.line;
  }
}

TEST(StringFunctions, UnsupportedTypes) {
  const struct {
    const char* name;
    std::vector<Val> args;
    std::string message;
  } cases[] = {
      {"inttostr", Args(Dbl(1)), "Unsupported value types: inttostr ( double )"},
      {"sampletostr", Args(Str("1")), "Unsupported value types: sampletostr ( string )"},
      {"CplxToStr", Args(Vec({1})), "Unsupported value types: CplxToStr ( vector )"},
      {"formatsample", Args(Cplx(1, 1), Str("0")),
       "Unsupported value types: formatsample ( complex, string )"},
      {"formatsample", Args(Dbl(1), Int(0)), "Unsupported value types: formatsample ( double, integer )"},
      {"formatcplx", Args(Dbl(1), Str(""), Str("")),
       "Unsupported value types: formatcplx ( double, string, string )"},
      {"upper", Args(Int(1)), "Unsupported value types: upper ( integer )"},
      {"lower", Args(Bool(true)), "Unsupported value types: lower ( bool )"},
      {"trim", Args(Range({1, 2})), "Unsupported value types: trim ( range )"},
      {"replacestr", Args(Str("a"), Str("a"), Int(1)),
       "Unsupported value types: replacestr ( string, string, integer )"},
      {"replacetext", Args(Dbl(1), Str("a"), Str("b")),
       "Unsupported value types: replacetext ( double, string, string )"},
      {"pos", Args(Str("a"), Int(1)), "Unsupported value types: pos ( string, integer )"},
      {"pos", Args(Str("a"), Str("a"), Dbl(1)), "Unsupported value types: pos ( string, string, double )"},
      {"comparestr", Args(Int(1), Str("a")), "Unsupported value types: comparestr ( integer, string )"},
      {"comparetext", Args(Str("a"), Cplx(0, 1)), "Unsupported value types: comparetext ( string, complex )"},
      {"upper", Args(Undef()), UnknownExprWord},
  };
  for (const auto& c : cases) {
    NodeRunner run(Functions::Get().Word(c.name), Raw(c.args));
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message);
    EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << c.message;
  }
}

}  // namespace
}  // namespace zel::test
