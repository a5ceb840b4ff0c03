#ifndef VLAU_PLATFORM_POSIX_TCP_CONNECTION_POSIX_H_
#define VLAU_PLATFORM_POSIX_TCP_CONNECTION_POSIX_H_

#include <netinet/in.h>

#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/tcp_server.h"

namespace vlau {

// One accepted connection of the POSIX server: owns its non-blocking socket
// and the bytes still to send. Used only on the server's thread.
//
// Besides the Connection calls it records what the server acts on once an
// event has returned: a failed send or receive (failure()), the end of the
// peer's sending (peer_closed()) and a close request (Closed()).
class PosixTcpConnection final : public TcpServer::Connection {
 public:
  // Takes over `fd`, accepted from `peer` (the socket may already be reset,
  // so it is not asked again), and looks up the peer's host name.
  PosixTcpConnection(int fd, const sockaddr_in& peer);
  ~PosixTcpConnection() override;  // closes the socket if still open

  const std::string& RemoteHost() const override { return host_; }
  const std::string& RemoteAddress() const override { return address_; }
  int RemotePort() const override { return port_; }
  Status Receive(char* buffer, size_t size, size_t* received) override;
  Status Send(std::string_view data) override;
  void Close() override { close_requested_ = true; }
  bool Closed() const override { return close_requested_ || fd_ < 0; }

  int fd() const { return fd_; }
  bool WantsToWrite() const { return sent_ < output_.size(); }
  // Hands kept bytes to the system as far as it takes them.
  Status Flush();
  // Called when the system reports the socket readable or in error: looks
  // without taking anything whether a read event is due (data waiting, or
  // nothing after all), or whether the peer has ended its sending or the
  // connection has failed, which it records.
  bool ReadEventDue(bool error_reported);

  // The system's error code of the first failed operation; 0 when none.
  int failure() const { return failure_; }
  bool peer_closed() const { return peer_closed_; }
  // Closes the socket.
  void CloseSocket();

 private:
  Status Fail(std::string_view action, int error_number);
  std::string Where() const;

  int fd_;
  std::string host_;
  std::string address_;
  int port_ = 0;
  std::string output_;
  size_t sent_ = 0;
  bool close_requested_ = false;
  bool peer_closed_ = false;
  int failure_ = 0;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_POSIX_TCP_CONNECTION_POSIX_H_
