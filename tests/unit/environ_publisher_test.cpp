// The environment-variable publisher against the recording platform.
#include "environment/environ_publisher.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace tavo {
namespace {

using Calls = std::vector<std::string>;

TEST(SetEnvironVar, UserScopeOnNtWritesTheRegistryAndBroadcasts) {
  fake::FakePlatform platform;
  EnvironPublisher publisher(platform.services);
  EXPECT_TRUE(publisher.SetEnvironVar(u"TAVO", u"00-1a", false));
  const Calls expected{"env.set TAVO \"00-1a\"",
                       "system.platform_id",
                       "registry.create_key HKCU \"Environment\"",
                       "registry.set_string 1 \"TAVO\" \"00-1a\"",
                       "registry.close_key 1",
                       "messages.broadcast \"Environment\" 5000"};
  EXPECT_EQ(platform.log.calls(), expected);
  EXPECT_EQ(platform.registry.values.at("HKCU\\Environment\\TAVO"), "00-1a");
}

TEST(SetEnvironVar, MachineScopeUsesTheSessionManagerKey) {
  fake::FakePlatform platform;
  EnvironPublisher publisher(platform.services);
  EXPECT_TRUE(publisher.SetEnvironVar(u"TAVO", u"", true));
  EXPECT_EQ(platform.log.calls()[2],
            "registry.create_key HKLM "
            "\"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\"");
}

TEST(SetEnvironVar, ARegistryFailureGivesFalseAndNoBroadcast) {
  for (const char* step : {"registry.create_key", "registry.set_string"}) {
    SCOPED_TRACE(step);
    fake::FakePlatform platform;
    EnvironPublisher publisher(platform.services);
    platform.log.fail_on(step);
    // The fake throws where the real registry returns a status; both mean "not written".
    bool result = true;
    try {
      result = publisher.SetEnvironVar(u"TAVO", u"x", false);
    } catch (const Error&) {
      result = false;
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"x");
    for (const std::string& call : platform.log.calls())
      EXPECT_EQ(call.find("broadcast"), call.npos);
  }
}

// A registry that refuses with a status code, as the real one does.
class RefusingRegistry final : public platform::Registry {
 public:
  long create_key(std::uint32_t, std::u16string_view, Key& key) override {
    key = 0;
    return 5;
  }
  long set_string(Key, std::u16string_view, std::u16string_view) override { return 5; }
  long close_key(Key key) override {
    closed.push_back(key);
    return 6;
  }
  std::vector<Key> closed;
};

TEST(SetRegString, ClosesTheKeyEvenWhenItCouldNotBeCreated) {
  fake::FakePlatform platform;
  RefusingRegistry registry;
  const platform::Services services{platform.window,      platform.clipboard, platform.environment,
                                    platform.system,      registry,           platform.messages,
                                    platform.files,       platform.programs,  platform.clock,
                                    platform.command_line};
  EnvironPublisher publisher(services);
  EXPECT_FALSE(publisher.SetEnvironVar(u"TAVO", u"x", false));
  EXPECT_EQ(registry.closed, std::vector<platform::Registry::Key>{0});
  EXPECT_EQ(platform.log.calls_of({"messages."}), Calls{});
}

TEST(SetRegString, DropsOneLeadingBackslash) {
  const std::pair<std::u16string, std::string> cases[] = {{u"\\Environment", "\"Environment\""},
                                                          {u"\\", "\"\\\""},
                                                          {u"\\\\Environment", "\"\\Environment\""},
                                                          {u"Environment", "\"Environment\""}};
  for (const auto& [path, expected] : cases) {
    fake::FakePlatform platform;
    EnvironPublisher publisher(platform.services);
    EXPECT_TRUE(publisher.SetRegString(platform::kCurrentUser, path, u"TAVO", u"1"));
    EXPECT_EQ(platform.log.calls()[0], "registry.create_key HKCU " + expected);
  }
}

TEST(SetEnvironVar, OtherPlatformsAppendOneSetLinePerCall) {
  fake::FakePlatform platform;
  platform.system.id = platform::kPlatformWin32Windows;
  EnvironPublisher publisher(platform.services);
  EXPECT_TRUE(publisher.SetEnvironVar(u"TAVO", u"00-1a", false));
  EXPECT_TRUE(publisher.SetEnvironVar(u"TAVO", u"50%", false));
  EXPECT_EQ(platform.files.files.at("c:\\autoexec.bat"), "SET TAVO=00-1a\r\nSET TAVO=50%%\r\n");
  EXPECT_EQ(platform.log.calls_of({"registry.", "messages."}), Calls{});
  EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"50%");
}

TEST(SetEnvironVar, AnUnwritableStartupFileGivesFalse) {
  for (const char* step : {"files.open_append", "file.write", "file.close"}) {
    SCOPED_TRACE(step);
    fake::FakePlatform platform;
    platform.system.id = platform::kPlatformWin32Windows;
    platform.log.fail_on(step);
    EnvironPublisher publisher(platform.services);
    EXPECT_FALSE(publisher.SetEnvironVar(u"TAVO", u"x", false));
    EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"x");
    // The close is tried after a failing write; without an open file there is nothing to close.
    const std::size_t closes = std::string(step) == "files.open_append" ? 0u : 1u;
    EXPECT_EQ(platform.log.calls_of({"file.close"}).size(), closes);
  }
}

TEST(SetEnvironVar, AValueCommandComCannotSetIsNotWritten) {
  fake::FakePlatform platform;
  platform.system.id = platform::kPlatformWin32Windows;
  EnvironPublisher publisher(platform.services);
  EXPECT_FALSE(publisher.SetEnvironVar(u"TAVO", u"a|b", false));
  EXPECT_EQ(platform.files.files.count("c:\\autoexec.bat"), 0u);
  EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"a|b");
}

}  // namespace
}  // namespace tavo
