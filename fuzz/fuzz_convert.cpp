// Fuzzes the notation converter and lower(): any text, any mode.
#include "convert/notation.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const auto mode = static_cast<std::int16_t>(input.byte() | (input.byte() << 8));
  const std::u16string text = (mode & 1) != 0 ? input.utf16() : input.latin1();
  const std::u16string result = tavo::convert_notation(text, mode);
  // A result never grows beyond its input plus the separators it puts between pairs.
  if (result.size() > text.size() * 2 + 1) tavo::fuzz::violated();
  if ((mode < 1 || mode > 7) && !result.empty()) tavo::fuzz::violated();
  const std::u16string lowered = tavo::lower(text);
  if (lowered.size() != text.size() || tavo::lower(lowered) != lowered) tavo::fuzz::violated();
  return 0;
}
