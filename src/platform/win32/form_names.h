// How other programs find tavo.exe's window and its controls: the window class, the caption and
// the control ids, which a program that drives the window looks for.
#pragma once

namespace tavo::platform::win32 {

inline constexpr wchar_t kClassName[] = L"TavoForm1";
inline constexpr wchar_t kCaption[] = L"TAVO (convert MAC-Adress)";
// The controls' ids are kept clear of IDOK and IDCANCEL, which IsDialogMessage sends on Enter
// and Escape.
inline constexpr int kText1Id = 101;
inline constexpr int kText2Id = 102;
inline constexpr int kCommand1Id = 103;

}  // namespace tavo::platform::win32
