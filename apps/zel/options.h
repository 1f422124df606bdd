// The command line of zel: what to do (run a script, list symbols, ...) and the limits a run gets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel::app {

// What the command line asks for.
enum class TCommand { Run, Symbols, SelfTest, Help, Version };

// Where a script comes from.
enum class TSource { Default, File, StandardInput, Text };

struct TOptions {
  TCommand command = TCommand::Run;
  TSource source = TSource::Default;     // Default: standard input, or the interactive loop on a terminal
  std::string file;                      // TSource::File
  std::string text;                      // TSource::Text (-e)
  std::string symbols;                   // TCommand::Symbols: "functions", "operators" or "constants"
  bool markdown = false;                 // symbol lists as Markdown tables
  bool all = false;                      // function list with the words the compiler rewrites syntax into
  std::uint64_t maxSteps = 0;            // 0: no limit
  std::optional<std::size_t> maxMemory;  // unset: the default cap; 0: no cap
  bool noFiles = false;                  // scripts get no file or directory words
};

// A command line that cannot be run; the message names the offending argument.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the arguments (without the program name). Raises TUsageError.
TOptions ParseOptions(const std::vector<std::string>& args);

// A byte count: digits with an optional K, M, G or T suffix (powers of 1024), e.g. "64M", "2G", "4096".
// Raises TUsageError naming `option` for anything else.
std::size_t ParseSize(const std::string& text, const std::string& option);

// The text --help prints.
std::string UsageText();

}  // namespace zel::app
