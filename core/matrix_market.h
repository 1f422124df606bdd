// Matrix Market exchange files: the dense ("array") form other numeric tools read. Columns are written
// one after the other (the format is column-major), real or complex, with 17 significant digits so a
// reader gets the same doubles back.
#pragma once

#include <iosfwd>
#include <string>

#include "core/nubra.h"

namespace zel {

// Writes `m` as "%%MatrixMarket matrix array real|complex general". A vector is written as one column.
void SaveToMatrixMarketStream(const TNubraVec& m, std::ostream& s);
// The same into a file; raises ENubraException when the file cannot be written.
void SaveToMatrixMarketFile(const TNubraVec& m, const std::string& fileName);

}  // namespace zel
