// Delimited text (CSV) of vectors and matrices, read from and written to one buffer in one pass.
//
// Reading: lines end at LF (a CR before it is dropped); lines holding only blanks are skipped; a UTF-8
// byte-order mark at the start is skipped. Fields are split at each occurrence of the delimiter, except
// that a delimiter of one blank or one tab splits at every run of blanks and tabs (aligned text). Blanks
// around a field are ignored. A field in double quotes may hold the delimiter; "" inside it is one quote.
// Every line must hold as many fields as the first. An empty field reads as NaN in a real matrix and is
// an error in an integer matrix. Errors raise ENubraException naming the line (counted from 1) and the
// field (counted from 1).
#pragma once

#include <string>
#include <string_view>

#include "core/nubra.h"

namespace zel {

// The kind of integer data CsvParseInt accepts: the signed or unsigned width its values must fit, or
// booleans (any integer, true or false; non-zero integers and "true" read as 1).
enum class TCsvIntKind { Int8, Int16, Int32, UInt8, UInt16, Bool };

// Parses the text into a real matrix; the matrix becomes complex when a field holds an imaginary part
// ("1.5-2i"). Numbers are read in full double precision ("1e-3", "-.5", "NAN", "INF").
void CsvParseReal(std::string_view text, const std::string& delimiter, TZel& dst);
// Parses the text into an integer matrix of precision `p`; values outside the kind's range raise.
void CsvParseInt(std::string_view text, const std::string& delimiter, TCsvIntKind kind, TIntPrecision p,
                 TZelInt& dst);

// The text of a vector (one value per line) or a matrix (one row per line, `delimiter` between columns),
// every line ending in LF. Reals are written in their shortest form that reads back to the same double,
// complex values as "re+imi", NaN and infinities as NAN, INF and -INF.
std::string CsvFormat(const TNubraVec& values, const std::string& delimiter);
std::string CsvFormat(const TNubraInt& values, const std::string& delimiter);

}  // namespace zel
