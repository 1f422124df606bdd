// libFuzzer target: any text is compiled and run as a script, line by line or (odd sizes) through the run
// loop. Errors are expected; crashes, sanitizer reports and hangs are not. Runs are bounded by a step
// budget so endless loops end.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "core/nubra.h"
#include "script/expression.h"

namespace {

constexpr int kMaxSteps = 2000;

int ElementCount(const zel::TValueRec& v) {
  if (v.VectorField()) return v.VectorField()->Length();
  if (v.MatrixField()) return v.MatrixField()->Length();
  if (v.IntVectorField()) return v.IntVectorField()->Length();
  if (v.IntMatrixField()) return v.IntMatrixField()->Length();
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zel::TZelExpression* expr = [] {
    zel::SetMaxObjectBytes(64 << 20);  // a script asking for more gets an error, not the fuzzer's OOM
    auto* e = new zel::TZelExpression;
    e->SetFileAccess(false);  // fuzzed scripts must not create or delete files
    return e;
  }();
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    expr->SetExpressions(text);
    expr->Compile();
    if (size % 2) {
      // The run loop with its budget: loops tuned after their first pass run their own passes.
      expr->SetMaxSteps(kMaxSteps);
      expr->EvaluateRun(0);
    } else {
      expr->SetMaxSteps(0);
      int line = 0;
      for (int step = 0; step < kMaxSteps && line >= 0 && line < expr->ExprCount(); ++step)
        line = expr->EvaluateStep(line);
    }
    for (int i = 0; i < expr->ExprCount(); ++i) {
      const zel::TValueRec* v = expr->ExprResult(i);
      // Printing is checked on small values; printing millions of elements only costs time.
      if (v && ElementCount(*v) <= 4096) {
        std::vector<std::string> lines;
        expr->VarPrint(*v, "x", lines);
      }
    }
  } catch (const std::exception&) {
  }
  expr->ClearAll();
  return 0;
}
