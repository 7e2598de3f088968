// The environment-variable publisher against the recording platform.
#include "publish/environ_publisher.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace tavo {
namespace {

using fake::Calls;

// The recording platform with the publisher over it.
struct Publish : fake::FakePlatform {
  EnvironPublisher publisher{services};
};

TEST(SetEnvironVar, UserScopeOnNtWritesTheRegistryAndBroadcasts) {
  Publish platform;
  EXPECT_TRUE(platform.publisher.SetEnvironVar(u"TAVO", u"00-1a", false));
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
  Publish platform;
  EXPECT_TRUE(platform.publisher.SetEnvironVar(u"TAVO", u"", true));
  EXPECT_EQ(platform.log.calls()[2],
            "registry.create_key HKLM "
            "\"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\"");
}

TEST(SetEnvironVar, ARegistryFailureGivesFalseAndNoBroadcast) {
  for (const char* step : {"registry.create_key", "registry.set_string"}) {
    SCOPED_TRACE(step);
    Publish platform;
    platform.log.refuse_on(step);
    EXPECT_FALSE(platform.publisher.SetEnvironVar(u"TAVO", u"x", false));
    EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"x");
    for (const std::string& call : platform.log.calls())
      EXPECT_EQ(call.find("broadcast"), call.npos);
  }
}

TEST(SetRegString, ClosesTheKeyEvenWhenItCouldNotBeCreated) {
  Publish platform;
  platform.log.refuse_on("registry.create_key");
  EXPECT_FALSE(platform.publisher.SetEnvironVar(u"TAVO", u"x", false));
  EXPECT_EQ(platform.log.calls_of({"registry.close_key", "messages."}),
            Calls{"registry.close_key 0"});
}

TEST(SetRegString, DropsOneLeadingBackslash) {
  const std::pair<std::u16string, std::string> cases[] = {{u"\\Environment", "\"Environment\""},
                                                          {u"\\", "\"\\\""},
                                                          {u"\\\\Environment", "\"\\Environment\""},
                                                          {u"Environment", "\"Environment\""}};
  for (const auto& [path, expected] : cases) {
    Publish platform;
    EXPECT_TRUE(platform.publisher.SetRegString(platform::kCurrentUser, path, u"TAVO", u"1"));
    EXPECT_EQ(platform.log.calls()[0], "registry.create_key HKCU " + expected);
  }
}

TEST(SetEnvironVar, OtherPlatformsAppendOneSetLinePerCall) {
  Publish platform;
  platform.system.id = platform::kPlatformWin32Windows;
  EXPECT_TRUE(platform.publisher.SetEnvironVar(u"TAVO", u"00-1a", false));
  EXPECT_TRUE(platform.publisher.SetEnvironVar(u"TAVO", u"50%", false));
  EXPECT_EQ(platform.files.files.at("c:\\autoexec.bat"), "SET TAVO=00-1a\r\nSET TAVO=50%%\r\n");
  EXPECT_EQ(platform.log.calls_of({"files.open_append"}).back(),
            "files.open_append \"c:\\autoexec.bat\" oem");
  EXPECT_EQ(platform.log.calls_of({"registry.", "messages."}), Calls{});
  EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"50%");
}

TEST(SetEnvironVar, AnUnwritableStartupFileGivesFalse) {
  for (const char* step : {"files.open_append", "file.write", "file.close"}) {
    SCOPED_TRACE(step);
    Publish platform;
    platform.system.id = platform::kPlatformWin32Windows;
    platform.log.fail_on(step);
    EXPECT_FALSE(platform.publisher.SetEnvironVar(u"TAVO", u"x", false));
    EXPECT_EQ(platform.environment.variables.at(u"TAVO"), u"x");
    // The close is tried after a failing write; without an open file there is nothing to close.
    const std::size_t closes = std::string(step) == "files.open_append" ? 0u : 1u;
    EXPECT_EQ(platform.log.calls_of({"file.close"}).size(), closes);
  }
}

TEST(SetEnvironVar, AValueCommandComCannotSetIsNotWritten) {
  // It has no escape for "|"; it reads the file in the console's code page, which lacks "\u20AC".
  for (const std::u16string value : {u"a|b", u"\u20AC1"}) {
    Publish platform;
    platform.system.id = platform::kPlatformWin32Windows;
    platform.files.oem_lacks = u"\u20AC";
    EXPECT_FALSE(platform.publisher.SetEnvironVar(u"TAVO", value, false));
    EXPECT_EQ(platform.files.files.count("c:\\autoexec.bat"), 0u);
    EXPECT_EQ(platform.environment.variables.at(u"TAVO"), value);
  }
}

}  // namespace
}  // namespace tavo
