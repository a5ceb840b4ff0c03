#include "platform/posix/tcp_connection_posix.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/posix/posix_error.h"

namespace vlau {

PosixTcpConnection::PosixTcpConnection(int fd, const sockaddr_in& a) : fd_(fd) {
  if (a.sin_family != AF_INET) return;
  char address[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &a.sin_addr, address, sizeof address)) address_ = address;
  port_ = ntohs(a.sin_port);
  char host[NI_MAXHOST] = {};
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&a), sizeof a, host, sizeof host, nullptr, 0,
                  NI_NAMEREQD) == 0) {
    host_ = host;
  }
}

PosixTcpConnection::~PosixTcpConnection() { CloseSocket(); }

void PosixTcpConnection::CloseSocket() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
}

std::string PosixTcpConnection::Where() const { return address_ + ":" + std::to_string(port_); }

Status PosixTcpConnection::Fail(std::string_view action, int error_number) {
  if (failure_ == 0) failure_ = error_number;
  return ErrnoStatus(action, Where(), error_number);
}

Status PosixTcpConnection::Receive(char* buffer, size_t size, size_t* received) {
  *received = 0;
  if (Closed() || failure_ != 0 || size == 0) return Status::OK();
  ssize_t n;
  do {
    n = recv(fd_, buffer, size, MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    *received = static_cast<size_t>(n);
  } else if (n == 0) {
    peer_closed_ = true;
  } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
    return Fail("receive from", errno);
  }
  return Status::OK();
}

Status PosixTcpConnection::Send(std::string_view data) {
  if (Closed() || failure_ != 0) return Status::OK();
  output_.append(data);
  return Flush();
}

Status PosixTcpConnection::Flush() {
  while (fd_ >= 0 && failure_ == 0 && sent_ < output_.size()) {
    const ssize_t n =
        send(fd_, output_.data() + sent_, output_.size() - sent_, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) {
      sent_ += static_cast<size_t>(n);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return Status::OK();  // the rest goes when the socket is writable again
    } else if (errno != EINTR) {
      return Fail("send to", errno);
    }
  }
  output_.clear();
  sent_ = 0;
  return Status::OK();
}

bool PosixTcpConnection::ReadEventDue(bool error_reported) {
  if (error_reported) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error != 0) {
      Fail("connection to", error);
      return false;
    }
  }
  char byte;
  ssize_t n;
  do {
    n = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n == 0) {
    peer_closed_ = true;
    return false;
  }
  if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
    Fail("receive from", errno);
    return false;
  }
  return true;
}

}  // namespace vlau
