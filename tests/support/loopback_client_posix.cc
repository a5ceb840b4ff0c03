#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "tests/support/loopback_client.h"

namespace vlau {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

int PortOf(int fd) {
  sockaddr_in a{};
  socklen_t length = sizeof a;
  if (fd < 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) return 0;
  return ntohs(a.sin_port);
}

}  // namespace

bool LoopbackClient::Connect(int port) {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in a = Loopback(port);
  if (fd_ >= 0 && connect(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return true;
  Close();
  return false;
}

int LoopbackClient::LocalPort() const { return PortOf(fd_); }

bool LoopbackClient::Send(std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string LoopbackClient::Read(size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string data;
  while (fd_ >= 0 && data.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[65536];
    const ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, count - data.size()), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(buffer, static_cast<size_t>(n));
  }
  return data;
}

bool LoopbackClient::WaitClosed(std::chrono::milliseconds timeout, std::string* rest) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (fd_ >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    if (rest) rest->append(buffer, static_cast<size_t>(n));
  }
  return true;
}

void LoopbackClient::ShutdownSending() {
  if (fd_ >= 0) shutdown(fd_, SHUT_WR);
}

void LoopbackClient::Reset() {
  if (fd_ < 0) return;
  const linger abort_on_close{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
  Close();
}

void LoopbackClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in a = Loopback(0);
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) port = PortOf(fd);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace vlau
