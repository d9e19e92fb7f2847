// Test doubles for the online update's results page, all on 127.0.0.1:
// the project's scripts/results-server run as a child process on a free
// port, a server that accepts connections and never answers, and a port
// that refuses connections.
#ifndef ZEPHYRSTAT_TESTS_SUPPORT_RESULTS_SERVER_H_
#define ZEPHYRSTAT_TESTS_SUPPORT_RESULTS_SERVER_H_

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zs::testing {

// Runs `script` (scripts/results-server) with python3, serving `history` (a
// history text file or a folder of them) with `extraArgs` appended. Returns
// once the server listens; throws std::runtime_error when it does not
// within a few seconds. The server is stopped when the object goes.
class ResultsServer {
 public:
  ResultsServer(const std::filesystem::path& script, const std::filesystem::path& history,
                const std::vector<std::string>& extraArgs = {});
  ~ResultsServer();
  ResultsServer(const ResultsServer&) = delete;
  ResultsServer& operator=(const ResultsServer&) = delete;

  int port() const { return port_; }
  // The ResultsUrl template that addresses this server.
  std::string UrlTemplate() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// A listening socket that completes connections but never reads or writes.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  int port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// A loopback port with nothing listening on it (bound once, then released).
int ClosedPort();

// "http://127.0.0.1:PORT/{code}/?n={n}"
std::string UrlTemplateForPort(int port);

}  // namespace zs::testing

#endif  // ZEPHYRSTAT_TESTS_SUPPORT_RESULTS_SERVER_H_
