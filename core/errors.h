// Exceptions of the numeric core and the printf-style message helper used across the project.
#pragma once

#include <stdexcept>
#include <string>

namespace zel {

// The core's exception; every error the core raises on purpose is one of these.
class ENubraException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Index and bounds errors.
class ENubraRangeError : public ENubraException {
 public:
  using ENubraException::ENubraException;
};

// Integer arithmetic that does not fit into 64 bits.
class EIntOverflow : public std::overflow_error {
 public:
  EIntOverflow() : std::overflow_error("Integer overflow") {}
};

// Integer division (or remainder) by zero.
class EDivByZero : public std::domain_error {
 public:
  EDivByZero() : std::domain_error("Division by zero") {}
};

// Raises ENubraException with the message.
[[noreturn]] void ERaise(const std::string& msg);

// printf-style formatting into a std::string.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zel
