// Lease lines: fields, host name, summary and log entry.
#include "lookup/lease_line.h"

#include <vector>

#include "base/cut.h"

namespace tavo {

namespace {

constexpr std::size_t kZoneWidth = 14;

// One line of the log, written item by item with zone steps between them.
class LogLine {
 public:
  LogLine& zone() {
    const std::size_t next = (column_ - 1) / kZoneWidth * kZoneWidth + kZoneWidth + 1;
    text_.append(next - column_, u' ');
    column_ = next;
    return *this;
  }
  LogLine& item(std::u16string_view text) {
    text_ += text;
    column_ += text.size();
    return *this;
  }
  std::u16string done() const { return text_ + u"\r\n"; }

 private:
  std::u16string text_;
  std::size_t column_ = 1;  // of the next character
};

}  // namespace

std::u16string trim(std::u16string_view text) {
  const std::size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(u' ');
  return std::u16string(text.substr(first, last - first + 1));
}

std::optional<Lease> parse_lease_line(std::u16string_view line) {
  const std::vector<std::u16string> fields = cut(line, u" -");
  if (fields.size() < 5) return std::nullopt;
  const std::vector<std::u16string> after_dash = cut(fields[4], u"- ");
  if (after_dash.size() < 2) return std::nullopt;
  const std::vector<std::u16string> host_parts = cut(after_dash[1], u".");
  if (host_parts.empty()) return std::nullopt;
  std::u16string hardware = trim(fields[2]);
  for (char16_t& c : hardware) {
    if (c == u'-') c = u':';
  }
  return Lease{trim(fields[0]), trim(fields[1]), hardware, trim(fields[3]), host_parts[0]};
}

std::u16string lease_summary(const Lease& lease, std::u16string_view mac) {
  return u"Hostname" + lease.host + u"\r\nMacaddress:" + trim(mac) + u"\r\nIPaddress:" + lease.ip +
         u"\r\nMask:" + lease.mask + u"\r\nLease:" + lease.lease;
}

std::u16string log_entry(const Lease& lease, std::u16string_view mac, std::u16string_view date,
                         std::u16string_view time) {
  const auto labelled = [](std::u16string_view label, std::u16string_view value) {
    return LogLine().zone().item(u"\t").zone().item(label).zone().item(value).done();
  };
  return LogLine().item(u"Searchdate:").zone().item(date).item(u" ").item(time).done() +
         LogLine().zone().item(lease.host).done() + labelled(u"Macaddress:", trim(mac)) +
         labelled(u"IPaddress:", lease.ip) + labelled(u"Mask:", lease.mask) +
         labelled(u"Lease:", lease.lease);
}

}  // namespace tavo
