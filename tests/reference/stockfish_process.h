// Debian's stockfish as a second opinion on move generation: one long-lived child process that
// answers "go perft" for one position after another.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <sys/types.h>

namespace reference {

class StockfishProcess {
public:
  // The program's path, or empty when it is not installed.
  static std::string Find();

  // Starts the program and waits for its handshake; Running() tells whether that worked.
  explicit StockfishProcess(const std::string &program);
  ~StockfishProcess();
  StockfishProcess(const StockfishProcess &) = delete;
  StockfishProcess &operator=(const StockfishProcess &) = delete;

  bool Running() const { return child_ > 0; }

  // Leaf count of the legal move tree of `fen` to `depth`; nullopt when the program ended or
  // answered something else.
  std::optional<std::uint64_t> Perft(const std::string &fen, int depth);

private:
  bool Send(const std::string &text);
  // The next line the program writes, without its line end; nullopt at the end of its output.
  std::optional<std::string> ReadLine();

  pid_t child_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string pending_;
};

} // namespace reference
