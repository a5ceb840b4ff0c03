#include "platform/posix/service_unit_posix.h"

#include <cerrno>

#include "gtest/gtest.h"
#include "platform/posix/env_posix.h"
#include "tests/platform/scoped_env_var.h"
#include "tests/support/temp_dir.h"

namespace vlau {
namespace {

const char kRegisteredUnit[] =
    "[Unit]\n"
    "# Velmora Appication Updater\n"
    "After=network-online.target\n"
    "Wants=network-online.target\n"
    "\n"
    "[Service]\n"
    "Type=simple\n"
    "ExecStart=/opt/vlau/VLAppUpdater\n"
    "Restart=on-failure\n"
    "Environment=TMPDIR=/var/tmp\n"
    "\n"
    "[Install]\n"
    "WantedBy=multi-user.target\n";

ServiceDefinition Definition() {
  return {"VLAppUpd", "Velmora Appication Updater", "/opt/vlau/VLAppUpdater"};
}

TEST(ServiceUnitTest, RegisteredUnitHasNoDescription) {
  EXPECT_EQ(ServiceUnitText(Definition()), kRegisteredUnit);
  std::string text;
  EXPECT_FALSE(FindUnitDescription(kRegisteredUnit, &text));
}

TEST(ServiceUnitTest, ExecStartNamesTheProgramAsSystemdReadsIt) {
  struct Case {
    std::string executable;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"/opt/vlau/VLAppUpdater", "ExecStart=/opt/vlau/VLAppUpdater"},
      {"/opt/Velmora Apps/VLAppUpdater", "ExecStart=\"/opt/Velmora Apps/VLAppUpdater\""},
      {"/opt/100%/VLAppUpdater", "ExecStart=/opt/100%%/VLAppUpdater"},
      {"/opt/a\\b/VLAppUpdater", "ExecStart=\"/opt/a\\\\b/VLAppUpdater\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.executable);
    const std::string unit =
        ServiceUnitText({"VLAppUpd", "Velmora Appication Updater", c.executable});
    EXPECT_NE(unit.find("\n" + c.line + "\n"), std::string::npos) << unit;
  }
}

TEST(ServiceUnitTest, DescriptionIsFoundSetAndRemovedInTheUnitSection) {
  struct Case {
    const char* name;
    std::string unit;
    const char* found;  // nullptr: no description
    std::string after_set;
    std::string after_remove;
  };
  const std::vector<Case> cases = {
      {"inserted after the header", "[Unit]\nAfter=x\n\n[Service]\nType=simple\n", nullptr,
       "[Unit]\nDescription=New v.2\nAfter=x\n\n[Service]\nType=simple\n",
       "[Unit]\nAfter=x\n\n[Service]\nType=simple\n"},
      {"replaced in place", "[Unit]\nAfter=x\nDescription=Old v.1\nWants=y\n", "Old v.1",
       "[Unit]\nAfter=x\nDescription=New v.2\nWants=y\n", "[Unit]\nAfter=x\nWants=y\n"},
      {"value kept exactly", "[Unit]\nDescription= a=b  \n", " a=b  ",
       "[Unit]\nDescription=New v.2\n", "[Unit]\n"},
      {"CRLF lines keep their ends", "[Unit]\r\nDescription=Old\r\nAfter=x\r\n", "Old",
       "[Unit]\r\nDescription=New v.2\r\nAfter=x\r\n", "[Unit]\r\nAfter=x\r\n"},
      {"last line without a line end", "[Unit]\nDescription=Old", "Old",
       "[Unit]\nDescription=New v.2", "[Unit]\n"},
      {"header is the last line", "[Install]\nWantedBy=m\n[Unit]", nullptr,
       "[Install]\nWantedBy=m\n[Unit]\nDescription=New v.2\n", "[Install]\nWantedBy=m\n[Unit]"},
      {"only the first of two", "[Unit]\nDescription=A\nDescription=B\n", "A",
       "[Unit]\nDescription=New v.2\nDescription=B\n", "[Unit]\nDescription=B\n"},
      {"other sections do not count", "[Service]\nDescription=S\n[Unit]\nAfter=x\n", nullptr,
       "[Service]\nDescription=S\n[Unit]\nDescription=New v.2\nAfter=x\n",
       "[Service]\nDescription=S\n[Unit]\nAfter=x\n"},
      {"commented and indented lines do not count",
       "[Unit]\n#Description=C\n Description=I\n[Unit]\nDescription=Second\n", "Second",
       "[Unit]\n#Description=C\n Description=I\n[Unit]\nDescription=New v.2\n",
       "[Unit]\n#Description=C\n Description=I\n[Unit]\n"},
      {"no unit section", "[Service]\nType=simple\n", nullptr,
       "[Unit]\nDescription=New v.2\n[Service]\nType=simple\n", "[Service]\nType=simple\n"},
      {"empty file", "", nullptr, "[Unit]\nDescription=New v.2\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = "unchanged";
    EXPECT_EQ(FindUnitDescription(c.unit, &text), c.found != nullptr);
    if (c.found != nullptr) {
      EXPECT_EQ(text, c.found);
    }
    std::string set = SetUnitDescription(c.unit, "New v.2");
    EXPECT_EQ(set, c.after_set);
    EXPECT_TRUE(FindUnitDescription(set, &text));
    EXPECT_EQ(text, "New v.2");
    EXPECT_EQ(RemoveUnitDescription(c.unit), c.after_remove);
  }
}

// The Env calls on a unit below a sandbox root; no service manager command
// is run while the root is not "/".
class ServiceRegistrationTest : public testing::Test {
 protected:
  ServiceRegistrationTest() : root_("VLAPPUPD_ROOT", dir_.path()) {}

  std::string UnitPath() const { return dir_.path() + "etc/systemd/system/VLAppUpd.service"; }
  std::string Unit() {
    std::string data;
    EXPECT_TRUE(env_.ReadFileToString(UnitPath(), &data).ok());
    return data;
  }

  TempDir dir_;
  ScopedEnvVar root_;
  PosixEnv env_;
};

TEST_F(ServiceRegistrationTest, DescriptionRoundTripKeepsTheUnit) {
  ASSERT_TRUE(env_.RegisterService(Definition()).ok());
  EXPECT_EQ(Unit(), kRegisteredUnit);
  std::string text;
  EXPECT_FALSE(env_.ReadServiceDescription("VLAppUpd", &text));

  ASSERT_TRUE(env_.WriteServiceDescription("VLAppUpd", "Autoupdate v.1.0.0.1").ok());
  ASSERT_TRUE(env_.ReadServiceDescription("VLAppUpd", &text));
  EXPECT_EQ(text, "Autoupdate v.1.0.0.1");
  ASSERT_TRUE(env_.WriteServiceDescription("VLAppUpd", "Autoupdate v.1.0.0.2").ok());
  ASSERT_TRUE(env_.ReadServiceDescription("VLAppUpd", &text));
  EXPECT_EQ(text, "Autoupdate v.1.0.0.2");
  EXPECT_EQ(Unit(), SetUnitDescription(kRegisteredUnit, "Autoupdate v.1.0.0.2"));

  ASSERT_TRUE(env_.RemoveServiceDescription("VLAppUpd").ok());
  EXPECT_EQ(Unit(), kRegisteredUnit);
  EXPECT_TRUE(env_.RemoveServiceDescription("VLAppUpd").ok());

  // The atomic replacement leaves no temporary file behind.
  std::vector<std::string> names;
  ASSERT_TRUE(env_.ListDirectory(dir_.path() + "etc/systemd/system", &names).ok());
  EXPECT_EQ(names, std::vector<std::string>{"VLAppUpd.service"});

  EXPECT_FALSE(env_.WriteServiceDescription("VLAppUpd", "two\nlines").ok());
  EXPECT_EQ(Unit(), kRegisteredUnit);
}

TEST_F(ServiceRegistrationTest, MissingUnit) {
  std::string text = "unchanged";
  EXPECT_FALSE(env_.ReadServiceDescription("VLAppUpd", &text));
  Status write = env_.WriteServiceDescription("VLAppUpd", "x");
  EXPECT_FALSE(write.ok());
  EXPECT_FALSE(env_.FileExists(UnitPath()));
  EXPECT_TRUE(env_.RemoveServiceDescription("VLAppUpd").ok());
  Status unregister = env_.UnregisterService("VLAppUpd");
  EXPECT_FALSE(unregister.ok());
  EXPECT_EQ(unregister.message(), "service VLAppUpd is not installed");
}

TEST_F(ServiceRegistrationTest, UnregisterRemovesTheUnit) {
  ASSERT_TRUE(env_.RegisterService(Definition()).ok());
  ASSERT_TRUE(env_.UnregisterService("VLAppUpd").ok());
  EXPECT_FALSE(env_.FileExists(UnitPath()));
  EXPECT_FALSE(env_.UnregisterService("VLAppUpd").ok());
}

TEST_F(ServiceRegistrationTest, NamesThatLeaveTheUnitFolderAreRefused) {
  EXPECT_FALSE(env_.RegisterService({"../escape", "x", "/bin/true"}).ok());
  EXPECT_FALSE(env_.RegisterService({"", "x", "/bin/true"}).ok());
  EXPECT_FALSE(env_.FileExists(dir_.path() + "etc/systemd/escape.service"));
}

}  // namespace
}  // namespace vlau
