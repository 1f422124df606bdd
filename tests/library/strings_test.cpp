// The string functions: results for every accepted argument type (non-ASCII text included), the
// letter-case tables against Unicode's, scripts that pass pictures and strings through the compiler, and
// each function's unsupported-types message.
#include <gtest/gtest.h>

#include "core/textcase.h"
#include "library_helper.h"

namespace zel::test {
namespace {

TEST(StringFunctions, Results) {
  CheckFunctions({
      // numbers as text
      {"inttostr", {"-42"}, "string -42"},
      {"inttostr", {"-9223372036854775808"}, "string -9223372036854775808"},
      {"sampletostr", {"0.1"}, "string 0.1"},
      {"sampletostr", {"3"}, "string 3"},
      {"sampletostr", {"1-2i"}, "string 1-2i"},
      {"cplxtostr", {"0.5+0i"}, "string 0.5+0i"},
      {"cplxtostr", {"0.3333333333333333"}, "string 0.333333333333333"},
      {"formatsample", {"5", "'0000'"}, "string 0005"},
      {"formatcplx", {"1.23456-7.5i", "'0.###;-0.###'", "'+0.###i;-0.###i'"}, "string 1.235-7.5i"},
      // letter case: Latin, Greek, Cyrillic; other characters and stray bytes unchanged
      {"upper", {"'héllo wörld ÿ ĳ ŉ straße µ'"}, "string HÉLLO WÖRLD Ÿ Ĳ ŉ STRAßE Μ"},
      {"upper", {"'日本 😀 x \xC3 a\xFF'"}, "string 日本 😀 X \xC3 A\xFF"},
      {"lower", {"'ÀÉÎÕÜÇÑ ŸŁŽ İ'"}, "string àéîõüçñ ÿłž İ"},
      {"lower", {"'ЁЖИК ΆΣΤΡΟ'"}, "string ёжик άστρο"},
      // trimming: blanks and control characters, not a no-break space
      {"trim", {"' \t a b \r\n'"}, "string a b"},
      {"trim", {"'\u00A0x'"}, "string \u00A0x"},
      {"trim", {"'   '"}, "string"},
      // replacing
      {"replacestr", {"'a.b.c'", "'.'", "'--'"}, "string a--b--c"},
      {"replacestr", {"'aaa'", "'aa'", "'b'"}, "string ba"},
      {"replacestr", {"'Abc abc'", "'abc'", "'x'"}, "string Abc x"},
      {"replacestr", {"'abc'", "''", "'x'"}, "string abc"},
      {"replacetext", {"'Abc ABC abc'", "'aBc'", "'x'"}, "string x x x"},
      {"replacetext", {"'Ärger ÄRGER ärger'", "'är'", "'Ö'"}, "string Öger ÖGER Öger"},
      {"replacetext", {"'ΣΟΦΟΣ σοφος σοφός'", "'σοφος'", "'-'"}, "string - - σοφός"},
      // positions count characters from 0; the offset counts from 1
      {"pos", {"'b'", "'abc'"}, "integer 1"},
      {"pos", {"'z'", "'abc'"}, "integer -1"},
      {"pos", {"'B'", "'abc'"}, "integer -1"},
      {"pos", {"''", "'abc'"}, "integer -1"},
      {"pos", {"'ö'", "'héllo wörld'"}, "integer 7"},
      {"pos", {"'a'", "'banana'", "1"}, "integer 1"},
      {"pos", {"'a'", "'banana'", "3"}, "integer 3"},
      {"pos", {"'a'", "'banana'", "6"}, "integer 5"},
      {"pos", {"'l'", "'héllo'", "4"}, "integer 3"},
      {"pos", {"'a'", "'banana'", "7"}, "integer -1"},
      {"pos", {"'a'", "'banana'", "0"}, "integer -1"},
      {"pos", {"'a'", "'banana'", "1099511627776"}, "integer -1"},
      // comparison: -1, 0, 1 by code points; comparetext folds letters
      {"comparestr", {"'abc'", "'abd'"}, "integer -1"},
      {"comparestr", {"'a'", "'A'"}, "integer 1"},
      {"comparestr", {"'é'", "'z'"}, "integer 1"},
      {"comparestr", {"'ab'", "'abc'"}, "integer -1"},
      {"comparetext", {"'ÉCOLE'", "'école'"}, "integer 0"},
      {"comparetext", {"'ΣΟΦΟΣ'", "'σοφος'"}, "integer 0"},
      {"comparetext", {"'a'", "'_'"}, "integer 1"},
      {"comparetext", {"'B'", "'a'"}, "integer 1"},
      {"comparetext", {"'Ä'", "'b'"}, "integer 1"},
      // refused argument types
      {"inttostr", {"1.0"}, "Unsupported value types: inttostr ( double )"},
      {"sampletostr", {"'1'"}, "Unsupported value types: sampletostr ( string )"},
      {"cplxtostr", {"[1]"}, "Unsupported value types: cplxtostr ( vector )"},
      {"formatsample", {"1+1i", "'0'"}, "Unsupported value types: formatsample ( complex, string )"},
      {"formatsample", {"1.0", "0"}, "Unsupported value types: formatsample ( double, integer )"},
      {"formatcplx", {"1.0", "''", "''"}, "Unsupported value types: formatcplx ( double, string, string )"},
      {"upper", {"1"}, "Unsupported value types: upper ( integer )"},
      {"lower", {"true"}, "Unsupported value types: lower ( bool )"},
      {"trim", {"1:2"}, "Unsupported value types: trim ( range )"},
      {"replacestr", {"'a'", "'a'", "1"}, "Unsupported value types: replacestr ( string, string, integer )"},
      {"replacetext",
       {"1.0", "'a'", "'b'"},
       "Unsupported value types: replacetext ( double, string, string )"},
      {"pos", {"'a'", "1"}, "Unsupported value types: pos ( string, integer )"},
      {"pos", {"'a'", "'a'", "1.0"}, "Unsupported value types: pos ( string, string, double )"},
      {"comparestr", {"1", "'a'"}, "Unsupported value types: comparestr ( integer, string )"},
      {"comparetext", {"'a'", "0+1i"}, "Unsupported value types: comparetext ( string, complex )"},
      {"upper", {"?"}, UnknownExprWord},
  });
}

// Every character of the mapped blocks against the one-letter case partners of Unicode
// (reference/case_mapping.py).
TEST(StringFunctions, CaseTablesMatchUnicode) {
  const struct {
    char32_t first, last;
    int step, upper, lower;
  } runs[] = {
#include "reference/case_mapping.inc"
  };
  const auto utf8 = [](char32_t c) {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    return std::string{static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
  };
  for (const auto& r : runs) {
    for (char32_t c = r.first; c <= r.last; c += r.step) {
      EXPECT_EQ(UpperCase(utf8(c)), utf8(c + r.upper)) << std::hex << "U+" << static_cast<int>(c);
      EXPECT_EQ(LowerCase(utf8(c)), utf8(c + r.lower)) << std::hex << "U+" << static_cast<int>(c);
    }
  }
}

// Strings holding ";", "#" and quotes reach the functions intact through the compiler.
TEST(StringFunctions, FromScripts) {
  EXPECT_EQ(Script(R"z(formatcplx(1.23456-7.5i, "0.###;-0.###", "+0.###i;-0.###i"))z"), "string 1.235-7.5i");
  EXPECT_EQ(Script(R"z(FormatSample(-5, "0.00;(0.00)"))z"), "string (5.00)");
  EXPECT_EQ(Script(R"z(upper(trim("  grüße ")))z"), "string GRÜßE");
}

}  // namespace
}  // namespace zel::test
