// Lease lines of DHCP listings: their fields, the host name, the summary and the log entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// The fields of a lease line, cut at every " -".
struct Lease {
  std::u16string ip;        // field 0, trimmed
  std::u16string mask;      // field 1, trimmed
  std::u16string hardware;  // field 2, ready for the colon-to-dash conversion
  std::u16string lease;     // field 3, trimmed
  std::u16string host;      // from field 4: after its first "- ", up to the next "." or "- "
};

// Removes blanks (and only blanks) at both ends.
std::u16string trim(std::u16string_view text);

// The lease of `line`, or nullopt when it is no lease line: fewer than five fields, or a field
// 4 without "- " or with nothing after its first "- ". The hardware field is trimmed and any
// "-" in it read as ":", since listings write addresses in dash notation too. The host name is
// not trimmed.
std::optional<Lease> parse_lease_line(std::u16string_view line);

// The five clipboard lines joined by CR LF, with no line end after the last;
// `mac` is the converted hardware address.
std::u16string lease_summary(const Lease& lease, std::u16string_view mac);

// The six lines of a log entry, each ended by CR LF, with print zones of 14 columns; a tab
// counts as one column.
std::u16string log_entry(const Lease& lease, std::u16string_view mac, std::u16string_view date,
                         std::u16string_view time);

}  // namespace tavo
