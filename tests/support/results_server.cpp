#include "tests/support/results_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace zs::testing {
namespace {

constexpr int kStartTimeoutMs = 10000;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// A TCP socket bound to 127.0.0.1 on a port the system picks.
int BindLoopback(int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    Fail("bind");
  }
  *port = ntohs(address.sin_port);
  return fd;
}

// Reads the server's first line, "listening on http://HOST:PORT/".
std::string ReadFirstLine(int fd) {
  std::string line;
  char c = 0;
  while (line.find('\n') == std::string::npos) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, kStartTimeoutMs) <= 0)
      throw std::runtime_error("results-server did not start");
    if (read(fd, &c, 1) != 1) throw std::runtime_error("results-server ended: " + line);
    line += c;
  }
  return line;
}

}  // namespace

ResultsServer::ResultsServer(const std::filesystem::path& script,
                             const std::filesystem::path& history,
                             const std::vector<std::string>& extraArgs) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) Fail("pipe");
  std::vector<std::string> args = {"python3", script.string(), "--history", history.string(),
                                   "--host",  "127.0.0.1",     "--port",    "0",
                                   "--quiet"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_ = fork();
  if (pid_ < 0) Fail("fork");
  if (pid_ == 0) {
    dup2(out[1], STDOUT_FILENO);
    execvp("python3", argv.data());
    _exit(127);
  }
  close(out[1]);
  try {
    const std::string line = ReadFirstLine(out[0]);
    const size_t colon = line.rfind(':');
    port_ = colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
    if (port_ <= 0) throw std::runtime_error("results-server said: " + line);
  } catch (...) {
    close(out[0]);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    throw;
  }
  // The server writes nothing more to stdout; a closed pipe is harmless.
  close(out[0]);
}

ResultsServer::~ResultsServer() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::string ResultsServer::UrlTemplate() const { return UrlTemplateForPort(port_); }

SilentServer::SilentServer() {
  socket_ = BindLoopback(&port_);
  // The kernel completes connections into the backlog; nobody ever answers.
  if (listen(socket_, 16) != 0) {
    close(socket_);
    Fail("listen");
  }
}

SilentServer::~SilentServer() { close(socket_); }

int ClosedPort() {
  int port = 0;
  close(BindLoopback(&port));
  return port;
}

std::string UrlTemplateForPort(int port) {
  return "http://127.0.0.1:" + std::to_string(port) + "/{code}/?n={n}";
}

}  // namespace zs::testing
