// A CUPS scheduler of the test's own: its configuration, spool and a local
// socket in a folder of the test's, started in the foreground and
// stopped by its process id. Clients find it through CUPS_SERVER.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateCupsServer {
 public:
  // Starts cupsd in `folder` (made afresh); Running() tells whether it came up.
  explicit PrivateCupsServer(const std::string& folder);
  ~PrivateCupsServer();
  PrivateCupsServer(const PrivateCupsServer&) = delete;
  PrivateCupsServer& operator=(const PrivateCupsServer&) = delete;

  bool Running() const { return pid_ > 0; }
  // Why the server could not start (the scheduler's own error log included).
  const std::string& Problem() const { return problem_; }
  const std::string& Socket() const { return socket_; }
  // Runs a CUPS command line against this server; its exit code, output in out.
  int Run(const std::string& command, std::string* out = nullptr) const;

 private:
  // Stops the scheduler by its process id.
  void Stop();

  std::string folder_, socket_, problem_;
  std::string spool_;  // spool and temporary files, under /tmp
  pid_t pid_ = -1;
};
