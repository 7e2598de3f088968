// Writes tavo's window icon: one opaque 96 x 21 image, 24-bit colour, grey tones only.
//
// Usage: make_icon OUTPUT.ico. The output is the same byte for byte on every run.
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 21;

// 5 x 7 glyphs of the letters of the name, one row per byte, bit 4 the leftmost column.
constexpr std::array<std::array<std::uint8_t, 7>, 4> kGlyphs{{
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},  // T
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},  // V
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // O
}};

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// The grey level of pixel (x, y), y counted from the top.
std::uint8_t grey_at(int x, int y) {
  if (x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1) return 0x40;  // frame
  constexpr int kScale = 2;
  constexpr int kAdvance = 6 * kScale + 4;
  constexpr int kLeft = (kWidth - 4 * kAdvance + 4) / 2;
  constexpr int kTop = (kHeight - 7 * kScale) / 2;
  const int gx = x - kLeft;
  const int gy = y - kTop;
  if (gx >= 0 && gy >= 0 && gy < 7 * kScale && gx < 4 * kAdvance) {
    const int letter = gx / kAdvance;
    const int column = (gx % kAdvance) / kScale;
    const auto row = static_cast<std::size_t>(gy / kScale);
    if (column < 5 && ((kGlyphs[static_cast<std::size_t>(letter)][row] >> (4 - column)) & 1)) {
      return 0x20;
    }
  }
  // A light vertical gradient behind the letters.
  return static_cast<std::uint8_t>(0xF0 - y * 3);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  constexpr unsigned kRowBytes = (kWidth * 3 + 3) / 4 * 4;
  constexpr unsigned kMaskRowBytes = ((kWidth + 31) / 32) * 4;
  constexpr unsigned kImageBytes = 40 + kRowBytes * kHeight + kMaskRowBytes * kHeight;

  std::vector<std::uint8_t> out;
  put16(out, 0);  // reserved
  put16(out, 1);  // type: icon
  put16(out, 1);  // one image
  out.push_back(kWidth);
  out.push_back(kHeight);
  out.push_back(0);  // no palette
  out.push_back(0);  // reserved
  put16(out, 1);     // planes
  put16(out, 24);    // bits per pixel
  put32(out, kImageBytes);
  put32(out, 6 + 16);  // offset of the image

  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, kWidth);
  put32(out, kHeight * 2);  // colour rows and mask rows
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB
  put32(out, kRowBytes * kHeight + kMaskRowBytes * kHeight);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);

  for (int y = kHeight - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t grey = grey_at(x, y);
      out.insert(out.end(), {grey, grey, grey});
    }
    out.resize(out.size() + (kRowBytes - kWidth * 3), 0);
  }
  out.resize(out.size() + kMaskRowBytes * kHeight, 0);  // all opaque

  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
