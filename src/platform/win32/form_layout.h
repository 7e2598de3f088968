// Form1's design in twips, laid out at the DPI its window is drawn at, with the font for that DPI.
#pragma once

#include <windows.h>

#include <array>

#include "platform/win32/dpi.h"
#include "platform/win32/form_names.h"

namespace tavo::platform::win32 {

inline constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Text1, Text2 and Command1, in the order of Control.
using Controls = std::array<HWND, 3>;

class FormLayout {
 public:
  // At the system DPI, in the default GUI font.
  FormLayout();
  FormLayout(const FormLayout&) = delete;
  FormLayout& operator=(const FormLayout&) = delete;

  Dpi dpi() const { return dpi_; }
  HFONT font() const { return font_; }
  // The outer size of the window whose client area holds the design at `dpi`.
  static SIZE window_size_at(Dpi dpi);

  // Creates the controls in `form`, in tab order, in the font; throws tavo::Error when one cannot
  // be created.
  Controls create_controls(HWND form, HINSTANCE instance) const;

  // Lays the window out at `dpi`: `frame` becomes its rectangle, the controls take their places
  // at that DPI, and the font made for it replaces the one before, which is then freed. Reports
  // no failure: a window that the system does not move stays where it was, and where no font
  // can be made for the DPI the system's own serves.
  void move_to_dpi(HWND form, const Controls& controls, Dpi dpi, const RECT& frame);

 private:
  // A control's place at the DPI, as left, top, width and height.
  RECT place_of(std::size_t control) const;

  const Dpi system_dpi_;
  Dpi dpi_;
  OwnedFont own_font_;  // the font made for dpi_, where it is not the system DPI
  HFONT font_;
};

}  // namespace tavo::platform::win32
