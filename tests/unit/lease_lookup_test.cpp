// The lease lookup through Form1::readdhcp against the recording platform.
#include "lookup/lease_lookup.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/fake_form.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using fake::Calls;

const std::string kWork = "c:\\temp\\datas.txt";
const std::string kLog = "c:\\temp\\findout.txt";

// A listing as the DHCP server prints it: banner, header, rules, aligned columns with dashes,
// a missing blank after a dash, and leases that never expire or are inactive.
const std::string kListing =
    "\r\n"
    "Changed the current scope context to 192.168.5.0 scope.\r\n"
    "\r\n"
    "Scope 192.168.5.0 ws-lab leases\r\n"
    "IP Address      - Subnet Mask    - Unique ID           - Lease Expires          -Type "
    "-Name\r\n"
    "=================================================================================\r\n"
    "192.168.5.20     - 255.255.255.0  - 3c-52-82-0f-1e-77   -12/1/2026 8:15:02 AM   -D-  "
    "ws-lab7.corp.example\r\n"
    "192.168.5.21     - 255.255.255.0  - 00-1a-2b-3c-4d-5e   - NEVER EXPIRES          -D- "
    "printer2\r\n"
    "192.168.5.22     - 255.255.255.0  - 64-51-06-a1-66-b5   - INACTIVE               -D- "
    "ws-lab9.corp.example\r\n"
    "\r\n"
    "No of Clients(version 4): 3 in the Scope : 192.168.5.0.\r\n";

const std::string kFirstEntry =
    "Searchdate:   12/8/2026 9:42:07 PM\r\n"
    "               ws-lab7\r\n"
    "              \t             Macaddress:   3c-52-82-0f-1e-77\r\n"
    "              \t             IPaddress:    192.168.5.20\r\n"
    "              \t             Mask:         255.255.255.0\r\n"
    "              \t             Lease:        12/1/2026 8:15:02 AM\r\n";
const std::string kSecondEntry =
    "Searchdate:   12/8/2026 9:42:07 PM\r\n"
    "              ws-lab9\r\n"
    "              \t             Macaddress:   64-51-06-a1-66-b5\r\n"
    "              \t             IPaddress:    192.168.5.22\r\n"
    "              \t             Mask:         255.255.255.0\r\n"
    "              \t             Lease:        INACTIVE\r\n";

struct Lookup : fake::FakeForm {
  std::map<std::string, std::string>& files = platform.files.files;
  Lookup() {
    files["idx.txt"] = "a.txt\r\n";
    files["a.txt"] = kListing;
  }
  Calls opened() const {
    return platform.log.calls_of({"files.open_read", "files.open_write", "files.open_append \"c:"});
  }
};

TEST(LeaseLookup, LogsEveryLeaseThatHoldsTheTermInFileOrder) {
  Lookup l;
  l.files["idx.txt"] = "a.txt\r\n\r\na.txt\r\n\r\n";  // listed twice, blank lines between
  l.files[kWork] = "old";
  l.files[kLog] = "note by hand";  // no line end: the first entry still begins a line
  l.form.readdhcp(u"/dhcp idx.txt ws-lab");

  EXPECT_EQ(l.files[kWork], "");
  // The banner holds the term too but is no lease line; each listing gives two entries.
  EXPECT_EQ(l.files[kLog],
            "note by hand\r\n" + kFirstEntry + kSecondEntry + kFirstEntry + kSecondEntry);
  EXPECT_EQ(platform::posix::to_utf8(l.platform.clipboard.text()),
            "Hostnamews-lab9\r\nMacaddress:64-51-06-a1-66-b5\r\nIPaddress:192.168.5.22\r\n"
            "Mask:255.255.255.0\r\nLease:INACTIVE");
  EXPECT_EQ(l.platform.registry.values["HKCU\\Environment\\TAVO"], "64-51-06-a1-66-b5");
  const std::string append = "files.open_append \"" + kLog + "\"";
  EXPECT_EQ(l.opened(), (Calls{"files.open_write \"" + kWork + "\"", "files.open_read \"idx.txt\"",
                               "files.open_read \"a.txt\"", append, append,
                               "files.open_read \"a.txt\"", append, append}));
}

TEST(LeaseLookup, EachMatchPublishesThenSetsTheSummaryThenLogs) {
  Lookup l;
  l.form.readdhcp(u"/dhcp idx.txt printer2 ignored words");
  const Calls calls = l.platform.log.calls_of(
      {"clipboard.", "clock.", "files.open_append \"c:", "file.write \"Search"});
  ASSERT_EQ(calls.size(), 7U);
  EXPECT_EQ(calls[0], "clipboard.clear");  // hexconvert's publication
  EXPECT_EQ(calls[1], "clipboard.set_text \"00-1a-2b-3c-4d-5e\"");
  EXPECT_EQ(calls[2].rfind("clipboard.set_text \"Hostnameprinter2\\r\\n", 0), 0U) << calls[2];
  EXPECT_EQ(calls[3], "files.open_append \"" + kLog + "\"");
  EXPECT_EQ(calls[4], "clock.date");
  EXPECT_EQ(calls[5], "clock.time");
}

TEST(LeaseLookup, MatchesExactlyAsASubstring) {
  struct Case {
    std::u16string term;
    std::size_t entries;
  };
  const Case cases[] = {{u"WS-LAB", 0}, {u"192.168.5.2", 3}, {u"NEVER", 1}, {u"nothing", 0},
                        {u"", 3},       {u"\xD800", 0}};
  for (const Case& c : cases) {
    Lookup l;
    l.form.readdhcp(u"/dhcp idx.txt " + c.term);
    std::size_t entries = 0;
    for (std::size_t at = l.files[kLog].find("Searchdate:"); at != std::string::npos;
         at = l.files[kLog].find("Searchdate:", at + 1)) {
      ++entries;
    }
    EXPECT_EQ(entries, c.entries) << platform::posix::to_utf8(c.term);
    if (c.entries == 0) {
      EXPECT_EQ(l.platform.clipboard.text(), u"");
    }
  }
}

TEST(LeaseLookup, AnEmptyIndexOpensOnlyTheWorkFileAndTheIndex) {
  Lookup l;
  l.files["idx.txt"] = "";
  l.form.readdhcp(u"/dhcp idx.txt ws");
  EXPECT_EQ(l.opened(),
            (Calls{"files.open_write \"" + kWork + "\"", "files.open_read \"idx.txt\""}));
  EXPECT_EQ(l.files.count(kLog), 0U);
}

struct FailureCase {
  std::u16string wert;
  std::string fail_on;        // a call prefix that fails, or empty
  std::string message;        // part of the error's text
  std::size_t entries;        // log entries written before the failure
  bool summary_on_clipboard;  // the failing match's or an earlier one's
};

TEST(LeaseLookup, TheFirstFailureEndsItAndWhatWasDoneStays) {
  const FailureCase cases[] = {
      {u"/dhcp", "", "index file name is missing", 0, false},
      {u"/dhcp  ws", "", "index file name is missing", 0, false},
      {u"/dhcp idx.txt", "", "search term is missing", 0, false},
      {u"/dhcp idx.txt ws", "files.open_write", "fake failure of files.open_write", 0, false},
      {u"/dhcp none.txt ws", "", "cannot open none.txt", 0, false},
      {u"/dhcp two.txt ws", "", "cannot open gone.txt", 2, true},
      {u"/dhcp idx.txt ws", "clipboard.set_text \"Hostname", "fake failure", 0, false},
      {u"/dhcp idx.txt ws", "files.open_append \"c:", "fake failure", 0, true},
      {u"/dhcp idx.txt ws", "file.write \"Search", "fake failure", 0, true},
  };
  for (const FailureCase& c : cases) {
    Lookup l;
    l.files["two.txt"] = "a.txt\rgone.txt\ra.txt";
    if (!c.fail_on.empty()) l.platform.log.fail_on(c.fail_on);
    try {
      l.form.readdhcp(c.wert);
      ADD_FAILURE() << "no failure for " << platform::posix::to_utf8(c.wert);
    } catch (const Error& failure) {
      EXPECT_NE(std::string(failure.what()).find(c.message), std::string::npos) << failure.what();
    }
    const std::string log = l.files.count(kLog) != 0 ? l.files[kLog] : "";
    EXPECT_EQ(log, c.entries == 2 ? kFirstEntry + kSecondEntry : "") << c.fail_on;
    EXPECT_EQ(l.platform.clipboard.text().rfind(u"Hostname", 0) == 0, c.summary_on_clipboard)
        << c.fail_on;
    if (c.fail_on != "files.open_write") {
      EXPECT_EQ(l.files[kWork], "");
    }
  }
}

}  // namespace
}  // namespace tavo
