// zel: the command-line runner. Until the compiler lands it shows values built through the value API,
// each printed by its AsString text.
#include <exception>
#include <iostream>

#include "core/nubra.h"
#include "parse/valuerec.h"

using namespace zel;

namespace {

void Show(const char* name, const TValueRec& v) {
  std::cout << name << "(" << ValTypeName(v.ValueType()) << ") = " << v.AsString() << "\n";
}

}  // namespace

int main() {
  try {
    TValueRec d;
    d.DefineDouble();
    d.SetDoubleValue(0.1 + 0.2);
    Show("d", d);

    TValueRec i;
    i.DefineInteger();
    i.SetIntegerValue(9007199254740993);
    Show("i", i);

    TValueRec z;
    z.DefineComplex();
    z.SetComplexValue(TCplx(1, -2.5));
    Show("z", z);

    TValueRec r;  // the range 1:2:9, expanded to a vector on first use
    r.DefineRange();
    r.Range() = {1, 2, 9};
    r.VectorValue();
    Show("r", r);

    TValueRec m;
    m.DefineMatrix();
    m.MatrixValue().Size(2, 3);
    m.MatrixValue().Ramp(1, 1);
    Show("m", m);

    TValueRec b;
    b.DefineBool();
    b.SetBoolValue(true);
    Show("b", b);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}
