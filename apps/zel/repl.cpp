// The interactive loop on a terminal: readline's callback interface, so that Ctrl-C at the prompt can
// discard the line or block being typed while Ctrl-C during a statement cancels it; Tab completes symbol
// names; the history is kept in ~/.zel_history between sessions.
#include <poll.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "apps/zel/process.h"
#include "apps/zel/repl.h"
#include "apps/zel/session.h"

namespace zel::app {

namespace {

constexpr int kHistoryLines = 1000;

TReplSession* gSession = nullptr;  // for the completion callback
std::string gLine;                 // the line readline handed over
bool gLineReady = false;
bool gEndOfInput = false;

// Readline's line callback: keeps the line and gives the terminal back for the statement's output.
extern "C" void OnLine(char* raw) {
  gLineReady = true;
  gEndOfInput = raw == nullptr;
  if (raw) {
    gLine = raw;
    std::free(raw);
  }
  rl_callback_handler_remove();
}

// Hands readline the completion candidates one by one (it frees them).
char* NextCompletion(const char* text, int state) {
  static std::vector<std::string> matches;
  static size_t next = 0;
  if (state == 0) {
    matches = gSession->Completions(text);
    next = 0;
  }
  return next < matches.size() ? strdup(matches[next++].c_str()) : nullptr;
}

// Completes symbol names, never file names.
char** Complete(const char* text, int, int) {
  rl_attempted_completion_over = 1;
  return rl_completion_matches(text, NextCompletion);
}

enum class Input { Line, Interrupted, End };

// Reads one line with `prompt`. Ctrl-C drops what was typed of it.
Input ReadLine(const char* prompt, std::string& line) {
  gLineReady = gEndOfInput = false;
  rl_callback_handler_install(prompt, OnLine);
  while (!gLineReady) {
    if (Interrupted()) {
      rl_free_line_state();
      rl_callback_sigcleanup();
      rl_callback_handler_remove();
      std::cout << '\n';
      return Input::Interrupted;
    }
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, -1) < 0) {
      if (errno == EINTR) continue;
      rl_callback_handler_remove();
      return Input::End;
    }
    rl_callback_read_char();
  }
  if (gEndOfInput) return Input::End;
  line = gLine;
  return Input::Line;
}

// ~/.zel_history, or "" without a home directory.
std::string HistoryFile() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) + "/.zel_history" : "";
}

}  // namespace

int Repl(TZelExpression& expr) {
  TReplSession session(expr);
  gSession = &session;
  rl_readline_name = "zel";
  rl_catch_signals = 0;  // our handler takes SIGINT, also while a line is typed
  rl_attempted_completion_function = Complete;
  rl_basic_word_break_characters = const_cast<char*>(" \t\n\"'`$@><=;|&{}()[],+-*/^:!~%\\");
  const std::string history = HistoryFile();
  stifle_history(kHistoryLines);
  if (!history.empty()) read_history(history.c_str());  // no file yet is fine
  InterruptTarget(expr);
  std::cout << "zel " << ZEL_VERSION << ": type help for help, exit or Ctrl-D to leave.\n";
  while (true) {
    ClearInterrupt();
    std::string line;
    const Input in = ReadLine(session.Prompt(), line);
    if (in == Input::End) {
      std::cout << '\n';
      break;
    }
    if (in == Input::Interrupted) {
      if (session.DiscardBlock()) std::cout << "(block discarded)\n";
      continue;
    }
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    if (session.HandleLine(line, std::cout, std::cerr) == TReplSession::TAction::Quit) break;
    std::cout.flush();
  }
  if (!history.empty() && write_history(history.c_str()) == 0)
    history_truncate_file(history.c_str(), kHistoryLines);  // a history that cannot be written is skipped
  return 0;
}

}  // namespace zel::app
