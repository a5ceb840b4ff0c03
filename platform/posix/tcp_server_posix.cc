#include "platform/posix/tcp_server_posix.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/posix/posix_error.h"

namespace vlau {

namespace {

// A non-blocking socket listening at `local`; `where` names it in messages.
Status OpenListener(const sockaddr_in& local, const std::string& where, int* fd, int* port) {
  *fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (*fd < 0) return ErrnoStatus("socket for", where, errno);
  const int on = 1;
  setsockopt(*fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (bind(*fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    return ErrnoStatus("bind", where, errno);
  }
  if (listen(*fd, SOMAXCONN) != 0) return ErrnoStatus("listen on", where, errno);
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  if (getsockname(*fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    return ErrnoStatus("getsockname", where, errno);
  }
  *port = ntohs(bound.sin_port);
  return Status::OK();
}

}  // namespace

std::unique_ptr<TcpServer> TcpServer::Create(Handler* handler) {
  return std::make_unique<PosixTcpServer>(handler);
}

Status PosixTcpServer::Listen(const std::string& address, int port) {
  const std::string where = address + ":" + std::to_string(port);
  if (thread_.joinable()) return Status::Error("listen on " + where + ": already listening");
  if (port < 0 || port > 65535) return Status::Error("listen on " + where + ": invalid port");
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
    return Status::Error("listen on " + where + ": invalid address");
  }

  int bound_port = 0;
  Status result = OpenListener(local, where, &listen_fd_, &bound_port);
  int wake[2];
  if (result.ok() && pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
    result = ErrnoStatus("pipe for", where, errno);
  } else if (result.ok()) {
    wake_read_fd_ = wake[0];
    wake_write_fd_ = wake[1];
    stopping_.store(false);
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
      result = Status::Error("listen on " + where + ": " + e.what(), e.code().value());
    }
  }
  if (!result.ok()) {
    CloseFds();
    return result;
  }
  port_.store(bound_port);
  return Status::OK();
}

void PosixTcpServer::Close() {
  if (!thread_.joinable()) return;
  stopping_.store(true);
  const char wake = 0;
  while (write(wake_write_fd_, &wake, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  CloseFds();
  port_.store(0);
}

void PosixTcpServer::CloseFds() {
  for (int* fd : {&listen_fd_, &wake_read_fd_, &wake_write_fd_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

int PosixTcpServer::ActiveConnections() const {
  return static_cast<int>(std::count_if(connections_.begin(), connections_.end(),
                                        [](const auto& c) { return !c->Closed(); }));
}

void PosixTcpServer::Run() {
  std::vector<pollfd> fds;
  std::vector<PosixTcpConnection*> polled;
  while (!stopping_.load()) {
    fds.assign({{wake_read_fd_, POLLIN, 0}, {listen_fd_, POLLIN, 0}});
    polled.clear();
    for (const auto& c : connections_) {
      const short events = POLLIN | (c->WantsToWrite() ? POLLOUT : 0);
      fds.push_back({c->fd(), events, 0});
      polled.push_back(c.get());
    }
    if (poll(fds.data(), fds.size(), -1) < 0) continue;  // EINTR: poll again
    if (fds[0].revents != 0) {
      char drain[16];
      while (read(wake_read_fd_, drain, sizeof drain) > 0) {
      }
      if (stopping_.load()) break;
    }
    // Ends noticed in this round are settled before new clients are
    // counted, so a client that reconnects right away is not turned down.
    for (size_t i = 0; i < polled.size(); ++i) {
      if (fds[i + 2].revents != 0) Serve(*polled[i], fds[i + 2].revents);
    }
    if (fds[1].revents != 0) AcceptAll();
    std::erase_if(connections_, [](const auto& c) { return c->fd() < 0; });
  }
  CloseAll();
}

void PosixTcpServer::AcceptAll() {
  while (true) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = accept4(listen_fd_, reinterpret_cast<sockaddr*>(&peer), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      // Out of descriptors: the listening socket stays readable, so pause
      // rather than spin until a connection ends.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
      return;
    }
    connections_.push_back(std::make_unique<PosixTcpConnection>(fd, peer));
    PosixTcpConnection& connection = *connections_.back();
    handler_->OnClientConnect(connection);
    Settle(connection);
  }
}

void PosixTcpServer::Serve(PosixTcpConnection& connection, short revents) {
  if (connection.Closed()) return;
  if (revents & POLLOUT) connection.Flush();
  if (connection.failure() == 0 && (revents & (POLLIN | POLLHUP | POLLERR)) &&
      connection.ReadEventDue((revents & POLLERR) != 0)) {
    handler_->OnClientRead(connection);
  }
  Settle(connection);
}

void PosixTcpServer::Settle(PosixTcpConnection& connection) {
  if (!connection.Closed() && connection.failure() != 0) {
    handler_->OnClientError(connection, connection.failure());
    connection.Close();
  }
  if (connection.peer_closed()) connection.Close();
  if (connection.Closed() && connection.fd() >= 0) {
    connection.CloseSocket();
    handler_->OnClientDisconnect(connection);
  }
}

void PosixTcpServer::CloseAll() {
  for (const auto& c : connections_) {
    c->Close();
    Settle(*c);
  }
  connections_.clear();
}

}  // namespace vlau
