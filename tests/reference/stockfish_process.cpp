#include "tests/reference/stockfish_process.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace reference {

std::string StockfishProcess::Find() {
  // Debian puts games outside the usual PATH of a build.
  const std::string candidates[] = {"/usr/games/stockfish", "/usr/bin/stockfish"};
  for (const std::string &candidate : candidates) {
    if (access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return {};
}

StockfishProcess::StockfishProcess(const std::string &program) {
  // A child that dies must show as a failed read, not end the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0)
    return;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  char *const arguments[] = {const_cast<char *>(program.c_str()), nullptr};
  const bool spawned =
      posix_spawn(&child_, program.c_str(), &actions, nullptr, arguments, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  toChild_ = in[1];
  fromChild_ = out[0];
  if (!spawned) {
    child_ = -1;
    return;
  }
  Send("uci\n");
  for (auto line = ReadLine(); line; line = ReadLine()) {
    if (*line == "uciok")
      return;
  }
  child_ = -1;
}

StockfishProcess::~StockfishProcess() {
  if (child_ > 0)
    Send("quit\n");
  if (toChild_ >= 0)
    close(toChild_);
  if (fromChild_ >= 0)
    close(fromChild_);
  if (child_ > 0) {
    int status = 0;
    waitpid(child_, &status, 0);
  }
}

std::optional<std::uint64_t> StockfishProcess::Perft(const std::string &fen, int depth) {
  if (!Send("position fen " + fen + "\ngo perft " + std::to_string(depth) + "\n"))
    return std::nullopt;
  constexpr std::string_view kTotal = "Nodes searched: ";
  for (auto line = ReadLine(); line; line = ReadLine()) {
    if (line->starts_with(kTotal))
      return std::strtoull(line->c_str() + kTotal.size(), nullptr, 10);
  }
  return std::nullopt;
}

bool StockfishProcess::Send(const std::string &text) {
  std::string_view rest = text;
  while (!rest.empty()) {
    const ssize_t n = write(toChild_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::optional<std::string> StockfishProcess::ReadLine() {
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      return line;
    }
    std::array<char, 4096> buffer;
    const ssize_t n = read(fromChild_, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return std::nullopt;
    pending_.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

} // namespace reference
