// Form1's window and controls, from their twips, at the DPI the window is drawn at.
#include "platform/win32/form_layout.h"

#include <utility>

#include "base/error.h"
#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
// Design sizes in twips.
constexpr int kClientWidth = 4560;
constexpr int kClientHeight = 1710;
struct ControlDesign {
  const wchar_t* kind;
  const wchar_t* caption;
  DWORD style;
  DWORD ex_style;
  int id;
  int left;
  int top;
  int width;
  int height;
};
// In the order of Control, in which they are created: the tab order.
constexpr std::array<ControlDesign, 3> kControls{{
    {L"EDIT", L"", kEditStyle, WS_EX_CLIENTEDGE, kText1Id, 240, 240, 4095, 375},
    {L"EDIT", L"", kEditStyle, WS_EX_CLIENTEDGE, kText2Id, 240, 840, 4095, 375},
    {L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, kCommand1Id, 240,
     1440, 4095, 255},
}};

int pixels(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

HFONT stock_font() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

FormLayout::FormLayout() : system_dpi_(system_dpi()), dpi_(system_dpi_), font_(stock_font()) {}

SIZE FormLayout::window_size_at(Dpi dpi) {
  return window_size(pixels(kClientWidth, dpi.x), pixels(kClientHeight, dpi.y), kFormStyle, dpi);
}

RECT FormLayout::place_of(std::size_t control) const {
  const ControlDesign& design = kControls[control];
  return {pixels(design.left, dpi_.x), pixels(design.top, dpi_.y), pixels(design.width, dpi_.x),
          pixels(design.height, dpi_.y)};
}

Controls FormLayout::create_controls(HWND form, HINSTANCE instance) const {
  Controls controls{};
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const ControlDesign& design = kControls[i];
    const RECT place = place_of(i);
    controls[i] = api::calls().create_window(
        design.ex_style, design.kind, design.caption, design.style, place.left, place.top,
        place.right, place.bottom, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
        instance, nullptr);
    if (controls[i] == nullptr) throw Error("cannot create a control of the window");
    api::calls().send(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  return controls;
}

void FormLayout::move_to_dpi(HWND form, const Controls& controls, Dpi dpi, const RECT& frame) {
  dpi_ = dpi;
  // The old font is freed on leaving, once no control draws with it any more.
  const OwnedFont previous = std::exchange(own_font_, gui_font_for(dpi_.y, system_dpi_.y));
  font_ = own_font_ ? own_font_.get() : stock_font();
  constexpr UINT kKeepOrder = SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(form, nullptr, frame.left, frame.top, frame.right - frame.left,
               frame.bottom - frame.top, kKeepOrder);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const RECT place = place_of(i);
    SetWindowPos(controls[i], nullptr, place.left, place.top, place.right, place.bottom,
                 kKeepOrder);
    api::calls().send(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
}

}  // namespace tavo::platform::win32
