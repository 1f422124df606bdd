// Reading a large numeric CSV file (about 20 MB: 200 000 rows of 10 columns, generated once into a
// temporary file): zel's `csvread(path)` against a plain C++ loop that reads the file into memory and
// walks it with strtod. Both parse every number; zel also checks the shape and builds the matrix.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kRows = 200000;
constexpr int kCols = 10;

// The path of the generated file, written on first use and removed at exit.
const std::string& CsvFile() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "zel_bench_20mb.csv").string();
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    char line[32];
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) {
        std::snprintf(line, sizeof line, "%.9g%c", (r * 7919.0 + c * 104729.0) / 1237.0 - 5000.0,
                      c + 1 < kCols ? ',' : '\n');
        out << line;
      }
    return p;
  }();
  // Registered after `path` is complete, so the removal runs before `path` is destroyed.
  static const bool removed = (std::atexit([] { std::filesystem::remove(CsvFile()); }), true);
  (void)removed;
  return path;
}

void BM_CsvZel(benchmark::State& state) {
  TZelExpression e;
  e.SetExpressions("m = csvread(\"" + CsvFile() + "\")");
  e.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(e.Evaluate()->MatrixValue().PValues()[0]);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(CsvFile())));
}

// The file read into a string and every number parsed with strtod into a vector.
void BM_CsvStrtod(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(CsvFile(), std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(kRows) * kCols);
    const char* p = text.c_str();
    char* end = nullptr;
    while (*p) {
      values.push_back(std::strtod(p, &end));
      p = *end ? end + 1 : end;  // skip the comma or line break
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(CsvFile())));
}

BENCHMARK(BM_CsvZel)->Name("csv/zel/csvread_20MB")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvStrtod)->Name("csv/loop/strtod_20MB")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel::bench
