// Lines and term matches of a file read in blocks of every small size, and with its second half
// searched on a thread of its own.
#include "lookup/line_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "base/error.h"
#include "fakes/fake_platform.h"
#include "lookup/listing_search.h"

namespace tavo {
namespace {

using Lines = std::vector<std::string>;

// One way of reading: reads, blocks and the room before them all of `size` bytes (with room for
// the term), with the second half on a thread of its own or not.
struct Way {
  std::size_t size;
  bool split;
};

std::vector<Way> ways() {
  std::vector<Way> all;
  for (const std::size_t size : {1U, 2U, 3U, 7U, 64U, 256U * 1024}) {
    all.push_back(Way{size, false});
    all.push_back(Way{size, true});
  }
  return all;
}

std::string name(const Way& way) {
  return std::to_string(way.size) + (way.split ? ", two halves" : "");
}

// A file of `content`, with the fakes it is read through.
struct File {
  File(const std::string& content, const Way& way, std::size_t term_size = 0)
      : sizes{way.size, std::max(way.size, term_size)}, buffer(sizes) {
    files.files["f"] = content;
    files.read_size = way.size;
  }
  fake::Recorder log;
  fake::FakeFileSystem files{log};
  fake::FakeThreads threads;
  ReadSizes sizes;
  ReadBuffer buffer;
};

Lines all_lines(const std::string& content, const Way& way) {
  File f(content, way);
  const auto file = f.files.open_read(u"f");
  ByteReader reader(*file, 0, file->size(), f.buffer);
  LineScanner scanner(reader);
  Lines lines;
  while (const auto line = scanner.next_line()) lines.emplace_back(*line);
  return lines;
}

// The lines that hold `term`; `change` may change the file as it is read, and `threads` refuse.
Lines matches(const std::string& content, const Term& term, const Way& way,
              const std::function<void(std::string&)>& change = {}, bool refuse = false) {
  File f(content, way, term.bytes().size());
  f.files.on_read = change;
  f.threads.refuse = refuse;
  const auto file = f.files.open_read(u"f");
  ListingSearch search(*file, term, f.buffer, way.split ? &f.threads : nullptr,
                       way.split ? 0 : std::numeric_limits<std::uint64_t>::max());
  Lines lines;
  while (const auto line = search.next()) lines.emplace_back(*line);
  return lines;
}

struct LineCase {
  std::string content;
  Lines lines;
};

TEST(LineScanner, LinesEndAtCrOrCrLfButNotAtALoneLf) {
  const LineCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\r", {"a\nb"}},
      {"\r\r", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\n", {"\n"}},
      {"a\r\n\nb", {"a", "\nb"}},
      {"a\r\n\r", {"a", ""}},
      {std::string("x\0y\r\xff", 5), {std::string("x\0y", 3), "\xff"}},
  };
  for (const LineCase& c : cases) {
    for (const Way& way : ways()) {
      if (way.split) continue;  // only matches are searched in two halves
      EXPECT_EQ(all_lines(c.content, way), c.lines)
          << "content " << testing::PrintToString(c.content) << ", " << name(way);
    }
  }
}

struct MatchCase {
  std::string term;
  std::string content;
  Lines lines;
};

TEST(LineScanner, MatchesLieWhollyInsideOneLine) {
  const std::string long_line = std::string(5000, 'x') + "ab" + std::string(3000, 'y');
  const MatchCase cases[] = {
      {"ab", "xab\r\nab\r\nno\r\n", {"xab", "ab"}},
      {"ab", "abab\r\nab", {"abab", "ab"}},
      {"ab", "a\rb\r\na\r\nb", {}},  // a line end between the two halves
      {"ab", "a", {}},
      {"ab", "zzab", {"zzab"}},
      {"", "a\r\n\r\n\rb", {"a", "b"}},  // every line that is not empty
      {"", "\n", {"\n"}},
      {"a\rb", "a\rb", {}},           // a term with a CR matches nothing
      {"\nx", "a\r\nx\r\n", {}},      // that LF belongs to the line end
      {"\nx", "a\nx\r\n", {"a\nx"}},  // a lone LF is part of the line
      {"a\n", "a\r\nb\r\nxa\nb", {"xa\nb"}},
      {"ws-lab7",
       "banner ws-lab7\r\nip - ws-lab7.corp\r\n",
       {"banner ws-lab7", "ip - ws-lab7.corp"}},
      {"WS", "ws\r\nWs\r\nWS", {"WS"}},  // case counts
      {"ab", long_line + "\r\nq\r\nab", {long_line, "ab"}},
      {"zz", long_line + "\r\nzz", {"zz"}},
      {"ab", "\r\n\r\nab\r\n\r\n", {"ab"}},
      // read a byte at a time, the second half begins after a CR LF, after a CR, between the
      // two, or inside a line
      {"x", "ax\r\nbbbx", {"ax", "bbbx"}},
      {"x", "aax\rbbbx", {"aax", "bbbx"}},
      {"x", "aax\r\nbbx", {"aax", "bbx"}},
      {"x", "ax\rbx\rcx", {"ax", "bx", "cx"}},
  };
  for (const MatchCase& c : cases) {
    for (const Way& way : ways()) {
      EXPECT_EQ(matches(c.content, Term(c.term), way), c.lines)
          << "term " << testing::PrintToString(c.term) << ", content "
          << testing::PrintToString(c.content.substr(0, 40)) << ", " << name(way);
    }
  }
}

// Shift-JIS (code page 932): 0x81-0x9F and 0xE0-0xFC begin a two-byte character whose second
// byte may be any of 0x40-0xFC, ASCII letters among them.
platform::LeadBytes shift_jis() {
  platform::LeadBytes lead{};
  for (unsigned byte = 0x81; byte <= 0xFC; ++byte) lead[byte] = byte <= 0x9F || byte >= 0xE0;
  return lead;
}

TEST(LineScanner, OnDoubleByteCodePagesAMatchBeginsOnACharacter) {
  const std::string lead = "\x83";
  const std::string kana_a = lead + "A";                    // its second byte is that of "A"
  const std::string long_kana = std::string(3000, '\x82');  // 1500 two-byte characters
  const MatchCase cases[] = {
      {"AB", kana_a + "B\r\n", {}},                // "AB" from a second byte on
      {"AB", kana_a + "AB\r\n", {kana_a + "AB"}},  // and again on a character
      {"AB", "x" + kana_a + "B\r\nAB", {"AB"}},
      {"AB", lead + lead + "AB\r\n", {lead + lead + "AB"}},  // 83 83 is one character
      {"AB", lead + lead + lead + "AB\r\n", {}},             // and then 83 41 is another
      {kana_a, "A" + kana_a + "\r\n", {"A" + kana_a}},
      {"AB", lead + "\r\nAB", {"AB"}},  // a lead byte cut off by the line end
      {"AB", long_kana + lead + "AB", {}},
      {"AB", long_kana + lead + "AAB", {long_kana + lead + "AAB"}},
  };
  for (const MatchCase& c : cases) {
    for (const Way& way : ways()) {
      EXPECT_EQ(matches(c.content, Term(c.term, shift_jis()), way), c.lines)
          << "term " << testing::PrintToString(c.term) << ", content "
          << testing::PrintToString(c.content.substr(0, 40)) << ", " << name(way);
    }
  }
}

// A file is read as one run of bytes from its start: what is appended while it is read is not
// read, a file cut shorter gives the lines of what was read before the cut was met (from the
// cut on, never more), and a thread that cannot be started leaves the caller to search alone. A
// read that fails passes on.
TEST(ListingSearch, AFileIsReadAsOneRunOfBytes) {
  std::string listing;
  for (std::size_t i = 0; i < 40; ++i) {
    listing += "10.77.1." + std::to_string(i) + " - lab" + std::string(i % 7, 'x') + "\r\n";
  }
  const std::string long_first = "lab" + std::string(30, 'x') + "\r\n" + listing;
  const auto on_read = [](int read, auto change) {  // `change` before that read
    return [change, read, reads = 0](std::string& content) mutable {
      if (++reads == read) change(content);
    };
  };
  const std::size_t cut = listing.size() / 2 + 3;
  struct Case {
    const char* what;
    const std::string& content;
    std::function<void(std::string&)> change;
    bool refuse;
    std::size_t at_least;  // the lines found are those of the first N bytes, N at least this
  };
  const Case cases[] = {
      {"grows", listing, on_read(2, [](std::string& c) { c += "10.77.1.200 - lab new\r\n"; }),
       false, listing.size()},
      {"cut shorter", listing, on_read(2, [cut](std::string& c) { c.resize(cut); }), false, cut},
      // a long line whose term was read, read again from its start after the cut: not the term's
      {"cut in a long line", long_first, on_read(4, [](std::string& c) { c.resize(2); }), false, 2},
      {"no thread", listing, {}, true, listing.size()},
  };
  const auto found_in = [](const std::string& text) {
    Lines lines;
    for (const std::string& line : all_lines(text, Way{64, false})) {
      if (line.find("lab") != std::string::npos) lines.push_back(line);
    }
    return lines;
  };
  const Term term("lab");
  for (const Case& c : cases) {
    for (const Way& way : ways()) {
      SCOPED_TRACE(std::string(c.what) + ", " + name(way));
      const Lines found = matches(c.content, term, way, c.change, c.refuse);
      bool a_prefix = false;
      for (std::size_t n = c.at_least; n <= c.content.size() && !a_prefix; ++n) {
        a_prefix = found == found_in(c.content.substr(0, n));
      }
      EXPECT_TRUE(a_prefix) << testing::PrintToString(found);
    }
  }
  for (const Way& way : ways()) {
    SCOPED_TRACE(name(way));
    EXPECT_THROW(matches(listing, term, way, [](std::string&) { throw Error("I/O error"); }),
                 Error);
  }
}

}  // namespace
}  // namespace tavo
