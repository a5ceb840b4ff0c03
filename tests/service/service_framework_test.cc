#include "service/service_framework.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace vlau {
namespace {

// Records its hooks; each timer event can run a step of the test.
class RecordingService : public ServiceFramework {
 public:
  std::atomic<int> starts{0}, stops{0}, ticks{0};
  std::function<void(RecordingService&)> on_tick;

 protected:
  void OnStart() override { ++starts; }
  void OnStop() override { ++stops; }
  void OnTimer() override {
    ++ticks;
    if (on_tick) on_tick(*this);
  }
};

TEST(ServiceFrameworkTest, StartStopAndStatus) {
  RecordingService s;
  EXPECT_EQ(s.ServiceStatus(), ServiceState::kStopped);
  s.ControlStart();
  EXPECT_EQ(s.ServiceStatus(), ServiceState::kRunning);
  EXPECT_FALSE(s.Terminated());
  s.ControlStop();
  EXPECT_EQ(s.ServiceStatus(), ServiceState::kStopPending);
  EXPECT_TRUE(s.Terminated());
  EXPECT_EQ(s.stops, 1);
  s.RunMessageLoop();  // returns at once: already terminated
  EXPECT_EQ(s.ServiceStatus(), ServiceState::kStopped);
}

TEST(ServiceFrameworkTest, RequestsToAServiceThatIsEndingAreIgnored) {
  struct Case {
    const char* name;
    std::function<void(RecordingService&)> end;
  };
  const std::vector<Case> cases = {
      {"stopped", [](RecordingService& s) { s.ControlStop(); }},
      {"shut down", [](RecordingService& s) { s.DoShutdown(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingService s;
    s.ControlStart();
    c.end(s);
    const int stops = s.stops;
    s.ControlStop();
    s.ControlStart();
    EXPECT_EQ(s.stops, stops);
    EXPECT_EQ(s.starts, 1);
    EXPECT_EQ(s.ServiceStatus(), ServiceState::kStopPending);
  }

  RecordingService early;  // a stop before the start
  early.ControlStop();
  early.ControlStart();
  EXPECT_EQ(early.starts, 0);
  EXPECT_EQ(early.ServiceStatus(), ServiceState::kStopPending);
}

TEST(ServiceFrameworkTest, TimerFiresUntilDisabledAndLoopEndsOnStop) {
  RecordingService s;
  s.SetTimerInterval(1);
  s.on_tick = [](RecordingService& self) {
    if (self.ticks == 3) self.SetTimerEnabled(false);
  };
  s.SetTimerEnabled(true);
  std::thread stopper([&s] {
    while (s.ticks < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    s.ControlStop();
  });
  s.RunMessageLoop();
  stopper.join();
  EXPECT_EQ(s.ticks, 3);
  EXPECT_FALSE(s.TimerEnabled());
}

TEST(ServiceFrameworkTest, StopDuringATimerEventEndsTheLoopAfterTheEvent) {
  RecordingService s;
  s.SetTimerInterval(1);
  std::atomic<bool> event_finished{false};
  s.on_tick = [&](RecordingService& self) {
    self.ControlStop();  // as if from the control thread, mid-event
    EXPECT_EQ(self.ServiceStatus(), ServiceState::kStopPending);
    event_finished = true;
  };
  s.SetTimerEnabled(true);
  s.RunMessageLoop();
  EXPECT_TRUE(event_finished);
  EXPECT_EQ(s.ticks, 1);
}

TEST(ServiceFrameworkTest, ShutdownEndsTheServiceWithoutTheStopHook) {
  RecordingService s;
  s.SetTimerInterval(1);
  s.on_tick = [](RecordingService& self) { self.DoShutdown(); };
  s.SetTimerEnabled(true);
  s.RunMessageLoop();
  EXPECT_TRUE(s.Terminated());
  EXPECT_EQ(s.stops, 0);
}

}  // namespace
}  // namespace vlau
