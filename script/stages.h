// The compiler as stages over a compile state (script/compile_state.h), in the order a line goes through
// them: scanning, preprocessing, the syntax check, tree building, constant folding and flattening; then
// the flow pass over the whole script. TZelExpression's compiler methods are thin forwards to these.
//
// Ownership: while a line's tree is built and folded, every node is owned by a TNodeTree; the nodes'
// ArgList only refers to the children. Flattening hands the surviving nodes to the line in one TNodeChain.
//
// Every stage is linear in the length of the line and walks trees with explicit stacks: a line such as
// 1+1+...+1 makes a tree as deep as it is long, so no stage may recurse along the tree.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lang/words/context.h"
#include "script/compile_state.h"

namespace zel {

// Word kinds that are operands (their node's value is the word's own record) and that are calls.
inline constexpr std::uint32_t kOperandKinds = ltConstant | ltVariable;
inline constexpr std::uint32_t kCallableKinds = ltFunction | ltVaryingFunction;
// True when the word is of one of the kinds.
inline bool IsKind(const TExprWord* w, std::uint32_t kinds) { return (w->LexemeType() & kinds) != 0; }

// Brackets ("(" and "[") a line may nest.
inline constexpr int kMaxNesting = 1000;

// A node with the sub-trees of its arguments: args[k] owns the node that node->ArgList[k] refers to. An
// argument that is a constant or variable needs no node of its own while the line is compiled: its tree
// holds only the word (operand), ArgList[k] stays empty and Args[k] is the word's value record.
struct TNodeTree {
  TNodeTree() = default;
  explicit TNodeTree(std::unique_ptr<TExprRec> root) : node(std::move(root)) {}
  // An operand argument without a node.
  static TNodeTree Operand(TExprWord* word);
  TNodeTree(TNodeTree&& other) noexcept;
  TNodeTree& operator=(TNodeTree&& other) noexcept;
  // Frees the sub-trees with an explicit stack, however deep the tree is.
  ~TNodeTree();

  // The word the tree evaluates (null for an empty tree).
  TExprWord* Word() const { return node ? node->ExprWord : operand; }
  // False for an empty tree (a missing argument).
  bool Present() const { return node || operand; }

  std::unique_ptr<TExprRec> node;
  std::vector<TNodeTree> args;
  TExprWord* operand = nullptr;
};

// ---- node trees (nodetree.cpp) ---------------------------------------------------------------------

// A tree of one new node.
TNodeTree NewNode();
// A node of its own for an operand word (value record in Args[0], no arguments).
std::unique_ptr<TExprRec> OperandNode(TExprWord* word);
// Makes `child` argument k of `parent` (owned by parent.args[k], referred to by ArgList[k]).
void SetArg(TNodeTree& parent, size_t k, TNodeTree child);
// Sets the node's argument count to n (TExprRec::ResizeArgs), freeing any sub-trees it had.
void ResizeArgs(TNodeTree& tree, int n);
// Takes ownership of a raw tree whose nodes own their ArgList children.
TNodeTree AdoptTree(TExprRec* root);
// Gives up ownership: the nodes own their ArgList children again (operand arguments get nodes of their
// own). Returns the root.
TExprRec* ReleaseTree(TNodeTree tree);
// Gives up ownership of a chain: the nodes own each other along Next. Returns the first node.
TExprRec* ReleaseChain(TNodeChain chain);

// ---- scanning (scan.cpp) ---------------------------------------------------------------------------

// The words of one line: symbols looked up, unknown names entered as variables, literals made constants.
std::unique_ptr<TExprWordList> ScanWords(TCompileState& s, const std::string& text);
// Moves the variables that ScanWords created while s.script was set into the symbol table.
void EnterNewVariables(TCompileState& s);
// Raises when brackets ("(" and "[" together) nest deeper than kMaxNesting.
void CheckNesting(const TExprWordList& words);
// ScanWords, CheckNesting, Preprocess and CheckSyntax; then raises s.outputError, if any.
std::unique_ptr<TExprWordList> ParseLine(TCompileState& s, const std::string& text);
// Normalises the line's text, parses it into line.Words and sets line.FlowKeyword.
void ScanLine(TCompileState& s, TSingleExpression& line);

// ---- preprocessing (preprocess.cpp) ----------------------------------------------------------------

// Rewrites a line's syntax into ordinary calls (indexing, indexed assignment, concatenation, ...). An
// output of a multiple-result line that is not a variable is noted in s.outputError (ParseLine raises
// it once the syntax check has passed).
void Preprocess(TCompileState& s, TExprWordList& words);
// Makes the list hold exactly `words`, in one pass (an owning list neither frees nor re-takes them).
void ReplaceWords(TExprWordList& list, const std::vector<TExprWord*>& words);

// ---- syntax check (check.cpp) ----------------------------------------------------------------------

// Raises on faults the tree builder cannot report well; marks unary signs.
void CheckSyntax(TCompileState& s, TExprWordList& words);

// ---- trees (tree.cpp) ------------------------------------------------------------------------------

// The evaluation tree of a checked word list, by operator precedence.
TNodeTree BuildTree(const TExprWordList& words);

// ---- questions about a tree (treewalk.cpp) ---------------------------------------------------------

// True when every node has all its ArgCount arguments.
bool HasAllArguments(const TExprRec* rec);
bool HasAllArguments(const TNodeTree& tree);
// True when the tree contains a variable or a varying function.
bool CanVary(const TExprRec* rec);
// The variable a line's tree assigns or names, or "".
std::string ResultNameOf(const TSyntaxWords& words, const TExprRec* rec);
std::string ResultNameOf(const TSyntaxWords& words, const TNodeTree& tree);
// True for the words that write into their first argument: "=", assign, for and endfor.
bool WritesFirstArgument(const TSyntaxWords& words, const TExprWord* word);
// Why the word's node cannot be written to ("Cannot assign to ..."), or "" when it is a variable (or a
// punctuation word, which fails the line elsewhere).
std::string AssignTargetError(const TExprWord* word);
// Raises at the first node (top down, left to right) that writes into something that is not a variable.
void CheckAssignTargets(const TSyntaxWords& words, const TNodeTree& tree);

// ---- constant folding (fold.cpp) -------------------------------------------------------------------

// Replaces every sub-tree that cannot change between evaluations by a node of a new constant word.
TNodeTree FoldConstants(TCompileState& s, TNodeTree tree);

// ---- flattening (flatten.cpp) ----------------------------------------------------------------------

// The tree's nodes in evaluation order, linked by Next; operand nodes below the root are dropped and
// their parents read the operand's value record directly. A lone operand stays a chain of one node.
TNodeChain Flatten(TNodeTree tree);

// ---- the whole script (flow.cpp) -------------------------------------------------------------------

// The flow keyword that starts the list, compared by identity with the syntax words.
TExprFlowKeyword FlowKeywordOf(const TSyntaxWords& words, const TExprWordList& list);
// From the line's words to its owned evaluation chain: tree, result name, argument check, assignment
// targets, folding, flattening. The word list is freed.
void CompileLine(TCompileState& s, TSingleExpression& line);
// Pass 1 scans every line and resolves the jumps of the flow keywords; pass 2 compiles every line.
// Errors carry "Line N: " when the script has more than one line.
void CompileScript(TCompileState& s, TExprList& lines);

// ---- running (run.cpp) -----------------------------------------------------------------------------

// Runs a chain along Next and returns its last node (null for an empty chain). Inline: the run loop
// of every line is this loop.
inline TExprRec* RunList(TExprRec* first) {
  TExprRec* node = first;
  if (!node) return nullptr;
  for (;;) {
    node->Oper(*node);
    TExprRec* next = node->Next;
    if (!next) return node;
    node = next;
  }
}

// ---- tuning after the first run (tune.cpp) ----------------------------------------------------------

// Called once a line has run: every node has picked its typed routine, so the optimisers can see the
// operand types. Fuses what they can (each keeps a guard and falls back to the nodes as they were) and
// marks the line tuned.
class TCodeArena;
void TuneLine(TSingleExpression& line, TCodeArena& arena);
// The scalar optimiser (fuse_scalar.cpp): stretches of real scalar arithmetic as machine code, placed in
// the expression object's arena.
void FuseScalarChains(TSingleExpression& line, TCodeArena& arena);
bool NativeCodeEnabled();

// Makes each tree of real element-wise nodes on the line one block-by-block program on its root
// (fuse_elementwise.cpp).
void FuseElementwiseChains(TSingleExpression& line);

}  // namespace zel
