// zel: runs scripts of the language.
//   zel FILE | zel - | zel -e TEXT     run a script (file, standard input, or text)
//   zel                                  interactive loop on a terminal
//   zel --functions|--operators|--constants [--markdown]   symbol lists with help texts
//   zel --selftest                       the built-in self-test
#include <unistd.h>

#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "apps/zel/runner.h"

using namespace zel;

namespace {

int Usage() {
  std::cerr << "usage: zel [FILE | - | -e TEXT | --functions | --operators | --constants [--markdown] | "
               "--selftest]\n";
  return 2;
}

std::string ReadAll(std::istream& in) {
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    TZelExpression expr;
    if (args.empty()) {
      if (isatty(STDIN_FILENO)) return app::Repl(expr);
      app::RunScript(expr, ReadAll(std::cin), std::cout);
      return 0;
    }
    const std::string& a = args[0];
    if (a == "--functions" || a == "--operators" || a == "--constants") {
      const bool markdown = args.size() > 1 && args[1] == "--markdown";
      app::PrintSymbols(expr, a.substr(2), markdown, std::cout);
      return 0;
    }
    if (a == "--selftest") {
      expr.SelfTest();
      std::cout << "selftest passed\n";
      return 0;
    }
    if (a == "-e") {
      if (args.size() < 2) return Usage();
      app::RunScript(expr, args[1], std::cout);
      return 0;
    }
    if (a == "-") {
      app::RunScript(expr, ReadAll(std::cin), std::cout);
      return 0;
    }
    if (!a.empty() && a[0] == '-') return Usage();
    std::ifstream file(a, std::ios::binary);
    if (!file) {
      std::cerr << "error: cannot open " << a << "\n";
      return 1;
    }
    app::RunScript(expr, ReadAll(file), std::cout);
    return 0;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}
