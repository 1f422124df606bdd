// Number text formats: printing, pictures, strict parsing, and the text form of vectors and matrices.

#include "core/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"

namespace zel::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

// The message of the ENubraException `f` raises, or "" when it raises none.
template <class F>
std::string RaisedMessage(F f) {
  try {
    f();
  } catch (const ENubraException& e) {
    return e.what();
  }
  return "";
}

TEST(SampleToStr, PrintsFifteenDigitsAndReadsBack) {
  // clang-format off
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {0, "0"}, {-0.0, "0"}, {0.1, "0.1"}, {-2.25, "-2.25"}, {1.0 / 3, "0.333333333333333"},
      {123456789012345, "123456789012345"}, {1234567890123456, "1.23456789012346e+15"}, {1e20, "1e+20"},
      {1e-300, "1e-300"}, {1e300, "1e+300"}, {0.0001, "0.0001"}, {0.00001, "1e-05"},
      {kDenormMin, "4.94065645841247e-324"}, {kMax, "1.79769313486232e+308"}, {kNaN, "NAN"}, {kInf, "INF"},
      {-kInf, "-INF"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(SampleToStr(c.x), c.text) << c.x;
  EXPECT_EQ(SampleToStr(M_PI, 3), "3.14");
  EXPECT_EQ(SampleToStr(M_PI, 17), "3.1415926535897931");

  // Values nearest to a decimal of at most 15 digits, and denormals, come back exactly.
  const double exact[] = {0.1,    1e-300, 1e300, 123456789012345, -0.0,          kDenormMin, 2.5e-320,
                          1e-310, -7.5,   0.3,   299792458,       6.02214076e23, -kInf};
  for (double x : exact) EXPECT_EQ(StrToSample(SampleToStr(x)), x) << SampleToStr(x);
  // Others come back to 15 significant digits and print the same again; DBL_MAX must not overflow.
  const double close[] = {1.0 / 3, M_PI, 0.1 + 0.2, kMax, -kMax, std::numeric_limits<double>::min()};
  for (double x : close) {
    const double y = StrToSample(SampleToStr(x));
    EXPECT_NEAR(y, x, 5e-15 * std::fabs(x)) << SampleToStr(x);
    EXPECT_EQ(SampleToStr(y), SampleToStr(x));
  }
}

TEST(StrToSample, AcceptsNumbersNanAndInf) {
  const struct {
    const char* text;
    double x;
  } cases[] = {
      {"3", 3},     {" -2.5e-3\t", -2.5e-3}, {"+4", 4},     {"5.", 5},      {".5", 0.5},     {"007", 7},
      {"1E5", 1e5}, {"1e+05", 1e5},          {"INF", kInf}, {"+inf", kInf}, {"-Inf", -kInf}, {"1e-400", 0}};
  for (const auto& c : cases) EXPECT_EQ(StrToSample(c.text), c.x) << c.text;
  EXPECT_TRUE(std::isnan(StrToSample("nan")));
  EXPECT_EQ(StrToSingle("0.1"), 0.1f);
  EXPECT_EQ(StrToSingle("3.40282346638529e+38"), std::numeric_limits<float>::max());
}

TEST(StrToSample, RejectsAnythingElse) {
  const char* invalid[] = {"abc", "", "1,5", "0x10", "- 2", "1e", "1e+", "+-1", "1 2", "infinity", "2i"};
  for (const char* text : invalid)
    EXPECT_EQ(RaisedMessage([&] { StrToSample(text); }),
              "\"" + std::string(text) + "\" is not a valid number");
  EXPECT_EQ(RaisedMessage([] { StrToSample("1.8e308"); }), "\"1.8e308\" is out of the range of a double");
  EXPECT_EQ(RaisedMessage([] { StrToSingle("1e39"); }), "\"1e39\" is out of the range of a single");
  // A long text is cut in the message.
  EXPECT_EQ(RaisedMessage([] { StrToSample(std::string(100, '7') + "x"); }),
            "\"" + std::string(40, '7') + "...\" is not a valid number");
}

TEST(CplxText, PrintsAndReadsBack) {
  const struct {
    TCplx z;
    const char* text;
  } cases[] = {{{1, 2}, "1+2i"},
               {{1, -2}, "1-2i"},
               {{0, 1}, "0+1i"},
               {{-0.5, 0}, "-0.5+0i"},
               {{1e-20, -3e20}, "1e-20-3e+20i"},
               {{kInf, -kInf}, "INF-INFi"}};
  for (const auto& c : cases) {
    EXPECT_EQ(CplxToStr(c.z), c.text);
    EXPECT_EQ(CplxToStr(StrToCplx(c.text)), c.text);
  }
  EXPECT_EQ(CplxToStr({kNaN, kNaN}), "NAN+NANi");
  EXPECT_EQ(CplxToStr({1, -2}, 7), "   1-2i");
  EXPECT_EQ(CplxToStr({M_PI, -M_E}, 0, 3), "3.14-2.72i");
}

TEST(StrToCplx, AcceptedAndRejectedForms) {
  // clang-format off
  const struct {
    const char* text;
    TCplx z;
  } cases[] = {
      {"3", {3, 0}}, {"-2.5e-3", {-2.5e-3, 0}}, {"2i", {0, 2}}, {"i", {0, 1}}, {"-i", {0, -1}}, {"+i", {0, 1}},
      {"1+2i", {1, 2}}, {"1 - 2.5i", {1, -2.5}}, {"  1  +  i ", {1, 1}}, {"2.5e-3-1e2i", {2.5e-3, -100}},
      {"1e+5+3i", {1e5, 3}}, {"1E-5-1E+2i", {1e-5, -100}}, {"-1e-5-i", {-1e-5, -1}},
      {"INF-infi", {kInf, -kInf}}, {".5+.25i", {0.5, 0.25}}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(StrToCplx(c.text), c.z) << c.text;

  const char* bad[] = {"",   "1j",    "2j",   "1+2", "2i+1", "1+-2i", "1+2 i", "- 2i", "1ei",
                       "ii", "1+i+i", "1 2i", "i2",  "1e+i", "abc",   "+",     "1+",   "infinity"};
  for (const char* text : bad)
    EXPECT_EQ(RaisedMessage([&] { StrToCplx(text); }),
              "\"" + std::string(text) + "\" is not a valid complex number");
  EXPECT_EQ(RaisedMessage([] { StrToCplx("1+1e999i"); }), "\"1+1e999i\" is out of the range of a double");
}

TEST(Utf8, CharactersNotBytes) {
  const struct {
    const char* text;
    int count;
    std::ptrdiff_t offsetOf2;  // byte offset of character 2
  } cases[] = {{"", 0, -1},
               {"ab", 2, 2},
               {"h\xC3\xA9llo", 5, 3},
               {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 3, 6},
               {"a\xF0\x9F\x98\x80"
                "b",
                3, 5}};
  for (const auto& c : cases) {
    EXPECT_EQ(CharCount(c.text), c.count) << c.text;
    EXPECT_EQ(CharOffset(c.text, 2), c.offsetOf2) << c.text;
    EXPECT_EQ(CharOffset(c.text, c.count), static_cast<std::ptrdiff_t>(std::string(c.text).size()));
  }
  EXPECT_EQ(CharOffset("abc", -1), -1);
  EXPECT_EQ(CharOffset("abc", 4), -1);
}

TEST(FormatSample, Pictures) {
  // clang-format off
  const struct {
    double x;
    const char* picture;
    const char* text;
  } cases[] = {
      // digits, optional digits, rounding half away from zero (from the 15 digits SampleToStr shows)
      {1.5, "0", "2"}, {-2.5, "0", "-3"}, {0.125, "0.00", "0.13"}, {1.005, "0.00", "1.01"},
      {9.96, "0.0", "10.0"}, {5, "0000", "0005"}, {5, "#.##", "5"}, {5.1, "#.##", "5.1"}, {0.5, "#.##", ".5"},
      {0.5, "0.0#", "0.5"}, {0, "#", ""}, {12.345, ".00", "12.35"}, {1234, "00", "1234"},
      // thousands
      {1234567.891, "#,##0.00", "1,234,567.89"}, {-1234567, "#,##0", "-1,234,567"}, {999.9, "#,##0", "1,000"},
      {123, "#,##0", "123"}, {1234567, "0,000,000,000", "0,001,234,567"}, {1234, "0.00,", "1234.00,"},
      {1e20, "#,##0", "100,000,000,000,000,000,000"},
      // exponents
      {12345, "0.00E+00", "1.23E+04"}, {99999, "0.00E+00", "1.00E+05"}, {0.00012, "0.00E-00", "1.20E-04"},
      {12345, "0.00e-0", "1.23e4"}, {12345, "00.0E+0", "12.3E+3"}, {12345, ".00E+00", ".12E+05"},
      {0, "0.0E+00", "0.0E+00"}, {-1e-100, "0.0E+0", "-1.0E-100"}, {5, "0E", "5E"},
      // literals, quoting, sections
      {3, "'x=' 0 \"units\"", "x= 3 units"}, {-5, "$#,##0.00", "-$5.00"}, {1234, "00-00", "12-34"},
      {1.5, "0.0 'E+00'", "1.5 E+00"}, {-5, "0.00;(0.00)", "(5.00)"}, {-1234.5, "#,##0;'neg' #,##0", "neg 1,235"},
      {0, "0;-0;'zero'", "zero"}, {0.004, "0.00;-0.00;'~0'", "~0"}, {-0.001, "0.00;(0.00)", "0.00"},
      {-0.001, "0.00", "0.00"}, {-5, "0;", "-5"}, {0, "0;(0);", "0"}, {-5, ";(0)", "(5)"}, {5, ";(0)", "5"},
      {2, "'a;b' 0;x", "a;b 2"},
      // NaN, infinities and the empty picture
      {kNaN, "0.00", "NAN"}, {-kInf, "0;(0)", "-INF"}, {1.0 / 3, "", "0.333333333333333"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(FormatSample(c.x, c.picture), c.text) << c.x << " by " << c.picture;
}

// The imaginary picture writes its own sign and "i"; an empty one writes them as CplxToStr does.
TEST(FormatCplx, EachPartByItsPicture) {
  const char* const kHelpRe = "0.###;-0.###";  // the pictures formatcplx's help text suggests
  const char* const kHelpIm = "+0.###i;-0.###i";
  const struct {
    TCplx z;
    const char *re, *im, *text;
  } cases[] = {
      {{1.23456, -7.5}, kHelpRe, kHelpIm, "1.235-7.5i"},
      {{-0.5, 0.25}, kHelpRe, kHelpIm, "-0.5+0.25i"},
      {{2, 0}, kHelpRe, kHelpIm, "2+0i"},
      {{-0.0001, -0.0004}, kHelpRe, kHelpIm, "0+0i"},  // parts that show as zero take the positive section
      {{1.234, -5.678}, "0.00", "+0.0i;-0.0i", "1.23-5.7i"},
      {{-1, 2}, "0.00", "+0.00i;-0.00i", "-1.00+2.00i"},
      {{1, 2}, "0", "+0.0 'j';-0.0 'j'", "1+2.0 j"},  // nothing added: the picture's own unit
      {{1, -2}, "0", "0.0", "1-2.0"},                 // a one-section picture: minus only, no "i"
      {{1, -2.5}, "", "", "1-2.5i"},                  // empty pictures: CplxToStr's text
      {{1, 1.0 / 3}, "0.0", "", "1.0+0.333333333333333i"},
      {{1, -kInf}, "0", "+0i;-0i", "1-INFi"},
      {{kNaN, kNaN}, "0", "+0i;-0i", "NAN+NANi"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCplx(c.z, c.re, c.im), c.text) << c.re << " / " << c.im;
}

// ---- Vectors and matrices as text ----

using Lines = std::vector<std::string>;

template <class M>
std::pair<int, int> Shape(const M& m) {
  return {m.Rows(), m.Cols()};
}

TEST(ValuesToStrings, Layouts) {
  TVec v(3);
  v.Values(0) = 1.5;
  v.Values(1) = -10;
  v.Values(2) = 1e-3;
  TZel m(2, 3);
  const double mv[] = {1, 2.5, -3, 100, kNaN, 1e20};
  for (int i = 0; i < 6; ++i) m.Values(i) = mv[i];
  TZel cm(2, 1, true);
  cm.CValues(0) = {1, -2};
  cm.CValues(1) = {0, 0.5};
  TZelInt im(2, 2, prInt16);
  const int iv[] = {-7, 300, 12, 0};
  for (int i = 0; i < 4; ++i) im.Set(i, iv[i]);
  TZel empty;

  const struct {
    const TNubra* obj;
    const char* delimiter;
    bool align, headers;
    Lines lines;
  } cases[] = {
      {&v, "\t", false, false, {"1.5", "-10", "0.001"}},
      {&v, " ", true, false, {"  1.5", "  -10", "0.001"}},
      {&v, "\t", false, true, {"[0]\t1.5", "[1]\t-10", "[2]\t0.001"}},
      {&m, ",", false, false, {"1,2.5,-3", "100,NAN,1e+20"}},
      {&m, " ", true, false, {"  1 2.5    -3", "100 NAN 1e+20"}},
      {&m, "\t", false, true, {"\t[0]\t[1]\t[2]", "[0]\t1\t2.5\t-3", "[1]\t100\tNAN\t1e+20"}},
      {&m, "  ", true, true, {"     [0]  [1]    [2]", "[0]    1  2.5     -3", "[1]  100  NAN  1e+20"}},
      {&cm, " ", true, false, {"  1-2i", "0+0.5i"}},
      {&im, "\t", false, false, {"-7\t300", "12\t0"}},
      {&im, " ", true, true, {"    [0] [1]", "[0]  -7 300", "[1]  12   0"}},
      {&empty, "\t", true, true, {}}};
  for (const auto& c : cases) {
    Lines out = {"stale"};
    c.obj->ValuesToStrings(out, c.delimiter, c.align, c.headers);
    EXPECT_EQ(out, c.lines) << "\"" << c.delimiter << "\" align " << c.align << " headers " << c.headers;
  }
}

TEST(StringsToValues, VectorsAndMatrices) {
  TVec v;
  v.StringsToValues({"1\t2", "", "  3 \t -4.5  ", "\r", "1e3\r"});
  ASSERT_EQ(v.Length(), 5);
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(v.Values(3), -4.5);
  EXPECT_EQ(v.Values(4), 1000);
  // One value with an imaginary part makes the whole vector complex, even when that part is zero.
  v.StringsToValues({"1;2+0i", "-i"}, ";");
  ASSERT_EQ(v.Length(), 3);
  ASSERT_TRUE(v.Complex());
  EXPECT_EQ(v.CValues(0), TCplx(1, 0));
  EXPECT_EQ(v.CValues(2), TCplx(0, -1));

  TZel m;
  m.StringsToValues({"1, 2 ,3", "", "4,5,6"}, ",");
  ASSERT_EQ(Shape(m), std::make_pair(2, 3));
  EXPECT_EQ(m.Values(1, 2), 6);
  // Runs of blanks are one separator, so aligned text reads back.
  m.StringsToValues({"   1   2.5", "-10 1e-3"}, " ");
  ASSERT_EQ(Shape(m), std::make_pair(2, 2));
  EXPECT_EQ(m.Values(1, 1), 1e-3);
  m.StringsToValues({"1\t2-1i", "3i\t4"});
  ASSERT_TRUE(m.Complex());
  ASSERT_EQ(Shape(m), std::make_pair(2, 2));
  EXPECT_EQ(m.CValues(1, 0), TCplx(0, 3));

  // Integers keep the object's precision.
  TVecInt iv(0, prUInt8);
  iv.StringsToValues({"1, +2,3", "255"}, ",");
  ASSERT_EQ(iv.Length(), 4);
  EXPECT_EQ(iv.IntPrecision(), prUInt8);
  EXPECT_EQ(iv.Get(3), 255);
  TZelInt im(0, 0, prInt16);
  im.StringsToValues({"1 -2", "30000 4"}, " ");
  ASSERT_EQ(Shape(im), std::make_pair(2, 2));
  EXPECT_EQ(im.IntPrecision(), prInt16);
  EXPECT_EQ(im.Get(1, 0), 30000);
}

TEST(StringsToValues, RoundTripsValuesToStrings) {
  TZel m(3, 2, true);
  const TCplx vals[] = {{0.1, -1e-300}, {kMax, 0}, {-0.0, kInf}, {123456789012345, 2.5}, {1, 1}, {0, -1}};
  for (int i = 0; i < 6; ++i) m.CValues(i) = vals[i];
  for (const char* delimiter : {"\t", ",", " "}) {
    Lines lines;
    m.ValuesToStrings(lines, delimiter, true);
    TZel back;
    back.StringsToValues(lines, delimiter);
    ASSERT_EQ(Shape(back), std::make_pair(3, 2));
    ASSERT_TRUE(back.Complex());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(back.CValues(i), vals[i]) << delimiter << " " << i;
  }
}

TEST(StringsToValues, Errors) {
  TZel m;
  TVec v;
  TZelInt im;
  const std::string ragged =
      "holds 1 value where line 1 holds 2: every row of a matrix needs the same number";
  const struct {
    TNubra* obj;
    Lines lines;
    const char* delimiter;
    std::string message;
  } cases[] = {{&m, {"1 2", "", "3"}, " ", "Line 3 " + ragged},
               {&im, {"1 2", "3"}, " ", "Line 2 " + ragged},
               {&m, {"1,2", "3,x"}, ",", "Line 2: \"x\" is not a valid complex number"},
               {&v, {"1,,2"}, ",", "Line 1: \"\" is not a valid complex number"},
               {&v, {"1", "2j"}, "\t", "Line 2: \"2j\" is not a valid complex number"},
               {&im, {"1 2.5"}, " ", "Line 1: \"2.5\" is not a valid integer"},
               {&im, {"1 +-2"}, " ", "Line 1: \"+-2\" is not a valid integer"},
               {&im, {"3000000000"}, " ", "Line 1: \"3000000000\" is out of the range of a 32-bit integer"}};
  for (const auto& c : cases)
    EXPECT_EQ(RaisedMessage([&] { c.obj->StringsToValues(c.lines, c.delimiter); }), c.message);
}

}  // namespace
}  // namespace zel::test
