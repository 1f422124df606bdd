// One-pass element-wise chains (see elementwise_chain.h): the registry of routines, the program a fused
// root keeps, how it is built from the nodes, and the root's routine with its guard and fallback.
#include "lang/operators/elementwise_chain.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/vecmath.h"
#include "lang/operators/direct.h"

namespace zel {

namespace {

// The registered rows, filled while the families' files are initialised.
std::vector<TChainRoutine>& Registry() {
  static std::vector<TChainRoutine> rows;
  return rows;
}

// The program of a fused root. Everything an evaluation needs is sized when the program is built, so
// evaluating allocates nothing.
class ChainProgram : public TNodeProgram {
 public:
  TValueType arrayType = vtVectorValue;              // the type of every array operand and result
  std::vector<TChainStep> steps;                     // one per node, in chain order
  std::vector<TValueRec*> arrays;                    // the leaf arrays by slot
  std::vector<const double*> data;                   // their elements at this evaluation
  std::vector<TValueRec*> scalarRecords;             // the scalar operands; their values lead `scalars`
  std::vector<double> scalars;                       // then the rows' constants
  std::vector<double> scratch;                       // kChainBlock doubles per temporary
  std::vector<std::pair<TExprRec*, TExprFunc>> own;  // the nodes in chain order and their routines

  // Computes the root's result as one pass when the operands and the destination allow it; false (and
  // nothing written) otherwise.
  bool Run(TExprRec& root);

 private:
  // True when every leaf array may be read while dst is written, dst keeping its shape (FitsElementwise:
  // the leaf is real and of dst's shape, and shares no storage with dst unless it is dst).
  bool Fits(const TNubraVec& dst) const;
};

bool ChainProgram::Fits(const TNubraVec& dst) const {
  for (TValueRec* a : arrays)
    if (!FitsElementwise(dst, a->RealElements(), nullptr)) return false;
  return true;
}

bool ChainProgram::Run(TExprRec& root) {
  for (std::size_t k = 0; k < arrays.size(); ++k) {
    if (arrays[k]->ValueType() != arrayType) return false;
    data[k] = arrays[k]->RealElements().PValues();
  }
  for (std::size_t k = 0; k < scalarRecords.size(); ++k) {
    const TValueRec& s = *scalarRecords[k];
    if (s.ValueType() != vtDoubleValue && s.ValueType() != vtIntegerValue) return false;
    scalars[k] = s.DoubleValue();
  }
  if (root.Res->ValueType() != arrayType) return false;
  TNubraVec* dst = direct::Target(root);
  const bool delivered = dst && Fits(*dst);
  if (!delivered) {
    dst = &root.Res->RealElements();
    if (!Fits(*dst)) return false;  // the nodes size the result (or raise) as they always do
  }
  // Every leaf fits dst's shape, so all are real and of one shape.
  RunChain(steps.data(), static_cast<int>(steps.size()), data.data(), static_cast<int>(arrays.size()),
           scalars.data(), scratch.data(), dst->PValues(), dst->Length());
  if (delivered) direct::MarkDelivered(root);
  return true;
}

// The operand records of a node by its row's form: the array x, and y (the second array or the scalar;
// null for a constant).
std::pair<TValueRec*, TValueRec*> OperandsOf(const TExprRec& node, const TChainRoutine& row) {
  const std::size_t needed = row.form == TChainForm::kArrayConstant ? 1 : 2;
  if (node.Args.size() < needed) return {nullptr, nullptr};
  switch (row.form) {
    case TChainForm::kArrays:
    case TChainForm::kArrayScalar:
      return {node.Args[0], node.Args[1]};
    case TChainForm::kScalarArray:
      return {node.Args[1], node.Args[0]};
    case TChainForm::kArrayConstant:
      break;
  }
  return {node.Args[0], nullptr};
}

// The index of x in v (appended when missing).
template <class T>
std::size_t IndexIn(std::vector<T>& v, T x) {
  const auto it = std::find(v.begin(), v.end(), x);
  if (it != v.end()) return static_cast<std::size_t>(it - v.begin());
  v.push_back(x);
  return v.size() - 1;
}

// The node among nodes[0 .. before) whose result is r and which feeds nodes[before]; -1 for a leaf.
int Producer(std::span<TExprRec* const> nodes, std::size_t before, const TValueRec* r) {
  for (std::size_t j = 0; j < before; ++j)
    if (nodes[j]->Res == r && nodes[j]->Consumer == nodes[before]) return static_cast<int>(j);
  return -1;
}

// Checks the nodes and collects the leaves into p; the rows of the nodes go to rows.
bool CollectLeaves(std::span<TExprRec* const> nodes, ChainProgram& p,
                   std::vector<const TChainRoutine*>& rows) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TExprRec& n = *nodes[i];
    const TChainRoutine* row = FindChainRoutine(n.Oper);
    if (!row || n.Program || n.Res != n.tmpRes.get() || n.Res->ValueType() != p.arrayType) return false;
    if (i + 1 < nodes.size() &&
        std::find(nodes.begin() + static_cast<std::ptrdiff_t>(i) + 1, nodes.end(), n.Consumer) == nodes.end())
      return false;
    const auto [x, y] = OperandsOf(n, *row);
    if (!x || (row->form != TChainForm::kArrayConstant && !y)) return false;
    for (TValueRec* a : {x, row->form == TChainForm::kArrays ? y : nullptr}) {
      if (!a || Producer(nodes, i, a) >= 0) continue;
      if (a->ValueType() != p.arrayType) return false;
      IndexIn(p.arrays, a);
    }
    if (row->form == TChainForm::kArrayScalar || row->form == TChainForm::kScalarArray) {
      if (y->ValueType() != vtDoubleValue && y->ValueType() != vtIntegerValue) return false;
      IndexIn(p.scalarRecords, y);
    }
    rows.push_back(row);
  }
  return true;
}

// Builds p's steps: each node's result goes to the lowest free temporary (the root's to the
// destination), a temporary being free again once its consumer has read it.
bool BuildSteps(std::span<TExprRec* const> nodes, const std::vector<const TChainRoutine*>& rows,
                ChainProgram& p) {
  const std::size_t leaves = p.arrays.size();
  std::vector<std::size_t> slotOf(nodes.size());
  std::vector<bool> busy;
  std::vector<double> constants;
  auto slot = [&](std::size_t i, TValueRec* r) {
    const int j = Producer(nodes, i, r);
    if (j < 0) return IndexIn(p.arrays, r);
    busy[slotOf[static_cast<std::size_t>(j)] - leaves] = false;
    return slotOf[static_cast<std::size_t>(j)];
  };
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TChainRoutine& row = *rows[i];
    const auto [x, y] = OperandsOf(*nodes[i], row);
    TChainStep step{row.op, 0, 0, kChainDestination};
    const std::size_t xs = slot(i, x);
    std::size_t ys = 0;
    if (row.form == TChainForm::kArrays) {
      ys = slot(i, y);
    } else if (row.form == TChainForm::kArrayConstant) {
      ys = p.scalarRecords.size() + IndexIn(constants, row.constant);
    } else {
      ys = IndexIn(p.scalarRecords, y);
    }
    if (i + 1 < nodes.size()) {
      const std::size_t t =
          static_cast<std::size_t>(std::find(busy.begin(), busy.end(), false) - busy.begin());
      if (t == busy.size()) busy.push_back(false);
      busy[t] = true;
      slotOf[i] = leaves + t;
      if (slotOf[i] >= kChainDestination) return false;
      step.out = static_cast<std::uint8_t>(slotOf[i]);
    }
    if (xs >= kChainDestination || ys >= kChainDestination) return false;
    step.x = static_cast<std::uint8_t>(xs);
    step.y = static_cast<std::uint8_t>(ys);
    p.steps.push_back(step);
  }
  p.scalars.assign(p.scalarRecords.size(), 0.0);
  p.scalars.insert(p.scalars.end(), constants.begin(), constants.end());
  p.scratch.assign(busy.size() * kChainBlock, 0.0);
  p.data.assign(leaves, nullptr);
  return true;
}

}  // namespace

bool RegisterChainRoutines(std::initializer_list<TChainRoutine> rows) {
  Registry().insert(Registry().end(), rows.begin(), rows.end());
  return true;
}

const TChainRoutine* FindChainRoutine(TExprFunc routine) {
  for (const TChainRoutine& row : Registry())
    if (row.routine == routine) return &row;
  return nullptr;
}

bool FuseElementwiseNodes(std::span<TExprRec* const> nodes) {
  if (nodes.size() < 2) return false;
  TExprRec& root = *nodes.back();
  auto p = std::make_unique<ChainProgram>();
  p->arrayType = root.Res->ValueType();
  if (p->arrayType != vtVectorValue && p->arrayType != vtMatrixValue) return false;
  std::vector<const TChainRoutine*> rows;
  if (!CollectLeaves(nodes, *p, rows) || !BuildSteps(nodes, rows, *p)) return false;
  for (TExprRec* n : nodes) {
    p->own.emplace_back(n, n->Oper);
    n->Oper = n == &root ? RunElementwiseChain : ComputedByChain;
  }
  root.Program = std::move(p);
  return true;
}

void RunElementwiseChain(TExprRec& root) {
  auto& p = static_cast<ChainProgram&>(*root.Program);
  if (p.Run(root)) return;
  for (const auto& [node, routine] : p.own) routine(*node);
}

void ComputedByChain(TExprRec&) {}

}  // namespace zel
