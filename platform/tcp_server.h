#ifndef VLAU_PLATFORM_TCP_SERVER_H_
#define VLAU_PLATFORM_TCP_SERVER_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace vlau {

// A non-blocking TCP server serving all its connections from one thread of
// its own, which calls the handler's events one at a time: a client
// connected, data readable, an error on a connection, a connection ended.
//
// Ownership: the handler is not owned and must outlive the server; a
// Connection passed to an event belongs to the server and is valid only
// during that call.
//
// Threads: Listen, Close and the destructor are called from one controlling
// thread, never from a handler (Close waits for the server's thread). Port
// may be read from any thread; ActiveConnections only from a handler.
//
// Failure: Listen reports what the system refused. Errors on a connection
// never reach the controlling thread: they become an error event, after
// which the server closes the connection.
class TcpServer {
 public:
  // One accepted client connection.
  class Connection {
   public:
    virtual ~Connection() = default;

    // The peer: its host name by reverse lookup of its address (empty when
    // there is none), its address in dotted-decimal form, its port.
    virtual const std::string& RemoteHost() const = 0;
    virtual const std::string& RemoteAddress() const = 0;
    virtual int RemotePort() const = 0;

    // Takes at most `size` bytes of what has arrived, without waiting:
    // `received` is 0 when nothing is waiting or the peer has ended its
    // sending. A failure also raises an error event once the current event
    // has returned.
    virtual Status Receive(char* buffer, size_t size, size_t* received) = 0;
    // Sends the bytes, in order after earlier ones, as fast as the peer
    // takes them; what the socket cannot take at once is kept and sent from
    // the server's thread. A failure also raises an error event once the
    // current event has returned. Ignored once the connection is closed or
    // has failed.
    virtual Status Send(std::string_view data) = 0;
    // Ends the connection when the current event returns; bytes not yet
    // handed to the system are dropped. The disconnect event follows.
    virtual void Close() = 0;
    virtual bool Closed() const = 0;
  };

  // The events, called on the server's thread. They must not throw.
  class Handler {
   public:
    virtual ~Handler() = default;
    // A client was accepted; it already counts in ActiveConnections.
    virtual void OnClientConnect(Connection& connection) = 0;
    // The connection has ended (closed by either side, after an error, or
    // by Close of the server); the socket is already closed.
    virtual void OnClientDisconnect(Connection& connection) = 0;
    // Sending or receiving failed with the system's error code; the server
    // closes the connection after this event unless the handler did.
    virtual void OnClientError(Connection& connection, int error_code) = 0;
    // Data may be read. Usually some is waiting; a read may still deliver
    // nothing. Called again while unread data remains.
    virtual void OnClientRead(Connection& connection) = 0;
  };

  // A closed server of this platform.
  static std::unique_ptr<TcpServer> Create(Handler* handler);

  TcpServer() = default;
  TcpServer(const TcpServer&) = delete;
  TcpServer& operator=(const TcpServer&) = delete;
  // Closes the server.
  virtual ~TcpServer() = default;

  // Listens on an IPv4 address (dotted-decimal) and port, 0 asking the
  // system for a free port, and starts serving. Fails when the server is
  // already listening, the port is outside 0 to 65535, or the system
  // refuses; the server then stays closed.
  virtual Status Listen(const std::string& address, int port) = 0;
  // Stops listening, ends every connection (each with its disconnect event)
  // and waits for the server's thread. Does nothing when closed.
  virtual void Close() = 0;
  // The port listened on; 0 when closed.
  virtual int Port() const = 0;
  // Connections accepted and not yet closed.
  virtual int ActiveConnections() const = 0;
};

}  // namespace vlau

#endif  // VLAU_PLATFORM_TCP_SERVER_H_
