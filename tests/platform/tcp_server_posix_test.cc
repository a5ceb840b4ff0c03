#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/tcp_server.h"
#include "tests/support/loopback_client.h"

namespace vlau {
namespace {

// Records the events; answers every read with `reply` (the bytes read when
// empty), or nothing when `silent`.
class RecordingHandler : public TcpServer::Handler {
 public:
  std::string reply;
  TcpServer* server = nullptr;

  void OnClientConnect(TcpServer::Connection& c) override {
    Record("connect " + c.RemoteAddress() +
           " active=" + std::to_string(server->ActiveConnections()));
  }
  void OnClientDisconnect(TcpServer::Connection& c) override {
    Record(std::string("disconnect") + (c.Closed() ? "" : " (open!)"));
  }
  void OnClientError(TcpServer::Connection&, int code) override {
    Record(code != 0 ? "error" : "error 0");
  }
  void OnClientRead(TcpServer::Connection& c) override {
    std::string data;
    char buffer[256];
    size_t n = 0;
    while (c.Receive(buffer, sizeof buffer, &n).ok() && n > 0) data.append(buffer, n);
    Record("read " + data);
    c.Send(reply.empty() ? data : reply);
  }

  // Waits until `count` events have come; returns them.
  std::vector<std::string> Events(size_t count) {
    std::unique_lock<std::mutex> lock(mu_);
    changed_.wait_for(lock, std::chrono::seconds(5), [&] { return events_.size() >= count; });
    return events_;
  }

 private:
  void Record(std::string event) {
    std::lock_guard<std::mutex> lock(mu_);
    events_.push_back(std::move(event));
    changed_.notify_all();
  }

  std::mutex mu_;
  std::condition_variable changed_;
  std::vector<std::string> events_;
};

class TcpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handler_.server = server_.get();
    const Status s = server_->Listen("127.0.0.1", 0);
    ASSERT_TRUE(s.ok()) << s.message();
  }

  RecordingHandler handler_;
  std::unique_ptr<TcpServer> server_ = TcpServer::Create(&handler_);
};

TEST_F(TcpServerTest, ListenReportsItsPortAndWhatItCannotDo) {
  const int port = server_->Port();
  EXPECT_GT(port, 0);
  struct Case {
    std::string address;
    int port;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"127.0.0.1", 0, "listen on 127.0.0.1:0: already listening"},
      {"127.0.0.1", -1, "listen on 127.0.0.1:-1: invalid port"},
      {"127.0.0.1", 65536, "listen on 127.0.0.1:65536: invalid port"},
      {"localhost", 0, "listen on localhost:0: invalid address"},
      {"127.0.0.1", port, "bind 127.0.0.1:" + std::to_string(port) + ": Address already in use"},
  };
  RecordingHandler other_handler;
  std::unique_ptr<TcpServer> other = TcpServer::Create(&other_handler);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address + ":" + std::to_string(c.port));
    TcpServer& target =
        c.message.find("already listening") != std::string::npos ? *server_ : *other;
    const Status s = target.Listen(c.address, c.port);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.message(), c.message);
    EXPECT_EQ(other->Port(), 0);
  }
  EXPECT_EQ(server_->Port(), port);
  server_->Close();
  EXPECT_EQ(server_->Port(), 0);
  server_->Close();  // closed already: nothing happens
}

TEST_F(TcpServerTest, AConnectionFromConnectToItsEnd) {
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(server_->Port()));
  ASSERT_TRUE(client.Send("abc"));
  EXPECT_EQ(client.Read(3), "abc");
  client.ShutdownSending();  // the end of its data is no read event
  EXPECT_TRUE(client.WaitClosed());
  EXPECT_EQ(handler_.Events(3),
            (std::vector<std::string>{"connect 127.0.0.1 active=1", "read abc", "disconnect"}));
}

TEST_F(TcpServerTest, AnAnswerLargerThanTheSocketTakesAtOnce) {
  std::string big(8 << 20, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 / 5);
  handler_.reply = big;

  // Read in full, late: the rest is sent as the client takes it.
  LoopbackClient reader;
  ASSERT_TRUE(reader.Connect(server_->Port()));
  ASSERT_TRUE(reader.Send("x"));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(reader.Read(big.size()) == big);
  reader.Close();
  EXPECT_EQ(handler_.Events(3).back(), "disconnect");

  // Reset while the rest waits: an error, then the end.
  LoopbackClient quitter;
  ASSERT_TRUE(quitter.Connect(server_->Port()));
  ASSERT_TRUE(quitter.Send("x"));
  EXPECT_EQ(quitter.Read(1000).size(), 1000u);
  quitter.Reset();
  EXPECT_EQ(handler_.Events(7), (std::vector<std::string>{
                                    "connect 127.0.0.1 active=1",
                                    "read x",
                                    "disconnect",
                                    "connect 127.0.0.1 active=1",
                                    "read x",
                                    "error",
                                    "disconnect",
                                }));
}

TEST_F(TcpServerTest, CloseEndsEveryConnection) {
  LoopbackClient first, second;
  ASSERT_TRUE(first.Connect(server_->Port()));
  ASSERT_TRUE(second.Connect(server_->Port()));
  EXPECT_EQ(handler_.Events(2).back(), "connect 127.0.0.1 active=2");
  server_->Close();
  EXPECT_EQ(server_->Port(), 0);
  EXPECT_TRUE(first.WaitClosed());
  EXPECT_TRUE(second.WaitClosed());
  EXPECT_EQ(handler_.Events(4),
            (std::vector<std::string>{"connect 127.0.0.1 active=1", "connect 127.0.0.1 active=2",
                                      "disconnect", "disconnect"}));
}

}  // namespace
}  // namespace vlau
