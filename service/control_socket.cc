#include "service/control_socket.h"

#include <cstdio>
#include <exception>

#include "foundation/app_updater_error.h"
#include "foundation/app_updater_log.h"
#include "foundation/text_compare.h"
#include "platform/system_text.h"

namespace vlau {
namespace {

constexpr char kLoopback[] = "127.0.0.1";

void Add(std::string_view message, TauLogLevel level) {
  if (auLog) auLog->Add(message, level);
}

void AddFmt(std::string_view format, const FormatArgs& args, TauLogLevel level) {
  if (auLog) auLog->AddFmt(format, args, level);
}

// Host, address and port of the peer, in the order of every log line.
FormatArgs Peer(const TcpServer::Connection& c, FormatArgs before = {}) {
  before.insert(before.end(), {c.RemoteHost(), c.RemoteAddress(), c.RemotePort()});
  return before;
}

// A handler's last line of defence: nothing may escape to the socket's thread.
template <typename Step>
void Guarded(Step step) {
  try {
    step();
  } catch (const std::exception& e) {
    if (auLog) auLog->Add(e);
  } catch (...) {
  }
}

}  // namespace

ControlSocket::ControlSocket(Env* env) : env_(env), server_(TcpServer::Create(this)) {}

ControlSocket::~ControlSocket() { Close(); }

Status ControlSocket::Open(int port) {
  Close();
  return server_->Listen(kLoopback, port);
}

void ControlSocket::Close() { server_->Close(); }

int ControlSocket::ListeningPort() const { return server_->Port(); }

void ControlSocket::ServScktClientConnect(TcpServer::Connection& Socket) {
  Guarded([&] {
    if (server_->ActiveConnections() <= 1) {
      AddFmt("Connect detected: RemoteHost=%s, RemoteAddress=%s, RemotePort=%d", Peer(Socket),
             aullDetail);
      const Status sent = SendString(Socket, "Connected ok!");
      if (!sent.ok()) Add(sent.message(), aullError);
      return;
    }
    Add("One connection already exists! New connection rejected!", aullDetail);
    const Status sent = SendString(Socket, "Too many connections!");
    if (!sent.ok()) Add(sent.message(), aullError);
    Socket.Close();
  });
}

void ControlSocket::ServScktClientDisconnect(TcpServer::Connection& Socket) {
  Guarded([&] {
    AddFmt("Disconncted: RemoteHost=%s, RemoteAddress=%s, RemotePort=%d", Peer(Socket), aullDetail);
  });
}

void ControlSocket::ServScktClientError(TcpServer::Connection& Socket, int ErrorCode) {
  Guarded([&] {
    AddFmt("Error - code=%d; from: RemoteHost=%s, RemoteAddress=%s, RemotePort=%d",
           Peer(Socket, {ErrorCode}), aullDetail);
  });
  Socket.Close();
}

void ControlSocket::ServScktClientRead(TcpServer::Connection& Socket) {
  Guarded([&] {
    std::string text;
    const Status read = ReadClientString(Socket, &text);
    if (!read.ok()) {
      Add(read.message(), aullError);
      return;
    }
    AddFmt("Recieved string: %s\rfrom RemoteHost=%s, RemoteAddress=%s, RemotePort=%d",
           Peer(Socket, {text}), aullDetail);
    ExecuteCommand(Socket, text);
  });
}

Status ControlSocket::ReadClientString(TcpServer::Connection& Socket, std::string* text) {
  std::string buffer(kMaxRequest, '\0');
  size_t received = 0;
  Status s = Socket.Receive(buffer.data(), buffer.size(), &received);
  if (!s.ok()) return s;
  *text = SystemTextToUtf8(std::string_view(buffer).substr(0, received));
  if (received == kMaxRequest) {
    char extra = 0;
    size_t more = 0;
    s = Socket.Receive(&extra, 1, &more);
    if (!s.ok()) return s;
    if (more > 0) {
      Socket.Close();
      LogErrorFmt("The number of bytes exceeds the limit: %d. The client disconnected.",
                  {static_cast<int>(kMaxRequest)}, 0);
    }
  }
  return Status::OK();
}

int ControlSocket::GetCommandIndex(std::string_view text) {
  for (size_t i = 0; i < Commands.size(); ++i) {
    if (SameText(Commands[i], text)) return static_cast<int>(i);
  }
  return -1;
}

std::string ControlSocket::Answer(int command_index) {
  char buffer[32];
  const LocalTime now = env_->NowLocal();
  switch (command_index) {
    case 0:
      std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", now.year, now.month, now.day);
      return buffer;
    case 1:
      std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", now.hour, now.minute, now.second,
                    now.millisecond);
      return buffer;
    case 2:
      return "0";
    default:
      return "command unknown";
  }
}

void ControlSocket::ExecuteCommand(TcpServer::Connection& Socket, const std::string& text) {
  const std::string answer = Answer(GetCommandIndex(text));
  try {
    LogErrorFmt("Answer: %s, to RemoteHost=%s, RemoteAddress=%s, RemotePort=%d",
                Peer(Socket, {answer}), 0);
    const Status sent = SendString(Socket, answer);
    if (!sent.ok()) LogError(sent.message(), 0);
  } catch (const std::exception& e) {
    LogError(e.what(), 0);
  }
}

Status ControlSocket::SendString(TcpServer::Connection& Socket, std::string_view text) {
  return Socket.Send(Utf8ToSystemText(text));
}

}  // namespace vlau
