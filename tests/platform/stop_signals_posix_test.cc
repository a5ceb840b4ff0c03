#include "platform/stop_signals.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "gtest/gtest.h"

namespace vlau {
namespace {

int ThreadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    closedir(tasks);
  }
  return count;
}

bool IsBlocked(int signal_number) {
  sigset_t mask;
  pthread_sigmask(SIG_SETMASK, nullptr, &mask);
  return sigismember(&mask, signal_number) == 1;
}

class Counter {
 public:
  void Increment() {
    std::lock_guard<std::mutex> lock(mu_);
    ++count_;
    changed_.notify_all();
  }
  bool WaitFor(int count) {
    std::unique_lock<std::mutex> lock(mu_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return count_ >= count; });
  }
  int count() {
    std::lock_guard<std::mutex> lock(mu_);
    return count_;
  }

 private:
  std::mutex mu_;
  std::condition_variable changed_;
  int count_ = 0;
};

TEST(StopSignalWatcherTest, EachSignalCallsOnStopOnTheWatcherThread) {
  // A signal sent to the process may go to any thread that does not block
  // it; with threads left by other tests it could end the test program.
  if (ThreadCount() != 1) GTEST_SKIP() << "other threads are running";
  ASSERT_FALSE(IsBlocked(SIGTERM));
  Counter calls;
  std::thread::id caller;
  {
    StopSignalWatcher watcher([&] {
      caller = std::this_thread::get_id();
      calls.Increment();
    });
    EXPECT_TRUE(IsBlocked(SIGTERM));
    EXPECT_TRUE(IsBlocked(SIGINT));
    ASSERT_EQ(kill(getpid(), SIGTERM), 0);
    ASSERT_TRUE(calls.WaitFor(1));
    ASSERT_EQ(kill(getpid(), SIGINT), 0);
    ASSERT_TRUE(calls.WaitFor(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(calls.count(), 2);
    EXPECT_NE(caller, std::this_thread::get_id());
  }
  EXPECT_FALSE(IsBlocked(SIGTERM));
  EXPECT_FALSE(IsBlocked(SIGINT));
}

TEST(StopSignalWatcherTest, DestructorEndsPromptlyWithoutSignals) {
  auto start = std::chrono::steady_clock::now();
  {
    StopSignalWatcher watcher([] {});
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace vlau
