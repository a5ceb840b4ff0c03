#ifndef VLAU_PLATFORM_POSIX_TCP_SERVER_POSIX_H_
#define VLAU_PLATFORM_POSIX_TCP_SERVER_POSIX_H_

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/tcp_connection_posix.h"
#include "platform/tcp_server.h"

namespace vlau {

// The TcpServer of POSIX systems: a poll(2) loop on its own thread over the
// listening socket, the accepted connections and a pipe that wakes it for
// Close. Sockets are non-blocking; SIGPIPE is never raised (MSG_NOSIGNAL);
// the listening socket takes SO_REUSEADDR so that a restarted service can
// bind a port whose old connections are still winding down.
class PosixTcpServer final : public TcpServer {
 public:
  explicit PosixTcpServer(Handler* handler) : handler_(handler) {}
  ~PosixTcpServer() override { Close(); }

  Status Listen(const std::string& address, int port) override;
  void Close() override;
  int Port() const override { return port_.load(); }
  int ActiveConnections() const override;

 private:
  void Run();
  void AcceptAll();
  void Serve(PosixTcpConnection& connection, short revents);
  // Acts on what an event left behind: raises the error event, closes.
  void Settle(PosixTcpConnection& connection);
  void CloseAll();
  void CloseFds();

  Handler* handler_;
  int listen_fd_ = -1;
  int wake_read_fd_ = -1;
  int wake_write_fd_ = -1;
  std::atomic<int> port_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  // Only touched by the server's thread while it runs.
  std::vector<std::unique_ptr<PosixTcpConnection>> connections_;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_TCP_SERVER_POSIX_H_
