// Number text formats of the numeric core: the one place that decides how numbers look as text and how
// text becomes numbers. docs/numbers.md describes each format.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// Shortest text with up to `precision` significant digits ("%.15g" style): "3", "0.1", "1e+20".
// NaN is "NAN", infinities "INF" and "-INF".
std::string SampleToStr(double x, int precision = 15);

// Complex text: real part, sign, imaginary magnitude, "i": "1+2i", "1-2i", "0+1i". `width` > 0 pads the
// result on the left to that many characters; `precision` is the significant digits of each part.
std::string CplxToStr(TCplx z, int width = 0, int precision = 15);

// Formats x by a number picture. Sections "pos;neg;zero" (the negative section prints without a sign),
// "0" a digit always shown, "#" a digit shown when significant, "." the decimal point, "," thousands
// grouping, "E+00"/"E-00"/"e+00"/"e-00" an exponent, quoted text ('..' or "..") and any other character
// literal. An empty picture gives SampleToStr(x).
std::string FormatSample(double x, const std::string& format);
// The real part by reFormat, then the imaginary part by imFormat, which writes its own sign and "i" (by
// its sections: "+0.###i;-0.###i"); nothing is added between or after them. An empty imFormat (and a NaN
// or infinite imaginary part, which no picture shows) writes the imaginary part as CplxToStr does.
std::string FormatCplx(TCplx z, const std::string& reFormat, const std::string& imFormat);

// Parses a real number ("3", "-2.5e-3", "NAN", "INF", "-INF"); surrounding blanks are ignored. Anything
// else raises ENubraException naming the text.
double StrToSample(const std::string& s);
double StrToDouble(const std::string& s);
float StrToSingle(const std::string& s);
// Parses "3", "-2.5e-3", "2i", "i", "-i", "1+2i", "1 - 2.5i", "2.5e-3-1e2i". Anything else raises.
TCplx StrToCplx(const std::string& s);

// "prInt32", "prInt16", "prUInt8".
std::string IntPrecisionToStr(TIntPrecision p);

// Strings hold UTF-8. A user counts characters (code points), not bytes: "héllo" has 5. Every byte that
// is not a UTF-8 continuation byte starts a character.
int CharCount(std::string_view utf8);
// The byte offset at which character `index` starts (the byte length for index == CharCount); -1 when
// index is negative or beyond the end.
std::ptrdiff_t CharOffset(std::string_view utf8, int index);

}  // namespace zel
