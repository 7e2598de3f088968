// Fuzzes lease-line parsing and the log layout against a plain reading of the line.
#include <algorithm>
#include <optional>
#include <vector>

#include "fuzz_input.h"
#include "lookup/lease_line.h"

namespace {

// The fields of `line` as the rules read them, the simple way: each " -" ends one.
std::vector<std::u16string> reference_fields(std::u16string_view line) {
  std::vector<std::u16string> fields;
  for (std::size_t from = 0;;) {
    const std::size_t at = line.find(u" -", from);
    fields.emplace_back(line.substr(from, at == line.npos ? line.npos : at - from));
    if (at == line.npos) return fields;
    from = at + 2;
  }
}

// Field 4's host name: after its first "- ", up to the next "- ", then up to a "."; none when
// there is no "- " or nothing before the next one.
std::optional<std::u16string> reference_host(std::u16string_view field) {
  const std::size_t dash = field.find(u"- ");
  if (dash == field.npos) return std::nullopt;
  std::u16string_view rest = field.substr(dash + 2);
  rest = rest.substr(0, rest.find(u"- "));
  if (rest.empty()) return std::nullopt;
  return std::u16string(rest.substr(0, rest.find(u'.')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const std::u16string line = input.latin1();
  const auto lease = tavo::parse_lease_line(line);
  const std::vector<std::u16string> fields = reference_fields(line);
  const std::optional<std::u16string> host =
      fields.size() >= 5 ? reference_host(fields[4]) : std::nullopt;
  if (lease.has_value() != host.has_value()) tavo::fuzz::violated();
  if (!lease) return 0;
  std::u16string hardware = tavo::trim(fields[2]);
  for (char16_t& c : hardware) c = c == u'-' ? u':' : c;
  if (lease->ip != tavo::trim(fields[0]) || lease->mask != tavo::trim(fields[1]) ||
      lease->hardware != hardware || lease->lease != tavo::trim(fields[3]) ||
      lease->host != *host) {
    tavo::fuzz::violated();
  }
  // The first two of the log entry's lines: the date in the second print zone, the host name
  // in the second.
  const std::u16string entry = tavo::log_entry(*lease, lease->hardware, u"12/8/2026", u"9:42 PM");
  if (entry.rfind(u"Searchdate:   12/8/2026 9:42 PM\r\n              " + lease->host + u"\r\n",
                  0) != 0) {
    tavo::fuzz::violated();
  }
  return 0;
}
