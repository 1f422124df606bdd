// libFuzzer target for the binary readers: the first byte picks the value blob, the context stream or the
// workspace stream, the rest is the stream. Read errors are expected; crashes, sanitizer reports, hangs
// and huge allocations are not. What loads is saved again, which must not fail.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

#include "core/nubra.h"
#include "lang/words/workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool limited = [] {
    zel::SetMaxObjectBytes(64 << 20);
    return true;
  }();
  (void)limited;
  if (size < 1) return 0;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  std::ostringstream out;
  try {
    switch (data[0] % 3) {
      case 0: {
        zel::TValueRec v;
        v.ReadBinData(in);
        v.WriteBinData(out);
        break;
      }
      case 1: {
        zel::TExprContext c;
        c.LoadFromStream(in);
        c.SaveToStream(out);
        break;
      }
      default: {
        zel::TExprWorkspace w;
        w.LoadFromStream(in);
        w.SaveToStream(out);
        break;
      }
    }
  } catch (const std::exception&) {
  }
  return 0;
}
