// Parsing the command line of zel: options in any order, each value either as the next argument or after
// "=", and every argument that cannot be used refused by name.
#include "apps/zel/options.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace zel::app {

namespace {

// Reads a non-negative decimal integer spanning the whole text; false for anything else.
bool ParseCount(const std::string& text, std::uint64_t& value) {
  if (text.empty()) return false;
  const char* last = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), last, value);
  return ec == std::errc() && ptr == last;
}

// The arguments and the position of the next one to read.
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : fArgs(args) {}
  bool Done() const { return fPos >= fArgs.size(); }
  const std::string& Next() { return fArgs[fPos++]; }
  // The value of an option: after "=" in the same argument, or the next argument.
  std::string ValueOf(const std::string& option, const std::string* inlineValue) {
    if (inlineValue) return *inlineValue;
    if (Done()) throw TUsageError("option '" + option + "' needs a value");
    return Next();
  }

 private:
  const std::vector<std::string>& fArgs;
  size_t fPos = 0;
};

// Records the script source, refusing a second one.
void SetSource(TOptions& o, TSource source, const std::string& arg) {
  if (o.source != TSource::Default || o.command != TCommand::Run)
    throw TUsageError("unexpected argument '" + arg + "'");
  o.source = source;
}

// Records a command other than running a script, refusing a second command or a script source.
void SetCommand(TOptions& o, TCommand command, const std::string& arg) {
  if (o.command != TCommand::Run || o.source != TSource::Default)
    throw TUsageError("unexpected argument '" + arg + "'");
  o.command = command;
}

}  // namespace

std::size_t ParseSize(const std::string& text, const std::string& option) {
  std::string digits = text;
  std::uint64_t scale = 1;
  if (!digits.empty() && std::isalpha(static_cast<unsigned char>(digits.back()))) {
    switch (std::toupper(static_cast<unsigned char>(digits.back()))) {
      case 'K':
        scale = 1ull << 10;
        break;
      case 'M':
        scale = 1ull << 20;
        break;
      case 'G':
        scale = 1ull << 30;
        break;
      case 'T':
        scale = 1ull << 40;
        break;
      default:
        scale = 0;
        break;
    }
    digits.pop_back();
  }
  std::uint64_t value = 0;
  if (scale == 0 || !ParseCount(digits, value) || value > std::numeric_limits<std::size_t>::max() / scale)
    throw TUsageError("invalid size '" + text + "' for " + option + " (examples: 64M, 2G, 1048576)");
  return static_cast<std::size_t>(value * scale);
}

TOptions ParseOptions(const std::vector<std::string>& args) {
  TOptions o;
  ArgReader in(args);
  bool optionsEnded = false;
  bool modifiers = false;  // --markdown or --all seen
  while (!in.Done()) {
    const std::string arg = in.Next();
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      if (arg == "-" && !optionsEnded) {
        SetSource(o, TSource::StandardInput, arg);
      } else {
        SetSource(o, TSource::File, arg);
        o.file = arg;
      }
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::string inlineText = eq == std::string::npos ? "" : arg.substr(eq + 1);
    const std::string* inlineValue = eq == std::string::npos ? nullptr : &inlineText;
    if (name == "--max-steps") {
      const std::string v = in.ValueOf(name, inlineValue);
      if (!ParseCount(v, o.maxSteps)) throw TUsageError("invalid count '" + v + "' for --max-steps");
      continue;
    }
    if (name == "--max-memory") {
      o.maxMemory = ParseSize(in.ValueOf(name, inlineValue), "--max-memory");
      continue;
    }
    if (inlineValue) throw TUsageError("unknown option '" + arg + "'");
    if (arg == "-e") {
      SetSource(o, TSource::Text, arg);
      o.text = in.ValueOf(arg, nullptr);
    } else if (arg == "--help" || arg == "-h") {
      SetCommand(o, TCommand::Help, arg);
    } else if (arg == "--version") {
      SetCommand(o, TCommand::Version, arg);
    } else if (arg == "--selftest") {
      SetCommand(o, TCommand::SelfTest, arg);
    } else if (arg == "--functions" || arg == "--operators" || arg == "--constants") {
      SetCommand(o, TCommand::Symbols, arg);
      o.symbols = arg.substr(2);
    } else if (arg == "--no-files") {
      o.noFiles = true;
    } else if (arg == "--markdown") {
      o.markdown = modifiers = true;
    } else if (arg == "--all") {
      o.all = modifiers = true;
    } else {
      throw TUsageError("unknown option '" + arg + "'");
    }
  }
  if (modifiers && o.command != TCommand::Symbols)
    throw TUsageError("--markdown and --all go with --functions, --operators or --constants");
  if (o.all && o.symbols != "functions") throw TUsageError("--all goes with --functions");
  return o;
}

std::string UsageText() {
  return R"(usage: zel [--max-steps N] [--max-memory SIZE] [--no-files] [FILE | - | -e TEXT]
       zel --functions [--all] [--markdown] | --operators [--markdown] | --constants [--markdown]
       zel --selftest | --help | --version

Runs a zel script; every line that does not end with ";" prints its value. Without FILE the script
is read from standard input, or an interactive session starts when standard input is a terminal.

  FILE               run the script in FILE
  -                  run the script read from standard input
  -e TEXT            run TEXT (lines separated by newlines)
  --max-steps N      stop a run after N evaluated lines (default: no limit)
  --max-memory SIZE  memory a script may take, as bytes or with K, M, G, T (64M, 2G); 0 for no
                     limit (default: a quarter of the physical memory)
  --no-files         no file or directory words (FileOpen, csvRead, FileDelete, ...): for scripts
                     that must not touch files; with --max-steps for untrusted scripts
  --functions        list the functions a script calls, with their help texts; --all adds the words
                     the compiler rewrites syntax into (select, assign, colconcat, rowconcat, endfor)
  --operators        list the operators
  --constants        list the constants
  --markdown         print the lists as Markdown tables
  --selftest         run the built-in self-test
  --help             print this text
  --version          print the version

Errors read FILE:LINE: error: MESSAGE, followed by the line. Ctrl-C stops the running statement.
Exit status: 0 success, 1 error in the script or its input, 2 bad command line, 130 interrupted.
)";
}

}  // namespace zel::app
