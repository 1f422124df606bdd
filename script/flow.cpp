// The compilation of a whole script. Pass 1 scans every line and turns the flow keywords if, else, while,
// for, break, continue and end into jumps between line indexes; pass 2 compiles every line into its
// evaluation chain. The block stack of pass 1 lives only while the pass runs.
#include <stdexcept>

#include "script/stages.h"

namespace zel {

namespace {

// Open blocks (if/else/while/for) and loop levels a script may nest.
constexpr int kMaxBlocks = 40;

// The scratch of pass 1: the open blocks and, per loop level, the break and continue lines waiting for
// the end of their loop.
struct Blocks {
  Blocks() : pending(kMaxBlocks + 1) {}
  std::vector<int> open;                  // line indexes of the open blocks, innermost last
  std::vector<std::vector<int>> pending;  // per loop level (0 is the top level)
  int level = 0;
};

// if, while, for: opens a block whose line jumps past it (or out of the loop) when its condition fails.
void OpenBlock(Blocks& b, TSingleExpression& x, int line) {
  if (static_cast<int>(b.open.size()) >= kMaxBlocks)
    ERaise(
        Fmt("Too many nested blocks: at most %d if/else/while/for blocks can be open at once", kMaxBlocks));
  x.FlowControl = efcConditionalJump;
  b.open.push_back(line);
  if (x.FlowKeyword != eccIf) ++b.level;
}

// else: the if jumps to the line after the else; the else line jumps past the block once its end is known.
void ElseLine(Blocks& b, TExprList& lines, TSingleExpression& x, int line) {
  if (b.open.empty()) ERaise("The \"else\" keyword has no matching \"if\"!");
  TSingleExpression& t = *lines[b.open.back()];
  if (t.FlowKeyword != eccIf) ERaise("The \"else\" keyword has no matching \"if\"!");
  t.JumpLineIndex = line + 1;
  x.FlowControl = efcUnconditionalJump;
  b.open.back() = line;
}

// The break and continue lines of the loop that opened at `top` and ends at `line` get their jumps.
void ResolveBreaks(Blocks& b, TExprList& lines, const TSingleExpression& t, int top, int line) {
  std::vector<int>& waiting = b.pending[static_cast<size_t>(b.level)];
  for (int k : waiting) {
    TSingleExpression& bc = *lines[k];
    bc.FlowControl = efcUnconditionalJump;
    if (bc.FlowKeyword == eccBreak) {
      bc.JumpLineIndex = bc.NextLineIndex = line + 1;
    } else if (bc.FlowKeyword == eccContinue) {
      bc.JumpLineIndex = bc.NextLineIndex = t.FlowKeyword == eccWhile ? top : line;
    } else {
      ERaise("Internal compiler error: Word is not a Break or Continue!");
    }
  }
  waiting.clear();
  --b.level;
}

// end: closes the innermost block. A while's end jumps back to the while line; a for's end becomes an
// endfor line that steps the loop variable and goes back to the body while the range lasts.
void EndLine(const TSyntaxWords& k, Blocks& b, TExprList& lines, TSingleExpression& x, int line) {
  if (b.open.empty()) ERaise("The \"end\" keyword has no matching \"if\", \"while\" or \"for\"!");
  const int top = b.open.back();
  TSingleExpression& t = *lines[top];
  t.JumpLineIndex = line + 1;
  if (t.FlowKeyword == eccElse) {
    t.NextLineIndex = t.JumpLineIndex;
  } else if (t.FlowKeyword == eccWhile) {
    x.FlowControl = efcUnconditionalJump;
    x.NextLineIndex = x.JumpLineIndex = top;
    ResolveBreaks(b, lines, t, top, line);
  } else if (t.FlowKeyword == eccFor) {
    x.Words->SetItems(0, k.ewEndFor);
    for (int i = 1; i < t.Words->Count(); ++i) x.Words->Append((*t.Words)[i]);
    x.FlowControl = efcConditionalJump;
    x.NextLineIndex = top + 1;
    x.JumpLineIndex = line + 1;
    ResolveBreaks(b, lines, t, top, line);
  }
  b.open.pop_back();
}

// Reports an error with the line index (several lines) or as it is (one line).
[[noreturn]] void RaiseCompileError(const TExprList& lines, int line, const std::exception& e) {
  if (lines.Count() > 1) throw ENubraException(Fmt("Line %d: %s", line, e.what()));
  throw std::runtime_error(e.what());
}

// Pass 1: words and flow fields of every line. The variables the script introduces join the symbol
// table in one merge at the end (also when a line fails); literals of the same text share a word.
void ResolveJumps(TCompileState& s, TExprList& lines) {
  Blocks b;
  TScriptScan scan;
  s.script = &scan;
  int line = 0;
  try {
    for (line = 0; line < lines.Count(); ++line) {
      TSingleExpression& x = *lines[line];
      x.ClearChain();
      x.FlowControl = efcNone;
      x.JumpLineIndex = 0;
      ScanLine(s, x);
      x.NestingDepth = static_cast<int>(b.open.size());
      x.NextLineIndex = line + 1;
      switch (x.FlowKeyword) {
        case eccIf:
        case eccWhile:
        case eccFor:
          OpenBlock(b, x, line);
          break;
        case eccElse:
          ElseLine(b, lines, x, line);
          break;
        case eccBreak:
        case eccContinue:
          b.pending[static_cast<size_t>(b.level)].push_back(line);
          break;
        case eccEnd:
          EndLine(s.words, b, lines, x, line);
          break;
        default:
          break;
      }
    }
    if (!b.open.empty()) {
      line = lines.Count() - 1;
      ERaise("Syntax error: missing \"end\" keyword!");
    }
  } catch (const std::exception& e) {
    EnterNewVariables(s);
    s.script = nullptr;
    RaiseCompileError(lines, line, e);
  }
  EnterNewVariables(s);
  s.script = nullptr;
}

}  // namespace

TExprFlowKeyword FlowKeywordOf(const TSyntaxWords& k, const TExprWordList& list) {
  if (list.Count() == 0) return eccNone;
  const TExprWord* w = list[0];
  if (w == k.ewIf) return eccIf;
  if (w == k.ewElse) return eccElse;
  if (w == k.ewEnd) return eccEnd;
  if (w == k.ewWhile) return eccWhile;
  if (w == k.ewEndFor) return eccEndFor;
  if (w == k.ewFor) return eccFor;
  if (w == k.ewBreak) return eccBreak;
  if (w == k.ewContinue) return eccContinue;
  return eccNone;
}

void CompileLine(TCompileState& s, TSingleExpression& line) {
  line.ClearChain();
  TNodeTree tree = BuildTree(*line.Words);
  line.ResultName = ResultNameOf(s.words, tree);
  if (!HasAllArguments(tree)) throw EZelParseError("Syntax error: function or operand has too few arguments");
  CheckAssignTargets(s.words, tree);
  line.SetChain(Flatten(FoldConstants(s, std::move(tree))));
  line.Words.reset();
}

void CompileScript(TCompileState& s, TExprList& lines) {
  ResolveJumps(s, lines);
  for (int line = 0; line < lines.Count(); ++line) {
    try {
      CompileLine(s, *lines[line]);
    } catch (const std::exception& e) {
      RaiseCompileError(lines, line, e);
    }
  }
}

}  // namespace zel
