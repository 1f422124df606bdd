// Random numbers: random() uniform in [-1, 1), randomg() and randg(a, b) standard normal. They are
// varying words, so constant folding never evaluates them while a script compiles. The numbers come from
// the calling thread's generator (core/random.h); a host makes a run reproducible with SetRandomSeed.
#include "core/random.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

// random(): 2r - 1 with r uniform in [0, 1).
void _Random(TExprRec& e) {
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(RandomUniform() * 2 - 1);
}

// randomg() and randg(a, b): one standard normal value; randg's arguments are evaluated and not used.
void _RandomG(TExprRec& e) {
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(RandomGauss());
}

constexpr TFunctionEntry kRandom[] = {
    {"random", "Random", _Random, 0, "random(): random values from range -1..1", nullptr, 0, true},
    {"randomg", "RandomG", _RandomG, 0,
     "randomg(): random value with Gaussian distribution with standard params - Mean = 0, StdDev = 1",
     nullptr, 0, true},
    {"randg", "RandG", _RandomG, 2,
     "randg(): random value with Gaussian distribution with standard params - Mean = 0, StdDev = 1", nullptr,
     0, true},
};

}  // namespace

void RegisterRandomFunctions(TWordList& words) { RegisterFunctions(words, kRandom); }

}  // namespace zel
