#pragma once
// The user at the keyboard, behind an interface so that tests can script the
// answers: lines of standard input, and a password typed without echo.

#include <optional>
#include <string>

namespace orvane {

class Terminal {
 public:
  virtual ~Terminal() = default;
  // Whether standard input is a terminal, so that a question can be asked.
  virtual bool Interactive() const = 0;
  // The next line of standard input without its line end; nothing at its end.
  virtual std::optional<std::string> ReadLine() = 0;
  // The same, with the terminal's echo off while it is typed.
  virtual std::optional<std::string> ReadSecret() = 0;
};

// Standard input. terminal_<platform>.cpp.
class ConsoleTerminal final : public Terminal {
 public:
  bool Interactive() const override;
  std::optional<std::string> ReadLine() override;
  std::optional<std::string> ReadSecret() override;
};

}  // namespace orvane
