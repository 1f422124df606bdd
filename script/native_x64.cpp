// The x86-64 code generator of fused scalar trees (native.h), on xbyak. The code checks the guards,
// then computes the terms with SSE2 scalar instructions, which round exactly as the C++ routines the
// nodes run (compiled for the same x86-64 baseline, no contraction into fused multiply-adds): + - * /
// and the square root are single correctly rounded instructions, negation and modulus flip or clear
// the sign bit. Powers and other functions call the very routines the nodes call; a function that may
// raise is called through a trampoline that keeps the exception for the caller to rethrow, since an
// exception cannot unwind through generated code.
//
// Registers: xmm0 holds the value of the term being computed; a parent keeps its left operand while the
// right one is computed in xmm(1 + depth) (xmm1 .. xmm14), or in a stack slot when the right operand's
// code calls a function (calls do not preserve xmm registers) or the tree is deeper than the registers;
// xmm15 is scratch.
//
// Addresses: records are read and written relative to rdi, which holds a base address near them (the
// carrier, which a routine receives in rdi anyway), so each access is one instruction; a record farther
// than 2 GB from the base is reached through rax. A call clobbers rdi; the next access loads the base
// again. Constants (sign masks, 1, 2) sit in a literal pool after the code, read relative to rip.
#include "script/native.h"

#if defined(__x86_64__)

#include <xbyak/xbyak.h>
#include <xbyak/xbyak_util.h>

#include <bit>
#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "core/powrem.h"

namespace zel {

namespace {

// Calls a kernel that may raise: the first exception is kept and a NaN returned; the caller rethrows.
double CallKernel(double x, TKernelErrors* errors, double (*fn)(double)) noexcept {
  try {
    return fn(x);
  } catch (...) {
    if (!errors->raised) errors->first = std::current_exception();
    errors->raised = true;
    return 0.0;
  }
}

double CallPower(double x, double y) { return Power(x, y); }
double CallIntPower(double x, std::int64_t n) { return IntPower(x, n); }

constexpr int kHoldRegisters = 14;                           // xmm1 .. xmm14
constexpr int kIntHolds = 4;                                 // r8 .. r11, for integer trees
constexpr std::uint64_t kMagnitude = 0x7FFFFFFFFFFFFFFFull;  // clears the sign bit
// IntPower (core/powrem.cpp) multiplies out exponents up to 16; the code does the same products.
constexpr int kMaxInlinePower = 16;

// The exponent of a power term when it is a constant whole number the code multiplies out (0 to 16).
std::optional<int> ConstantExponent(const TScalarTerm& t) {
  if (t.child[1] >= 0 || !t.leaf[1] || !t.leaf[1]->IsConstant()) return std::nullopt;
  if (t.op.kind == TScalarOpKind::IntPow) {
    const std::int64_t n = *t.leaf[1]->IntegerField();
    if (n >= 0 && n <= kMaxInlinePower) return static_cast<int>(n);
  } else if (t.op.kind == TScalarOpKind::Power) {
    const double y = *t.leaf[1]->DoubleField();
    if (y >= 0 && y <= kMaxInlinePower && y == static_cast<double>(static_cast<int>(y)))
      return static_cast<int>(y);
  }
  return std::nullopt;
}

bool InlinePower(const TScalarTerm& t) { return ConstantExponent(t).has_value(); }

// roundsd (SSE4.1) rounds as floor, ceil, trunc and nearbyint do: NaNs, infinities and signed zeros
// pass through, and no precision exception is raised (bit 3 of the mode).
bool HasRoundInstruction() {
  static const bool has = Xbyak::util::Cpu().has(Xbyak::util::Cpu::tSSE41);
  return has;
}

bool IsRounding(TScalarOpKind k) {
  return k == TScalarOpKind::Floor || k == TScalarOpKind::Ceil || k == TScalarOpKind::Trunc ||
         k == TScalarOpKind::Round;
}

// A term that calls a function: powers not multiplied out, kernels, roundings without roundsd.
bool TermCalls(const TScalarTerm& t) {
  const TScalarOpKind k = t.op.kind;
  if (k == TScalarOpKind::Power || k == TScalarOpKind::IntPow) return !InlinePower(t);
  return k == TScalarOpKind::Call || (IsRounding(k) && !HasRoundInstruction());
}

class Generator : public Xbyak::CodeGenerator {
 public:
  // Generates into `buffer` (ordinary memory); the arena gets a copy of the finished code, which has no
  // address inside itself other than relative jumps.
  Generator(const TScalarTree& tree, TKernelErrors& errors, const TNativeTarget& target,
            std::vector<std::uint8_t>& buffer)
      : Xbyak::CodeGenerator(buffer.size(), buffer.data()), fErrors(errors), fTarget(target) {
    SetTree(tree);
  }

  // Makes `tree` the one Term compiles: the heights and calls of its terms.
  void SetTree(const TScalarTree& tree) {
    fTree = &tree;
    const size_t n = tree.terms.size();
    fCalls.assign(n, false);
    fDepth.assign(n, 0);
    fRaises = false;
    for (size_t i = 0; i < n; ++i) {
      const TScalarTerm& t = tree.terms[i];
      const TScalarOpKind k = t.op.kind;
      fRaises = fRaises || ((k == TScalarOpKind::Call || IsRounding(k)) && t.op.raises);
      bool calls = TermCalls(t);
      int depth = 0;
      for (int c : t.child)
        if (c >= 0) {
          calls = calls || fCalls[c];
          depth = std::max(depth, fDepth[c] + 1);
        }
      fCalls[i] = calls;
      fDepth[i] = depth;
    }
  }

  bool TreeCalls() const { return fCalls.back(); }
  int TreeHeight() const { return fDepth.back(); }

  // Emits a loop (CompileNativeLoop): int(), with `cache` giving the xmm register of every stored
  // variable, xmm14 the loop variable's double and rcx its integer, r9 and r10 the addresses of the
  // cancel flag and the budget. Every tree must be free of calls and lower than `holdLimit`.
  void EmitLoop(const TNativeLoop& loop, const std::unordered_map<const TValueRec*, int>& cache,
                int holdLimit) {
    fCache = &cache;
    fHoldLimit = holdLimit;
    // The trees make no calls, so the base stays in rdi for the whole loop.
    SetBase(loop.counter->TypeField(), false);
    Xbyak::Label fail, pass, pending, write;
    const auto guard = [&](const TValueRec* rec, TValueType type) {
      cmp(byte[At(rec->TypeField())], static_cast<std::uint8_t>(type));
      jne(fail, T_NEAR);
    };
    for (const TScalarTree* tree : loop.body)
      for (const TScalarGuard& g : tree->guards) guard(g.rec, g.type);
    guard(loop.counter, vtIntegerValue);
    guard(loop.result, vtBoolValue);
    // The stored variables into their registers (straight from memory: LoadLeaf would read the
    // registers), then the counter.
    for (const auto& [rec, r] : cache) {
      if (rec == loop.counter) continue;
      movsd(Xbyak::Xmm(r), qword[At(rec->DoubleField())]);
    }
    mov(rcx, qword[At(loop.counter->IntegerField())]);
    movsd(xmm14, qword[At(loop.counter->DoubleField())]);
    mov(r9, reinterpret_cast<std::uintptr_t>(loop.cancel));
    mov(r10, reinterpret_cast<std::uintptr_t>(loop.stepsLeft));
    L(pass);
    cmp(qword[r10], static_cast<std::uint32_t>(loop.lines));
    jb(pending, T_NEAR);
    cmp(byte[r9], 0);
    jne(pending, T_NEAR);
    sub(qword[r10], static_cast<std::uint32_t>(loop.lines));
    for (const TScalarTree* tree : loop.body) {
      SetTree(*tree);
      Term(static_cast<int>(tree->terms.size()) - 1, 0);
      movapd(Xbyak::Xmm(cache.at(tree->terms.back().leaf[0])), xmm0);
    }
    // The step: the integer and its double, as SetIntegerValue stores them; the test against the stop.
    add(rcx, static_cast<std::int32_t>(loop.step));
    pxor(xmm14, xmm14);
    cvtsi2sd(xmm14, rcx);
    mov(rax, loop.stop);
    cmp(rcx, rax);
    if (loop.step > 0) {
      jle(pass, T_NEAR);
    } else {
      jge(pass, T_NEAR);
    }
    xor_(edx, edx);  // the range has ended
    jmp(write);
    L(pending);
    mov(edx, 1);
    L(write);
    for (const auto& [rec, r] : cache) {
      if (rec == loop.counter) continue;
      movsd(qword[At(rec->DoubleField())], Xbyak::Xmm(r));
    }
    mov(qword[At(loop.counter->IntegerField())], rcx);
    movsd(qword[At(loop.counter->DoubleField())], xmm14);
    mov(byte[At(loop.result->BoolField())], dl);
    mov(eax, 1);
    ret();
    L(fail);
    xor_(eax, eax);
    ret();
    EmitLiterals();
  }

  // Emits the routine of an integer tree: the guards, the terms in rax (a held left operand in r8 .. r11
  // by depth; deeper trees are not compiled), and the root's integer stored with its double mirror as
  // SetIntegerValue stores them. An overflow hands over to the nodes as a failed guard does, before
  // anything is stored: they compute the line again and raise the overflow themselves.
  void EmitInteger() {
    Xbyak::Label fail;
    SetBase(fTarget.carrier, true);
    fNearOnly = true;  // rax is the accumulator
    for (const TScalarGuard& g : fTree->guards) {
      cmp(byte[At(g.rec->TypeField())], static_cast<std::uint8_t>(g.type));
      jne(fail, T_NEAR);
    }
    IntTerm(static_cast<int>(fTree->terms.size()) - 1, 0, fail);
    mov(qword[At(fTarget.integer)], rax);
    pxor(xmm0, xmm0);
    cvtsi2sd(xmm0, rax);
    movsd(qword[At(fTarget.result)], xmm0);
    ret();
    L(fail);
    mov(rax, reinterpret_cast<std::uintptr_t>(fTarget.onGuardFailed));
    jmp(rax);
  }

  // Emits the routine: void(TExprRec&), the carrier in rdi.
  void Emit() {
    if (fTarget.integer) return EmitInteger();
    // Stack slots by depth; 8 + 16k bytes keep rsp 16-byte aligned at calls.
    const int depth = fDepth.back() + 1;
    const int frameBytes = 8 + 16 * ((depth + 1) / 2);
    Xbyak::Label fail, raised;
    SetBase(fTarget.carrier, true);
    // The guards come first, so rdi still holds the carrier when one fails.
    for (const TScalarGuard& g : fTree->guards) {
      cmp(byte[At(g.rec->TypeField())], static_cast<std::uint8_t>(g.type));
      jne(fail, T_NEAR);
    }
    // Without calls and with every held value in a register the code needs no stack frame.
    const bool frame = fCalls.back() || fDepth.back() >= kHoldRegisters;
    if (frame) sub(rsp, frameBytes);
    Term(static_cast<int>(fTree->terms.size()) - 1, 0);
    if (frame) add(rsp, frameBytes);
    if (fRaises) {
      mov(rax, reinterpret_cast<std::uintptr_t>(&fErrors.raised));
      cmp(byte[rax], 0);
      jne(raised, T_NEAR);
    }
    if (fTarget.flag) {
      Comparison(fTree->terms.back().op.kind);
      mov(byte[At(fTarget.flag)], dl);
    } else {
      movsd(qword[At(fTarget.result)], xmm0);
    }
    ret();
    // Hand-overs are tail calls with the carrier, so they return to the run loop themselves.
    L(fail);
    mov(rax, reinterpret_cast<std::uintptr_t>(fTarget.onGuardFailed));
    jmp(rax);
    L(raised);
    mov(rdi, reinterpret_cast<std::uintptr_t>(fTarget.carrier));
    mov(rax, reinterpret_cast<std::uintptr_t>(fTarget.onRaised));
    jmp(rax);
    EmitLiterals();
  }

 private:
  // The register a loop keeps a record's double in, or 0.
  int Cached(const TValueRec* rec) const {
    if (!fCache) return 0;
    const auto it = fCache->find(rec);
    return it == fCache->end() ? 0 : it->second;
  }

  // Makes `base` the address rdi holds (`live`: it already does), the one records are reached from.
  void SetBase(const void* base, bool live) {
    fBase = reinterpret_cast<std::uintptr_t>(base);
    fBaseLive = live;
    if (fBase && !live) {
      mov(rdi, fBase);
      fBaseLive = true;
    }
  }

  // Notes a call: it does not preserve rdi.
  void Called() { fBaseLive = false; }

  // The address of `p` as an operand: rdi plus a displacement when `p` is within 2 GB of the base
  // (loading the base first after a call), else rax loaded with it (unless rax is taken: no code).
  Xbyak::RegExp At(const void* p) {
    const auto a = reinterpret_cast<std::uintptr_t>(p);
    const auto d = static_cast<std::int64_t>(a - fBase);
    if (fBase && d >= INT32_MIN && d <= INT32_MAX) {
      if (!fBaseLive) {
        mov(rdi, fBase);
        fBaseLive = true;
      }
      return rdi + static_cast<std::int32_t>(d);
    }
    if (fNearOnly) throw std::runtime_error("a record out of reach");
    mov(rax, a);
    return Xbyak::RegExp(rax);
  }

  // rax = term i of an integer tree, with holds from r(8 + depth) up; jumps to `overflow` when an
  // operation overflows.
  void IntTerm(int i, int depth, Xbyak::Label& overflow) {
    const TScalarTerm& t = fTree->terms[i];
    if (t.op.kind == TScalarOpKind::IntStore) return IntOperand(t, 1, depth, overflow);
    IntOperand(t, 0, depth, overflow);
    if (t.child[1] >= 0) {
      if (depth >= kIntHolds) throw std::runtime_error("an integer tree too high");
      const Xbyak::Reg64 hold(8 + depth);
      mov(hold, rax);
      IntTerm(t.child[1], depth + 1, overflow);
      mov(rcx, rax);
      mov(rax, hold);
      IntOp(t.op.kind, rcx);
    } else {
      IntOp(t.op.kind, qword[At(t.leaf[1]->IntegerField())]);
    }
    jo(overflow, T_NEAR);
  }

  void IntOperand(const TScalarTerm& t, int k, int depth, Xbyak::Label& overflow) {
    if (t.child[k] >= 0) return IntTerm(t.child[k], depth, overflow);
    mov(rax, qword[At(t.leaf[k]->IntegerField())]);
  }

  // rax = rax op right, setting the overflow flag as the checked routines test it.
  void IntOp(TScalarOpKind k, const Xbyak::Operand& right) {
    switch (k) {
      case TScalarOpKind::IntAdd:
        return add(rax, right);
      case TScalarOpKind::IntSub:
        return sub(rax, right);
      default:
        return imul(rax, right);
    }
  }

  // A 16-byte literal (`bits` in the low half, zero above) in the pool after the code: an operand that
  // packed instructions may read too, the pool being 16-byte aligned.
  Xbyak::Address Literal(std::uint64_t bits) {
    for (auto& [b, label] : fLiterals)
      if (b == bits) return xword[rip + label];
    fLiterals.emplace_back();
    fLiterals.back().first = bits;
    return xword[rip + fLiterals.back().second];
  }
  Xbyak::Address Literal(double x) { return Literal(std::bit_cast<std::uint64_t>(x)); }

  // The pool, at a 16-byte offset (the arena places code at 16-byte boundaries).
  void EmitLiterals() {
    if (fLiterals.empty()) return;
    while (getSize() % 16 != 0) db(0xCC);
    for (auto& [bits, label] : fLiterals) {
      L(label);
      dq(bits);
      dq(0);
    }
  }

  // Loads the double of a record into `to`.
  void LoadLeaf(const TValueRec* rec, const Xbyak::Xmm& to) {
    if (const int r = Cached(rec)) {
      movapd(to, Xbyak::Xmm(r));
      return;
    }
    movsd(to, qword[At(rec->DoubleField())]);
  }

  // Computes operand k of term t into xmm0.
  void Operand(const TScalarTerm& t, int k, int depth) {
    if (t.child[k] >= 0) {
      Term(t.child[k], depth);
    } else {
      LoadLeaf(t.leaf[k], xmm0);
    }
  }

  // Computes term i into xmm0, using only hold places of `depth` and deeper.
  void Term(int i, int depth) {
    const TScalarTerm& t = fTree->terms[i];
    switch (t.op.kind) {
      case TScalarOpKind::Copy:
        return Operand(t, 0, depth);
      case TScalarOpKind::Store:
        return Operand(t, 1, depth);
      case TScalarOpKind::Neg:
        Operand(t, 0, depth);
        xorpd(xmm0, Literal(-0.0));
        return;
      case TScalarOpKind::Abs:
        Operand(t, 0, depth);
        andpd(xmm0, Literal(kMagnitude));
        return;
      case TScalarOpKind::Sqr:
        Operand(t, 0, depth);
        mulsd(xmm0, xmm0);
        return;
      case TScalarOpKind::Sqrt:
        Operand(t, 0, depth);
        sqrtsd(xmm0, xmm0);
        return;
      case TScalarOpKind::Floor:
      case TScalarOpKind::Ceil:
      case TScalarOpKind::Trunc:
      case TScalarOpKind::Round:
        if (HasRoundInstruction()) {
          Operand(t, 0, depth);
          return roundsd(xmm0, xmm0, RoundingMode(t.op.kind));
        }
        [[fallthrough]];
      case TScalarOpKind::Call:
        Operand(t, 0, depth);
        if (t.op.raises) {
          mov(rdi, reinterpret_cast<std::uintptr_t>(&fErrors));
          mov(rsi, reinterpret_cast<std::uintptr_t>(t.op.fn));
          mov(rax, reinterpret_cast<std::uintptr_t>(&CallKernel));
        } else {
          mov(rax, reinterpret_cast<std::uintptr_t>(t.op.fn));
        }
        call(rax);
        Called();
        return;
      case TScalarOpKind::IntPow: {
        Operand(t, 0, depth);
        if (const std::optional<int> n = ConstantExponent(t)) return ConstantPower(*n);
        // IntPower(x, 2) is x * x; other exponents call it.
        Xbyak::Label other, done;
        const Xbyak::RegExp exponent = At(t.leaf[1]->IntegerField());
        mov(rdi, qword[exponent]);
        Called();
        cmp(rdi, 2);
        jne(other);
        mulsd(xmm0, xmm0);
        jmp(done);
        L(other);
        mov(rax, reinterpret_cast<std::uintptr_t>(&CallIntPower));
        call(rax);
        L(done);
        return;
      }
      default:
        if (!IsScalarComparison(t.op.kind)) return Binary(t, depth);
        // The root: Emit compares xmm0 with xmm15 once a kernel error has been ruled out.
        if (t.child[1] >= 0) return BothOperands(t, depth);
        Operand(t, 0, depth);
        return LoadLeaf(t.leaf[1], xmm15);
    }
  }

  // The immediate of roundsd for a rounding kind: the direction (0-3; 4: the current mode) with bit 3
  // set, which suppresses the precision exception as the C functions do.
  static int RoundingMode(TScalarOpKind k) {
    switch (k) {
      case TScalarOpKind::Floor:
        return 0x9;
      case TScalarOpKind::Ceil:
        return 0xA;
      case TScalarOpKind::Trunc:
        return 0xB;
      default:
        return 0xC;
    }
  }

  // dl = xmm0 op xmm15 with IEEE rules: false when either is NaN, except for "<>". ucomisd reports an
  // unordered pair as "equal and below" (ZF = PF = CF = 1), so "<" and "<=" swap the operands to test
  // "above", and the equality tests look at PF.
  void Comparison(TScalarOpKind k) {
    switch (k) {
      case TScalarOpKind::Greater:
        ucomisd(xmm0, xmm15);
        return seta(dl);
      case TScalarOpKind::GreaterEq:
        ucomisd(xmm0, xmm15);
        return setae(dl);
      case TScalarOpKind::Less:
        ucomisd(xmm15, xmm0);
        return seta(dl);
      case TScalarOpKind::LessEq:
        ucomisd(xmm15, xmm0);
        return setae(dl);
      case TScalarOpKind::Equal:
        ucomisd(xmm0, xmm15);
        sete(dl);
        setnp(cl);
        return and_(dl, cl);
      default:  // NotEqual
        ucomisd(xmm0, xmm15);
        setne(dl);
        setp(cl);
        return or_(dl, cl);
    }
  }

  // Both operands of a binary term whose right operand is a term, into xmm0 and xmm15: the left one
  // first (as the nodes run), kept in a hold place while the right one is computed.
  void BothOperands(const TScalarTerm& t, int depth) {
    const bool rightCalls = fCalls[t.child[1]];
    Operand(t, 0, depth);
    const bool inRegister = !rightCalls && depth < fHoldLimit;
    const Xbyak::Address slot = qword[rsp + 8 * depth];
    if (inRegister) {
      movapd(Xbyak::Xmm(1 + depth), xmm0);
    } else {
      movsd(slot, xmm0);
    }
    Term(t.child[1], depth + 1);
    movapd(xmm15, xmm0);
    if (inRegister) {
      movapd(xmm0, Xbyak::Xmm(1 + depth));
    } else {
      movsd(xmm0, slot);
    }
  }

  // The two operands of a binary term, then the operation.
  void Binary(const TScalarTerm& t, int depth) {
    if (t.child[1] < 0) {
      // Right operand a record: the operation reads it from memory (Power needs it in xmm1). A constant
      // whole exponent from 0 to 16 is what Power hands to IntPower.
      Operand(t, 0, depth);
      if (t.op.kind == TScalarOpKind::Power) {
        if (const std::optional<int> n = ConstantExponent(t)) return ConstantPower(*n);
        LoadLeaf(t.leaf[1], xmm1);
        return Power();
      }
      if (const int r = Cached(t.leaf[1])) return Arith(t.op.kind, Xbyak::Xmm(r));
      return Arith(t.op.kind, qword[At(t.leaf[1]->DoubleField())]);
    }
    BothOperands(t, depth);
    if (t.op.kind == TScalarOpKind::Power) {
      movapd(xmm1, xmm15);
      return Power();
    }
    Arith(t.op.kind, xmm15);
  }

  // xmm0 = IntPower(xmm0, n) for a constant n, with IntPower's operations: a NaN stays as it is
  // (1 for n = 0); n = 0, 1, 2 give 1, x, x·x; up to kMaxInlinePower, |x|^n by the binary powering of
  // PowUnsigned (whose first product, 1·x, is x itself), negated for a negative x and odd n. Other
  // exponents are not inlined (ConstantExponent). Uses xmm15 and r8 besides xmm0.
  void ConstantPower(int n) {
    if (n == 0) {
      movsd(xmm0, Literal(1.0));
      return;
    }
    if (n == 1) return;
    if (n == 2) {
      mulsd(xmm0, xmm0);
      return;
    }
    Xbyak::Label done;
    ucomisd(xmm0, xmm0);
    jp(done, T_NEAR);
    movmskpd(r8d, xmm0);
    andpd(xmm0, Literal(kMagnitude));  // xmm0 = |x|, the running square; xmm15 the product
    bool first = true;
    for (std::uint64_t m = static_cast<std::uint64_t>(n); m != 0;) {
      if (m & 1) {
        if (first) {
          movapd(xmm15, xmm0);
        } else {
          mulsd(xmm15, xmm0);
        }
        first = false;
      }
      m >>= 1;
      if (m != 0) mulsd(xmm0, xmm0);
    }
    movapd(xmm0, xmm15);
    if (n & 1) {
      Xbyak::Label positive;
      test(r8d, 1);
      jz(positive);
      xorpd(xmm0, Literal(-0.0));
      L(positive);
    }
    L(done);
  }

  // xmm0 = xmm0 op right.
  void Arith(TScalarOpKind k, const Xbyak::Operand& right) {
    switch (k) {
      case TScalarOpKind::Add:
        return addsd(xmm0, right);
      case TScalarOpKind::Sub:
        return subsd(xmm0, right);
      case TScalarOpKind::Mul:
        return mulsd(xmm0, right);
      default:
        return divsd(xmm0, right);
    }
  }

  // xmm0 = Power(xmm0, xmm1): an exponent of 2 is x * x, as in Power; others call it.
  void Power() {
    Xbyak::Label other, done;
    ucomisd(xmm1, Literal(2.0));
    jp(other);
    jne(other);
    mulsd(xmm0, xmm0);
    jmp(done);
    L(other);
    mov(rax, reinterpret_cast<std::uintptr_t>(&CallPower));
    call(rax);
    Called();
    L(done);
  }

  const TScalarTree* fTree = nullptr;
  TKernelErrors& fErrors;
  TNativeTarget fTarget;
  const std::unordered_map<const TValueRec*, int>* fCache = nullptr;  // records a loop keeps in xmm
  std::uintptr_t fBase = 0;  // the address records are reached from (none: 0) ...
  bool fBaseLive = false;    // ... which rdi holds now
  bool fNearOnly = false;    // every record must be reachable from the base
  std::deque<std::pair<std::uint64_t, Xbyak::Label>> fLiterals;  // the pool (a deque keeps labels put)
  int fHoldLimit = kHoldRegisters;                               // held values go to xmm1 .. xmm(fHoldLimit)
  std::vector<bool> fCalls;                                      // the term's code calls a function
  std::vector<int> fDepth;                                       // the height of the term's sub-tree
  bool fRaises = false;                                          // the tree calls a kernel that may raise
};

// Places the generated code in the arena.
const void* Place(Generator& g, TCodeArena& arena) { return arena.Place(g.getCode(), g.getSize()); }

}  // namespace

TNativeLoopEntry CompileNativeLoop(const TNativeLoop& loop, TCodeArena& arena) {
  // Registers: xmm14 the loop variable, xmm13 downwards the stored variables, below them the holds.
  std::unordered_map<const TValueRec*, int> cache;
  cache[loop.counter] = 14;
  int next = 13;
  for (const TScalarTree* tree : loop.body) {
    const TScalarTerm& root = tree->terms.back();
    if (root.op.kind != TScalarOpKind::Store || root.leaf[0] == loop.counter) return nullptr;
    if (!cache.count(root.leaf[0])) {
      if (next < 10) return nullptr;
      cache[root.leaf[0]] = next--;
    }
  }
  const int holdLimit = next;  // xmm1 .. xmm(next)
  try {
    size_t terms = 0;
    for (const TScalarTree* tree : loop.body) terms += tree->terms.size();
    TKernelErrors unused;
    std::vector<std::uint8_t> buffer(1024 + 96 * terms);
    Generator g(*loop.body.front(), unused, TNativeTarget{}, buffer);
    for (const TScalarTree* tree : loop.body) {
      g.SetTree(*tree);
      if (g.TreeCalls() || g.TreeHeight() >= holdLimit) return nullptr;
    }
    g.EmitLoop(loop, cache, holdLimit);
    return reinterpret_cast<TNativeLoopEntry>(const_cast<void*>(Place(g, arena)));
  } catch (const std::exception&) {
    return nullptr;
  }
}

TExprFunc CompileNative(const TScalarTree& tree, TKernelErrors& errors, const TNativeTarget& target,
                        TCodeArena& arena) {
  if (tree.terms.empty()) return nullptr;
  try {
    std::vector<std::uint8_t> buffer(1024 + 96 * tree.terms.size() + 32 * tree.guards.size());
    Generator g(tree, errors, target, buffer);
    g.Emit();
    return reinterpret_cast<TExprFunc>(const_cast<void*>(Place(g, arena)));
  } catch (const std::exception&) {
    return nullptr;  // out of code space or memory: the nodes run as they are
  }
}

}  // namespace zel

#else

namespace zel {

TExprFunc CompileNative(const TScalarTree&, TKernelErrors&, const TNativeTarget&, TCodeArena&) {
  return nullptr;
}
TNativeLoopEntry CompileNativeLoop(const TNativeLoop&, TCodeArena&) { return nullptr; }

}  // namespace zel

#endif
