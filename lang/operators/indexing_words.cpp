// Registration of the indexing words (see indexing_words.h): one overload row per argument count.
#include "lang/operators/indexing_words.h"

#include "lang/operators/operators.h"
#include "lang/words/registration.h"

namespace zel {

namespace {

// clang-format off
constexpr TFunctionEntry kSelect[] = {
    {"select", nullptr, _Select1, 2, "select(vector, range): returns a view of vector from [Index1,...,Index2]"},
    {"select", nullptr, _Select2, 3, "select(matrix, range1,range2): returns a copy of submatrix defined with upper left and lower right edge."},
    {"select", nullptr, _Select3, 4, "select(matrix, range1,range2, param): returns a copy of submatrix defined with upper left and lower right edge. The param defines the destination type: \"integer\",\"double\",\"complex\",\"boolean\",\"string\"."},
};

constexpr TFunctionEntry kAssign[] = {
    {"assign", nullptr, _Assign3, 3, "assign(Dst, Range, Src): assign Src to Dst(Range)"},
    {"assign", nullptr, _assign4, 4, "assign(Dst, Range1, Range2, Src): assign Src to Dst(Range1, Range2)"},
};
// clang-format on

}  // namespace

void RegisterIndexingWords(TWordList& words, TExprWord*& selectWord, TExprWord*& assignWord) {
  selectWord = words[RegisterFunctions(words, kSelect)];
  assignWord = words[RegisterFunctions(words, kAssign)];
}

}  // namespace zel
