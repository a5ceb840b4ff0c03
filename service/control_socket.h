#ifndef VLAU_SERVICE_CONTROL_SOCKET_H_
#define VLAU_SERVICE_CONTROL_SOCKET_H_

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/tcp_server.h"

namespace vlau {

// The service's control socket: a TCP server on the loopback address through
// which a client asks for the service's local date ("Date"), time ("Time")
// and version ("Version", always "0"). One client at a time; each read of
// at most 4096 bytes is one request, matched as a whole against the command
// names without regard to letter case and answered in plain text without a
// line end ("command unknown" when it matches none). Every event is logged.
//
// Threads: Open, Close and the destructor belong to one controlling thread;
// the handlers run one at a time on the socket's own thread and share only
// the global log (auLog, which must exist while the socket is open) and the
// clock of `env` with the rest of the program.
//
// Failure: Open reports a port that cannot be listened on. Errors while
// serving a client are logged and never leave the handlers.
class ControlSocket : private TcpServer::Handler {
 public:
  static constexpr size_t kMaxRequest = 4096;
  static constexpr std::array<std::string_view, 3> Commands = {"Date", "Time", "Version"};

  // Closed. `env` is not owned and must outlive the socket.
  explicit ControlSocket(Env* env);
  ControlSocket(const ControlSocket&) = delete;
  ControlSocket& operator=(const ControlSocket&) = delete;
  // Closes the socket and waits for its thread.
  ~ControlSocket() override;

  // Listens on 127.0.0.1 at `port` (0: a free port the system chooses),
  // closing first when open. On failure the socket stays closed.
  Status Open(int port);
  // Ends every connection and stops listening; waits for the socket's thread.
  void Close();
  // The port listened on; 0 when closed.
  int ListeningPort() const;

  // The protocol's handlers, called by the socket's thread.
  void ServScktClientConnect(TcpServer::Connection& Socket);
  void ServScktClientDisconnect(TcpServer::Connection& Socket);
  void ServScktClientError(TcpServer::Connection& Socket, int ErrorCode);
  void ServScktClientRead(TcpServer::Connection& Socket);

  // Position of the command equal to the whole text without regard to
  // letter case; -1 when there is none.
  static int GetCommandIndex(std::string_view text);

 private:
  void OnClientConnect(TcpServer::Connection& c) override { ServScktClientConnect(c); }
  void OnClientDisconnect(TcpServer::Connection& c) override { ServScktClientDisconnect(c); }
  void OnClientError(TcpServer::Connection& c, int code) override { ServScktClientError(c, code); }
  void OnClientRead(TcpServer::Connection& c) override { ServScktClientRead(c); }

  // One request: what one read delivers, at most kMaxRequest bytes; closes
  // the connection when more is already waiting.
  Status ReadClientString(TcpServer::Connection& Socket, std::string* text);
  void ExecuteCommand(TcpServer::Connection& Socket, const std::string& text);
  std::string Answer(int command_index);
  static Status SendString(TcpServer::Connection& Socket, std::string_view text);

  Env* env_;
  std::unique_ptr<TcpServer> server_;
};

}  // namespace vlau

#endif  // VLAU_SERVICE_CONTROL_SOCKET_H_
