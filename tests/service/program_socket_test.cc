// The real program's control socket, run in the foreground inside a sandbox
// root.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/env.h"
#include "tests/support/loopback_client.h"
#include "tests/support/program_runner.h"
#include "tests/support/scoped_globals.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

TEST(ProgramSocketTest, AConsoleRunAnswersVersionOnTheConfiguredPort) {
  TempDir root, out;
  const int port = FreeLoopbackPort();
  const std::string data = root.path() + "var/lib/Velmora/VLAppUpdater/";
  ASSERT_TRUE(Env::Default()->CreateDirs(data).ok());
  ASSERT_TRUE(
      Env::Default()
          ->WriteStringToFile(data + "VLAppUpdater.ini",
                              "[COMMON]\r\nPort=" + std::to_string(port) + "\r\nLogLevel=WEUD\r\n")
          .ok());
  ProgramRunner runner({"-console"}, {{"VLAPPUPD_ROOT", root.path()}, {"TMPDIR", root.path()}},
                       out.path());

  // The socket opens with the first cycle, about a second after the start.
  LoopbackClient client;
  const auto started = std::chrono::steady_clock::now();
  while (!client.Connect(port)) {
    ASSERT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10))
        << runner.Stderr();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(client.Read(13), "Connected ok!");
  ASSERT_TRUE(client.Send("Version"));
  EXPECT_EQ(client.Read(1), "0");
  const std::string client_port = std::to_string(client.LocalPort());

  runner.RequestStop();
  ASSERT_TRUE(runner.Wait(std::chrono::seconds(5)));
  EXPECT_EQ(runner.exit_code(), 0);
  EXPECT_TRUE(client.WaitClosed());  // the stopping service ends its client

  std::string log;
  Env::Default()->ReadFileToString(data + "VLAppUpdater.log", &log);
  const std::vector<std::string> lines = LogTextLines(log);
  EXPECT_NE(
      std::find_if(lines.begin(), lines.end(),
                   [&](const std::string& l) {
                     return l.find("Answer: 0, to RemoteHost=") != std::string::npos &&
                            l.ends_with(", RemoteAddress=127.0.0.1, RemotePort=" + client_port);
                   }),
      lines.end())
      << log;
}

}  // namespace
}  // namespace vlau
