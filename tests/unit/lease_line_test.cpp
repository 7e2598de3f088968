// Lease-line parsing, host-name cuts, the clipboard summary and the log layout, byte for byte.
#include "lookup/lease_line.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using platform::posix::to_utf8;

struct Case : fake::Row {
  bool is_lease;
  std::string ip = {}, mask = {}, hardware = {}, lease = {}, host = {};
};

class ParseLeaseLine : public testing::TestWithParam<Case> {};

TEST_P(ParseLeaseLine, TakesTheFields) {
  const Case& c = GetParam();
  const auto lease = parse_lease_line(c.text);
  ASSERT_EQ(lease.has_value(), c.is_lease);
  if (!lease) return;
  EXPECT_EQ(to_utf8(lease->ip), c.ip);
  EXPECT_EQ(to_utf8(lease->mask), c.mask);
  EXPECT_EQ(to_utf8(lease->hardware), c.hardware);
  EXPECT_EQ(to_utf8(lease->lease), c.lease);
  EXPECT_EQ(to_utf8(lease->host), c.host);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseLeaseLine,
    testing::Values(
        Case{{u"192.168.5.20     - 255.255.255.0  - 3c-52-82-0f-1e-77   -12/1/2026 8:15:02 AM   "
              u"-D-  ws-lab7.corp.example"},
             true,
             "192.168.5.20",
             "255.255.255.0",
             "3c:52:82:0f:1e:77",
             "12/1/2026 8:15:02 AM",
             " ws-lab7"},
        Case{{u"10.0.0.1 - 255.0.0.0 - 00:1a:2b:3c:4d:5e - NEVER EXPIRES - D- ws7.lab"},
             true,
             "10.0.0.1",
             "255.0.0.0",
             "00:1a:2b:3c:4d:5e",
             "NEVER EXPIRES",
             "ws7"},
        Case{{u"10.0.0.2 - m - aa - INACTIVE - D- host - extra - more"},
             true,
             "10.0.0.2",
             "m",
             "aa",
             "INACTIVE",
             "host"},
        Case{{u"10.0.0.3 - m - aa - l - D- nodots"}, true, "10.0.0.3", "m", "aa", "l", "nodots"},
        Case{{u"\t10.0.0.4 - m - aa - l - D- h"}, true, "\t10.0.0.4", "m", "aa", "l", "h"},
        Case{{u"Scope 10.0.0.0 - leases - list"}, false}, Case{{u"10.0.0.5 - m - aa - l"}, false},
        Case{{u"10.0.0.6 - m - aa - l - D"}, false}, Case{{u"10.0.0.7 - m - aa - l - D- "}, false},
        Case{{u"10.0.0.8 - m - aa - l - D- - x"}, false}, Case{{u""}, false}));

TEST(LeaseSummary, FiveLinesWithoutAFinalLineEnd) {
  const auto lease = parse_lease_line(u"10.0.0.1  - 255.0.0.0 - 00:1A - NEVER EXPIRES -D- ws7.lab");
  ASSERT_TRUE(lease.has_value());
  EXPECT_EQ(to_utf8(lease_summary(*lease, u"00-1a ")),
            "Hostnamews7\r\nMacaddress:00-1a\r\nIPaddress:10.0.0.1\r\nMask:255.0.0.0\r\n"
            "Lease:NEVER EXPIRES");
}

TEST(LogEntry, UsesPrintZonesOfFourteenColumns) {
  const Lease lease{u"10.0.0.1", u"255.0.0.0", u"00:1a", u"INACTIVE", u" ws7"};
  const std::string z14(14, ' ');
  const std::string z13(13, ' ');
  EXPECT_EQ(to_utf8(log_entry(lease, u"00-1a", u"12/8/2026", u"9:01:02 PM")),
            "Searchdate:   12/8/2026 9:01:02 PM\r\n" + z14 + " ws7\r\n" + z14 + "\t" + z13 +
                "Macaddress:   00-1a\r\n" + z14 + "\t" + z13 + "IPaddress:    10.0.0.1\r\n" + z14 +
                "\t" + z13 + "Mask:         255.0.0.0\r\n" + z14 + "\t" + z13 +
                "Lease:        INACTIVE\r\n");
}

TEST(LogEntry, ALongHostNameIsWrittenWhole) {
  const Lease lease{u"", u"", u"", u"", u"a-host-name-longer-than-one-zone"};
  const std::string line2 = to_utf8(log_entry(lease, u"", u"d", u"t")).substr(19);
  EXPECT_EQ(line2.substr(0, 14), std::string(14, ' '));
  EXPECT_EQ(line2.substr(14, 33), "a-host-name-longer-than-one-zone\r");
}

TEST(Trim, RemovesBlanksOnly) {
  EXPECT_EQ(trim(u"  a b  "), u"a b");
  EXPECT_EQ(trim(u"\ta\t"), u"\ta\t");
  EXPECT_EQ(trim(u"   "), u"");
  EXPECT_EQ(trim(u""), u"");
}

}  // namespace
}  // namespace tavo
