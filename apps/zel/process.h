// Process-wide settings of the zel command: the memory cap and what Ctrl-C does.
#pragma once

#include <cstddef>

#include "script/expression.h"

namespace zel::app {

// A quarter of the physical memory: the cap a script gets unless --max-memory says otherwise.
std::size_t DefaultMemoryLimit();

// Lets the script take at most `bytes` more memory: no vector or matrix may exceed it
// (SetMaxObjectBytes, a clear "Not enough memory" error), and the address space may grow by at most
// that much (plus 128 MiB per processor for the threads of libraries) beyond what the process holds now
// (RLIMIT_AS), so many objects together cannot exceed it either. 0 sets no cap.
void LimitMemory(std::size_t bytes);

// Installs the SIGINT handler, first thing in main so that an early Ctrl-C is never lost. From then on
// Ctrl-C is recorded (see Interrupted) and asks the expression set by InterruptTarget to cancel its
// evaluation; a second Ctrl-C while that request is still pending ends the process the usual way. The
// handler does not restart interrupted system calls, so a read waiting on the terminal returns with
// EINTR and can look at Interrupted().
void CatchInterrupt();

// The expression Ctrl-C cancels; a Ctrl-C that came before is passed on to it at once.
void InterruptTarget(TZelExpression& expr);

// True when Ctrl-C was pressed since the last ClearInterrupt.
bool Interrupted();

// Ends the process the way an uncaught Ctrl-C does, for waits that have nothing to cancel.
[[noreturn]] void EndByInterrupt();
// Forgets a Ctrl-C: clears the flag and the expression's cancel request.
void ClearInterrupt();

}  // namespace zel::app
