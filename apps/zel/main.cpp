// zel: runs scripts of the language (see UsageText in options.cpp for the command line).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "apps/zel/options.h"
#include "apps/zel/process.h"
#include "apps/zel/repl.h"
#include "apps/zel/runner.h"
#include "apps/zel/symbols.h"

using namespace zel;
using namespace zel::app;

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as shells report it

// Thrown when the script cannot be read; the message ends with the system's reason.
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads a whole file descriptor; `name` is for the message.
std::string ReadAll(int fd, const std::string& name) {
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) throw InputError(name + ": " + std::strerror(EISDIR));
  std::string text;
  char buffer[65536];
  while (true) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) return text;
    if (n < 0) {
      if (errno != EINTR) throw InputError(name + ": " + std::strerror(errno));
      if (Interrupted()) EndByInterrupt();
      continue;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
}

// Reads a whole file; errors name the file and give the system's reason.
std::string ReadFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw InputError(path + ": " + std::strerror(errno));
  try {
    std::string text = ReadAll(fd, path);
    close(fd);
    return text;
  } catch (...) {
    close(fd);
    throw;
  }
}

// Standard output for a script run: buffered writes to file descriptor 1 that keep the reason of the
// first failed write (a full disk, a closed pipe); after it the stream is bad and the run stops.
class FdOutput : public std::streambuf {
 public:
  FdOutput() { setp(fBuffer, fBuffer + sizeof fBuffer); }
  // errno of the first failed write, or 0.
  int Failure() const { return fFailure; }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (c != traits_type::eof()) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  // Writes the buffered bytes; false once a write has failed.
  bool Drain() {
    const char* p = pbase();
    while (fFailure == 0 && p < pptr()) {
      const ssize_t n = write(STDOUT_FILENO, p, static_cast<size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fFailure = n < 0 ? errno : EIO;
      if (n > 0) p += n;
    }
    setp(fBuffer, fBuffer + sizeof fBuffer);
    return fFailure == 0;
  }

  char fBuffer[1 << 16];
  int fFailure = 0;
};

// Carries out the command line with the memory cap and step budget applied; returns the exit status.
int Run(const TOptions& o, std::ostream& out) {
  LimitMemory(o.maxMemory.value_or(DefaultMemoryLimit()));
  TZelExpression expr;
  expr.SetMaxSteps(o.maxSteps);
  expr.SetFileAccess(!o.noFiles);
  switch (o.command) {
    case TCommand::Help:
      out << UsageText();
      return 0;
    case TCommand::Version:
      out << "zel " << ZEL_VERSION << '\n';
      return 0;
    case TCommand::Symbols:
      PrintSymbols(expr, o.symbols, o.markdown, o.all, out);
      return 0;
    case TCommand::SelfTest:
      expr.SelfTest();
      out << "selftest passed\n";
      return 0;
    case TCommand::Run:
      break;
  }
  if (o.source == TSource::Default && isatty(STDIN_FILENO)) return Repl(expr);
  std::string origin, text;
  switch (o.source) {
    case TSource::File:
      origin = o.file;
      text = ReadFile(o.file);
      break;
    case TSource::Text:
      origin = "-e";
      text = o.text;
      break;
    default:
      origin = "-";
      text = ReadAll(STDIN_FILENO, "standard input");
      break;
  }
  InterruptTarget(expr);
  switch (RunScript(expr, origin, text, out, std::cerr)) {
    case TRunResult::Completed:
      return 0;
    case TRunResult::Failed:
      return kExitError;
    case TRunResult::Cancelled:
      return kExitInterrupted;
  }
  return kExitError;
}

}  // namespace

int main(int argc, char** argv) {
  CatchInterrupt();
  TOptions options;
  try {
    options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const TUsageError& e) {
    std::cerr << "zel: " << e.what() << "\nTry 'zel --help' for more information.\n";
    return kExitUsage;
  }
  // Script runs write through FdOutput so that a failed write is noticed with its reason; the interactive
  // loop keeps the terminal's line-buffered standard output.
  FdOutput output;
  std::ostream scriptOut(&output);
  int status = 0;
  try {
    status = Run(options, scriptOut);
  } catch (const InputError& e) {
    std::cerr << "zel: " << e.what() << '\n';
    status = kExitError;
  } catch (const std::exception& e) {
    scriptOut.flush();
    std::cerr << "zel: error: " << e.what() << '\n';
    status = kExitError;
  }
  scriptOut.flush();
  std::cout.flush();
  if (output.Failure() == 0) return status;
  std::cerr << "zel: cannot write standard output: " << std::strerror(output.Failure()) << '\n';
  return status == 0 ? kExitError : status;
}
