#pragma once
// The user at the keyboard, behind an interface so that tests can script the
// answers: lines of standard input, and a password.

#include <optional>
#include <string>

#include "text/secret.h"

namespace orvane {

class Terminal {
 public:
  virtual ~Terminal() = default;
  // Whether standard input is a terminal, so that a question can be asked.
  virtual bool Interactive() const = 0;
  // The next line of standard input without its line end; nothing at its end.
  virtual std::optional<std::string> ReadLine() = 0;
  // The same for a password, straight into a Secret; with hidden, the
  // terminal's echo is off while it is typed.
  virtual std::optional<Secret> ReadSecret(bool hidden) = 0;
};

// Standard input, read a byte at a time with the system's own reads: no
// buffer of the C or C++ library ever holds a line, the password's above all,
// nor takes more than the line asked for. terminal.cpp and
// terminal_<platform>.cpp.
class ConsoleTerminal final : public Terminal {
 public:
  bool Interactive() const override;
  std::optional<std::string> ReadLine() override;
  std::optional<Secret> ReadSecret(bool hidden) override;
};

// The platform's parts. The next byte of standard input; false at its end or
// on an error.
bool ReadInputByte(char& byte);

// Turns the terminal's echo off for its lifetime, when standard input is a
// terminal, and turns it back on also when the program is interrupted (Ctrl-C)
// meanwhile.
class HiddenInput {
 public:
  HiddenInput();
  ~HiddenInput();
  HiddenInput(const HiddenInput&) = delete;
  HiddenInput& operator=(const HiddenInput&) = delete;

 private:
  bool active_ = false;
};

}  // namespace orvane
