#ifndef VLAU_TESTS_SUPPORT_LOOPBACK_CLIENT_H_
#define VLAU_TESTS_SUPPORT_LOOPBACK_CLIENT_H_

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace vlau {

// A plain blocking TCP client on 127.0.0.1 for tests of servers. Every wait
// is bounded by a time-out.
class LoopbackClient {
 public:
  LoopbackClient() = default;
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;
  ~LoopbackClient() { Close(); }

  // False when nothing listens on the port.
  bool Connect(int port);
  // The client's own port; 0 when not connected.
  int LocalPort() const;
  // Sends all bytes in one call.
  bool Send(std::string_view data);
  // Reads until `count` bytes have come, the server has closed, or the
  // time-out has passed; returns what came.
  std::string Read(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Reads until the server closes or resets the connection; false when it
  // is still open after the time-out. What came before is kept in `rest`.
  bool WaitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(5),
                  std::string* rest = nullptr);
  // Ends its sending; the connection stays open for reading.
  void ShutdownSending();
  // Closes with a reset instead of an orderly end.
  void Reset();
  void Close();

 private:
  int fd_ = -1;
};

// A loopback port nothing listened on a moment ago.
int FreeLoopbackPort();

}  // namespace vlau

#endif  // VLAU_TESTS_SUPPORT_LOOPBACK_CLIENT_H_
