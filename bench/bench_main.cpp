// Benchmark entry: `zel_bench [--exprs=FILE] [google benchmark flags]`. FILE holds one expression per line
// ('#' starts a comment); each is measured in zel and muparser besides the built-in list.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>

#include "bench_common.h"

namespace zel::bench {
void RegisterScalarBenchmarks();
}

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--exprs=", 8) == 0) {
      std::ifstream in(argv[i] + 8);
      std::string line;
      while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') zel::bench::ScalarExpressions().push_back(line);
      }
    } else {
      rest.push_back(argv[i]);
    }
  }
  int n = static_cast<int>(rest.size());
  zel::bench::RegisterScalarBenchmarks();
  benchmark::Initialize(&n, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
