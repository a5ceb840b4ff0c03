#include "service/control_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <regex>
#include <thread>

#include "tests/support/loopback_client.h"
#include "tests/support/sandbox_env.h"
#include "tests/support/scoped_globals.h"

namespace vlau {
namespace {

// The peer part of the log lines; the host name comes from a reverse lookup
// and is masked in Lines().
std::string PeerOf(int client_port) {
  return "RemoteHost=*, RemoteAddress=127.0.0.1, RemotePort=" + std::to_string(client_port);
}

class ControlSocketTest : public ::testing::Test {
 protected:
  ControlSocketTest() : log_(&env_, env_.Path("test.log")) {
    env_.PutIdentifier();
    settings_ = std::make_unique<ScopedSettings>(&env_);
    SetLevels({aullWaring, aullError, aullUpdate, aullDetail});
    env_.SetNow({2024, 1, 31, 14, 25, 1, 123});
  }
  void SetUp() override {
    const Status s = socket_.Open(0);
    ASSERT_TRUE(s.ok()) << s.message();
    port_ = socket_.ListeningPort();
    ASSERT_GT(port_, 0);
  }
  void SetLevels(TauLogLevels levels) { settings_->settings().Common().SetLogLevel(levels); }

  // A client that has been greeted.
  std::unique_ptr<LoopbackClient> Connect() {
    auto client = std::make_unique<LoopbackClient>();
    EXPECT_TRUE(client->Connect(port_));
    EXPECT_EQ(client->Read(13), "Connected ok!");
    return client;
  }
  std::vector<std::string> Lines() {
    static const std::regex host("RemoteHost=[^,]*,");
    std::vector<std::string> lines = log_.Lines();
    for (std::string& line : lines) line = std::regex_replace(line, host, "RemoteHost=*,");
    return lines;
  }
  bool HasLine(const std::string& line) {
    const std::vector<std::string> lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // The socket logs from its own thread: wait for the line.
  bool WaitForLine(const std::string& line) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!HasLine(line)) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  bool WaitForDisconnect(int client_port) {
    return WaitForLine("Disconncted: " + PeerOf(client_port));
  }

  SandboxEnv env_;
  ScopedLog log_;
  std::unique_ptr<ScopedSettings> settings_;
  ControlSocket socket_{&env_};
  int port_ = 0;
};

TEST_F(ControlSocketTest, AnswersTheWholeRequestIgnoringLetterCase) {
  struct Case {
    std::string request;
    std::string answer;
  };
  const std::vector<Case> cases = {
      {"Date", "2024-01-31"},
      {"date", "2024-01-31"},
      {"DATE", "2024-01-31"},
      {"Time", "14:25:01.123"},
      {"tIME", "14:25:01.123"},
      {"Version", "0"},
      {"VERSION", "0"},
      {"Date\r\n", "command unknown"},
      {"Date\n", "command unknown"},
      {" Date", "command unknown"},
      {"Dat", "command unknown"},
      {"DateTime", "command unknown"},
      {"Date Version", "command unknown"},
      {std::string("Date\0", 5), "command unknown"},
      {"Ver\xC5\xBFion", "command unknown"},  // a long s is no letter s
      {"\xFF\xFE\x80", "command unknown"},
  };
  std::unique_ptr<LoopbackClient> client = Connect();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.request));
    ASSERT_TRUE(client->Send(c.request));
    EXPECT_EQ(client->Read(c.answer.size()), c.answer);
  }
  // Nothing was added to any answer: the stream is exactly in step.
  ASSERT_TRUE(client->Send("Version"));
  EXPECT_EQ(client->Read(2, std::chrono::milliseconds(300)), "0");
  // Bytes that are no text reach the log as replacement characters.
  EXPECT_TRUE(HasLine("Recieved string: \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"));
}

TEST_F(ControlSocketTest, LogsEveryEventAtItsLevelAndTheAnswerAsAnError) {
  struct Case {
    TauLogLevels levels;
    bool detail;
  };
  for (const Case& c : std::vector<Case>{{{aullWaring, aullError, aullUpdate, aullDetail}, true},
                                         {{aullError}, false}}) {
    SCOPED_TRACE(c.detail);
    env_.RemoveFile(log_.log().FileName());
    SetLevels(c.levels);
    std::unique_ptr<LoopbackClient> client = Connect();
    const std::string peer = PeerOf(client->LocalPort());
    ASSERT_TRUE(client->Send("Version"));
    EXPECT_EQ(client->Read(1), "0");
    client->Close();
    socket_.Close();  // waits for the socket's thread, so every event is logged
    const std::vector<std::string> expected =
        c.detail ? std::vector<std::string>{"Connect detected: " + peer, "Recieved string: Version",
                                            "->from " + peer, "Answer: 0, to " + peer,
                                            "Disconncted: " + peer}
                 : std::vector<std::string>{"Answer: 0, to " + peer};
    EXPECT_EQ(Lines(), expected);
    ASSERT_TRUE(socket_.Open(0).ok());
    port_ = socket_.ListeningPort();
  }
}

TEST_F(ControlSocketTest, ASecondClientIsRejectedWhileTheFirstStaysServed) {
  std::unique_ptr<LoopbackClient> first = Connect();
  LoopbackClient second;
  ASSERT_TRUE(second.Connect(port_));
  std::string received;
  EXPECT_TRUE(second.WaitClosed(std::chrono::seconds(5), &received));
  EXPECT_EQ(received, "Too many connections!");
  EXPECT_TRUE(HasLine("One connection already exists! New connection rejected!"));

  ASSERT_TRUE(first->Send("Version"));
  EXPECT_EQ(first->Read(1), "0");

  // Once the first has gone, the next client is greeted.
  const int first_port = first->LocalPort();
  first->Close();
  ASSERT_TRUE(WaitForDisconnect(first_port));
  std::unique_ptr<LoopbackClient> third = Connect();
  ASSERT_TRUE(third->Send("date"));
  EXPECT_EQ(third->Read(10), "2024-01-31");
}

TEST_F(ControlSocketTest, ARequestOver4096BytesClosesTheConnection) {
  const std::string limit_line =
      "The number of bytes exceeds the limit: 4096. The client disconnected.";
  struct Case {
    size_t size;
    bool closed;
  };
  for (const Case& c : std::vector<Case>{{4096, false}, {4097, true}, {10000, true}}) {
    SCOPED_TRACE(c.size);
    env_.RemoveFile(log_.log().FileName());
    std::unique_ptr<LoopbackClient> client = Connect();
    const int client_port = client->LocalPort();
    ASSERT_TRUE(client->Send(std::string(c.size, 'a')));
    if (c.closed) {
      std::string received;
      EXPECT_TRUE(client->WaitClosed(std::chrono::seconds(5), &received));
      EXPECT_EQ(received, "");  // the answer is logged but not sent
      EXPECT_TRUE(WaitForLine("Answer: command unknown, to " + PeerOf(client_port)));
      EXPECT_TRUE(HasLine(limit_line));
    } else {
      EXPECT_EQ(client->Read(15), "command unknown");
      ASSERT_TRUE(client->Send("Version"));
      EXPECT_EQ(client->Read(1), "0");
      EXPECT_FALSE(HasLine(limit_line));
      client->Close();
    }
    EXPECT_TRUE(WaitForDisconnect(client_port));
  }
}

TEST_F(ControlSocketTest, ClientsThatGoAwayLeaveTheSocketServing) {
  struct Case {
    std::string name;
    std::function<void(LoopbackClient&)> misbehave;
  };
  const std::vector<Case> cases = {
      {"connects and sends nothing", [](LoopbackClient& c) { c.Close(); }},
      {"resets before the greeting is read", [](LoopbackClient& c) { c.Reset(); }},
      {"resets right after its request",
       [](LoopbackClient& c) {
         c.Send("Time");
         c.Reset();
       }},
      {"ends its sending after its request",
       [](LoopbackClient& c) {
         c.Send("Version");
         c.ShutdownSending();
         EXPECT_EQ(c.Read(14), "Connected ok!0");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port_));
    const int client_port = client.LocalPort();
    c.misbehave(client);
    ASSERT_TRUE(WaitForDisconnect(client_port)) << ::testing::PrintToString(Lines());

    std::unique_ptr<LoopbackClient> next = Connect();
    ASSERT_TRUE(next->Send("Version"));
    EXPECT_EQ(next->Read(1), "0");
    const int next_port = next->LocalPort();
    next->Close();
    ASSERT_TRUE(WaitForDisconnect(next_port));
  }
}

// A connection whose reads and sends the test decides.
class FakeConnection : public TcpServer::Connection {
 public:
  Status receive_status;
  std::string incoming;
  Status send_status;
  std::string sent;

  const std::string& RemoteHost() const override { return host_; }
  const std::string& RemoteAddress() const override { return address_; }
  int RemotePort() const override { return 5000; }
  Status Receive(char* buffer, size_t size, size_t* received) override {
    *received = std::min(size, incoming.size());
    std::copy_n(incoming.begin(), *received, buffer);
    incoming.erase(0, *received);
    return receive_status;
  }
  Status Send(std::string_view data) override {
    if (send_status.ok()) sent += data;
    return send_status;
  }
  void Close() override { closed_ = true; }
  bool Closed() const override { return closed_; }

 private:
  std::string host_ = "client.example";
  std::string address_ = "127.0.0.2";
  bool closed_ = false;
};

TEST_F(ControlSocketTest, EmptyReadsAndFailuresOfAConnection) {
  const std::string peer = "RemoteHost=*, RemoteAddress=127.0.0.2, RemotePort=5000";
  struct Case {
    std::string name;
    Status receive_status;
    Status send_status;
    std::string sent;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"a read that delivers nothing",
       Status::OK(),
       Status::OK(),
       "command unknown",
       {"Recieved string:", "->from " + peer, "Answer: command unknown, to " + peer}},
      {"a failed read",
       Status::Error("receive from 127.0.0.2:5000: Connection reset by peer", 104),
       Status::OK(),
       "",
       {"receive from 127.0.0.2:5000: Connection reset by peer"}},
      {"a failed send",
       Status::OK(),
       Status::Error("send to 127.0.0.2:5000: Broken pipe", 32),
       "",
       {"Recieved string:", "->from " + peer, "Answer: command unknown, to " + peer,
        "send to 127.0.0.2:5000: Broken pipe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    env_.RemoveFile(log_.log().FileName());
    FakeConnection connection;
    connection.receive_status = c.receive_status;
    connection.send_status = c.send_status;
    socket_.ServScktClientRead(connection);
    EXPECT_EQ(connection.sent, c.sent);
    EXPECT_FALSE(connection.Closed());
    EXPECT_EQ(Lines(), c.lines);
  }
}

TEST_F(ControlSocketTest, OpenCloseAndABusyPort) {
  auto other = std::make_unique<ControlSocket>(&env_);
  Status s = other->Open(port_);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message().find("Address already in use"), std::string::npos) << s.message();
  EXPECT_EQ(other->ListeningPort(), 0);

  socket_.Close();
  EXPECT_EQ(socket_.ListeningPort(), 0);
  LoopbackClient refused;
  EXPECT_FALSE(refused.Connect(port_));

  // The port is free again; destroying the socket ends its client.
  s = other->Open(port_);
  ASSERT_TRUE(s.ok()) << s.message();
  EXPECT_EQ(other->ListeningPort(), port_);
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(port_));
  EXPECT_EQ(client.Read(13), "Connected ok!");
  const int client_port = client.LocalPort();
  other.reset();
  EXPECT_TRUE(client.WaitClosed());
  EXPECT_TRUE(HasLine("Disconncted: " + PeerOf(client_port)));
}

}  // namespace
}  // namespace vlau
