// tavo_probe's parts that more than one of its sources use; see probe.cpp for the verbs.
#pragma once

#include <windows.h>

#include <string>

namespace tavo_probe {

// Prints `text` as UTF-8 on standard output, without a line end.
void write_out(const std::wstring& text);
// Prints "tavo_probe: MESSAGE" on standard error and exits with status 1.
[[noreturn]] void fail(const char* message);
// The control named `name` (Text1, Text2, Command1) of tavo's window; fails when there is none.
HWND find_control(HWND form, const wchar_t* name);
// A window's text through WM_GETTEXT, which, unlike GetWindowText, reads another process's
// controls.
std::wstring text_of(HWND window);

// probe_host.cpp: how Windows hosts tavo's window.

// True when `control` (an edit box or a button) is one of Common Controls 6, the themed ones: it
// answers a message that only those know.
bool common_controls_6(HWND control);

}  // namespace tavo_probe
