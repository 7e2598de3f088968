// Fuzzes the notation converter and lower(): any text, any mode.
#include "convert/notation.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const auto mode = static_cast<std::int16_t>(input.byte() | (input.byte() << 8));
  const std::u16string text = (mode & 1) != 0 ? input.utf16() : input.latin1();
  const std::u16string result = tavo::convert_notation(text, mode);
  const std::u16string lowered = tavo::lower(text);
  if (lowered.size() != text.size() || tavo::lower(lowered) != lowered) tavo::fuzz::violated();
  if (mode < 1 || mode > 7) {
    if (!result.empty()) tavo::fuzz::violated();
  } else if (mode == tavo::kPairsToColon) {
    // A ':' after every pair but the last: every third character, and no trailing one. Without
    // them the text is the input, lowered.
    const std::size_t n = text.size();
    if (result.size() != (n == 0 ? 0 : n + (n + 1) / 2 - 1)) tavo::fuzz::violated();
    std::u16string pairs;
    for (std::size_t i = 0; i < result.size(); ++i) {
      if (i % 3 != 2) {
        pairs.push_back(result[i]);
      } else if (result[i] != u':') {
        tavo::fuzz::violated();
      }
    }
    if (pairs != lowered) tavo::fuzz::violated();
  } else if (result.size() > text.size()) {
    // Each group keeps at most two characters and each separator stands for one in the input,
    // so a trailing separator left on would show here.
    tavo::fuzz::violated();
  }
  return 0;
}
