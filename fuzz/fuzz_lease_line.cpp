// Fuzzes lease-line parsing, the summary and the log layout.
#include "fuzz_input.h"
#include "lookup/lease_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const std::u16string line = input.latin1();
  const auto lease = tavo::parse_lease_line(line);
  if (!lease) return 0;
  const std::u16string entry = tavo::log_entry(*lease, lease->hardware, u"12/8/2026", u"9:42 PM");
  // Six lines, each ended by CR LF; the values' own line breaks only add to that.
  std::size_t line_ends = 0;
  for (std::size_t at = entry.find(u"\r\n"); at != std::u16string::npos;
       at = entry.find(u"\r\n", at + 2)) {
    ++line_ends;
  }
  if (line_ends < 6 || entry.substr(entry.size() - 2) != u"\r\n") tavo::fuzz::violated();
  const std::u16string summary = tavo::lease_summary(*lease, lease->hardware);
  if (summary.rfind(u"Hostname" + lease->host + u"\r\nMacaddress:", 0) != 0) {
    tavo::fuzz::violated();
  }
  return 0;
}
