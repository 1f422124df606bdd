// The interactive loop: reads lines with readline (history kept for the session), collects a block
// from if/while/for to its end, runs it, and keeps variables between inputs.
#include <readline/history.h>
#include <readline/readline.h>

#include <cstdlib>
#include <exception>
#include <iostream>

#include "apps/zel/runner.h"

namespace zel::app {

int Repl(TZelExpression& expr) {
  std::cout << "zel: type a statement; a block runs once its \"end\" is typed; Ctrl-D quits.\n";
  std::string block;
  int depth = 0;
  while (true) {
    char* raw = readline(depth > 0 ? "...> " : "zel> ");
    if (!raw) break;
    std::string line = raw;
    std::free(raw);
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    block += (block.empty() ? "" : "\n") + line;
    depth += BlockDelta(line);
    if (depth > 0) continue;
    try {
      RunScript(expr, block, std::cout);
    } catch (const std::exception& e) {
      std::cerr << "error: " << e.what() << "\n";
    }
    block.clear();
    depth = 0;
  }
  std::cout << "\n";
  return 0;
}

}  // namespace zel::app
