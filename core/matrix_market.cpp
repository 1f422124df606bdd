// Matrix Market writer (see matrix_market.h).
#include "core/matrix_market.h"

#include <cstdio>
#include <fstream>
#include <ostream>

#include "core/errors.h"

namespace zel {

// Header, size line, then the values column by column.
void SaveToMatrixMarketStream(const TNubraVec& m, std::ostream& s) {
  const int rows = m.IsMatrix() ? m.Rows() : m.Length();
  const int cols = m.IsMatrix() ? m.Cols() : 1;
  s << "%%MatrixMarket matrix array " << (m.Complex() ? "complex" : "real") << " general\n";
  s << rows << ' ' << cols << '\n';
  char buf[64];
  for (int c = 0; c < cols; ++c) {
    for (int r = 0; r < rows; ++r) {
      const int i = r * cols + c;
      if (m.Complex())
        std::snprintf(buf, sizeof buf, "%.17g %.17g\n", m.CValues(i).real(), m.CValues(i).imag());
      else
        std::snprintf(buf, sizeof buf, "%.17g\n", m.Values(i));
      s << buf;
    }
  }
}

// Opens the file and writes the stream form.
void SaveToMatrixMarketFile(const TNubraVec& m, const std::string& fileName) {
  std::ofstream out(fileName, std::ios::binary);
  if (!out) ERaise("Cannot create file: " + fileName);
  SaveToMatrixMarketStream(m, out);
  if (!out) ERaise("Cannot write file: " + fileName);
}

}  // namespace zel
