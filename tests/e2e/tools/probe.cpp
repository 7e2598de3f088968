// tavo_probe: drives tavo.exe's window from another process, as a person or a program would.
//
//   tavo_probe wait                 wait up to 60 s for the window to be shown
//   tavo_probe layout               caption, client size, controls (each "cc6" when it is one
//                                   of Common Controls 6, else "classic") and tab order
//   tavo_probe font [DPI]           "guifont" when Text2 draws in the default GUI font (made
//                                   for DPI)
//   tavo_probe window               the window's rectangle on the screen
//   tavo_probe dpi-changed DPI LEFT TOP WIDTH HEIGHT
//                                   WM_DPICHANGED to the window, suggesting that rectangle
//   tavo_probe snapshot FILE        the window as the screen shows it, as a BMP file
//   tavo_probe settext N TEXT       WM_SETTEXT to control N (Text1, Text2)
//   tavo_probe gettext N            WM_GETTEXT of control N
//   tavo_probe getsel N             EM_GETSEL of control N, as "start end"
//   tavo_probe focus                the control that has the input focus (GetGUIThreadInfo)
//   tavo_probe paste TEXT           put TEXT on the clipboard and send WM_PASTE to Text1
//   tavo_probe type N TEXT          WM_CHAR for each character of TEXT to control N
//   tavo_probe clipboard            the clipboard's text (exit 3 when it holds none)
//   tavo_probe run LINE             start LINE with a console; "exit N", then the console's text
//   tavo_probe run-alone LINE       start LINE with no console and no standard handles; "exit N"
//   tavo_probe message-box CAPTION  wait up to 60 s for that message box; its text, then press OK
//   tavo_probe hold-clipboard FILE [tavo]
//                                   keep the clipboard open until FILE exists (up to 60 s);
//                                   prints "held for WINDOW", then "released" when it was open
//                                   to the end. With "tavo" it is opened for tavo's Text1, as
//                                   an edit box does while it pastes.
//   tavo_probe listen MS            a top-level window that waits up to MS milliseconds for a
//                                   WM_SETTINGCHANGE; prints "ready", then "setting SECTION"
//   tavo_probe hang MS              a top-level window that answers no message for MS
//                                   milliseconds; prints "ready"
//   tavo_probe inked                how many pixels of the first print line differ from the
//                                   window's background
//   tavo_probe click                BM_CLICK on "Close"
//   tavo_probe close                WM_SYSCOMMAND SC_CLOSE, the title-bar close box
//
// TEXT may hold \uXXXX escapes for characters the command line cannot carry. Texts are
// printed as UTF-8 without a line end. Exit status 0 on success, 1 on a failure (message on
// standard error), 2 on a usage error.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform/win32/form_names.h"
#include "probe.h"

namespace tavo_probe {

namespace names = tavo::platform::win32;

namespace {

constexpr int kIds[] = {names::kText1Id, names::kText2Id, names::kCommand1Id};
constexpr const wchar_t* kNames[] = {L"Text1", L"Text2", L"Command1"};

}  // namespace

void write_out(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes,
                      nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

[[noreturn]] void fail(const char* message) {
  std::fprintf(stderr, "tavo_probe: %s\n", message);
  std::exit(1);
}

HWND find_control(HWND form, const wchar_t* name) {
  for (int i = 0; i < 3; ++i) {
    if (std::wcscmp(name, kNames[i]) == 0) {
      HWND control = GetDlgItem(form, kIds[i]);
      if (control == nullptr) fail("control not found");
      return control;
    }
  }
  fail("unknown control name");
}

std::wstring text_of(HWND window) {
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

}  // namespace tavo_probe

namespace {

using namespace tavo_probe;

std::wstring unescape(const wchar_t* text) {
  std::wstring out;
  for (const wchar_t* p = text; *p != L'\0'; ++p) {
    if (p[0] == L'\\' && p[1] == L'u' && std::wcslen(p) >= 6) {
      out.push_back(
          static_cast<wchar_t>(std::wcstoul(std::wstring(p + 2, 4).c_str(), nullptr, 16)));
      p += 5;
    } else {
      out.push_back(*p);
    }
  }
  return out;
}

HWND find_form() {
  HWND form = FindWindowW(names::kClassName, names::kCaption);
  if (form == nullptr) fail("no tavo window");
  return form;
}

const wchar_t* name_of(HWND form, HWND control) {
  for (int i = 0; i < 3; ++i) {
    if (control != nullptr && GetDlgItem(form, kIds[i]) == control) return kNames[i];
  }
  return control == form ? L"Form1" : L"none";
}

// The clipboard needs an owner window for SetClipboardData to work.
HWND clipboard_owner() {
  HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (owner == nullptr) fail("cannot create a clipboard owner");
  return owner;
}

void put_clipboard(const std::wstring& text) {
  HWND owner = clipboard_owner();
  if (!OpenClipboard(owner)) fail("cannot open the clipboard");
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* target = static_cast<wchar_t*>(GlobalLock(memory));
  std::wmemcpy(target, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) fail("cannot set the clipboard");
  CloseClipboard();
}

int layout(HWND form) {
  RECT client{};
  GetClientRect(form, &client);
  write_out(L"caption " + text_of(form) + L"\n");
  write_out(L"client " + std::to_wstring(client.right) + L" " + std::to_wstring(client.bottom) +
            L"\n");
  for (int i = 0; i < 3; ++i) {
    HWND control = GetDlgItem(form, kIds[i]);
    if (control == nullptr) fail("control missing");
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&box), 2);
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    const bool multiline = std::wcscmp(kind, L"Edit") == 0 && (style & ES_MULTILINE) != 0;
    write_out(std::wstring(kNames[i]) + L" " + kind +
              (common_controls_6(control) ? L" cc6 " : L" classic ") + std::to_wstring(box.left) +
              L" " + std::to_wstring(box.top) + L" " + std::to_wstring(box.right - box.left) +
              L" " + std::to_wstring(box.bottom - box.top) + (multiline ? L" multi" : L" single") +
              L" \"" + text_of(control) + L"\"\n");
  }
  std::wstring order = L"tab";
  HWND item = GetDlgItem(form, kIds[0]);
  for (int i = 0; i < 3; ++i) {
    order += L" ";
    order += name_of(form, item);
    item = GetNextDlgTabItem(form, item, FALSE);
  }
  write_out(order + L" -> " + name_of(form, item) + L"\n");
  return 0;
}

std::wstring g_heard;

LRESULT CALLBACK listener_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SETTINGCHANGE) {
    const auto* section = reinterpret_cast<const wchar_t*>(lparam);
    g_heard += L"setting " + std::wstring(section != nullptr ? section : L"(none)") + L"\n";
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int listen(DWORD milliseconds) {
  WNDCLASSW listener{};
  listener.lpfnWndProc = listener_proc;
  listener.hInstance = GetModuleHandleW(nullptr);
  listener.lpszClassName = L"TavoProbeListener";
  if (RegisterClassW(&listener) == 0) fail("cannot register the listener");
  HWND window = CreateWindowExW(0, L"TavoProbeListener", L"listener", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, listener.hInstance, nullptr);
  if (window == nullptr) fail("cannot create the listener");
  write_out(L"ready\n");
  std::fflush(stdout);
  const DWORD until = GetTickCount() + milliseconds;
  MSG message{};
  while (GetTickCount() < until && g_heard.empty()) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  write_out(g_heard);
  return 0;
}

// A window that stops answering: what a program that hangs shows to a broadcast.
int hang(DWORD milliseconds) {
  HWND window = CreateWindowExW(0, L"STATIC", L"hung", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) fail("cannot create the window");
  write_out(L"ready\n");
  std::fflush(stdout);
  Sleep(milliseconds);
  return 0;
}

// The band of the first printed line: from the client's top-left corner down to Text1.
int inked(HWND form) {
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  HDC screen = GetDC(nullptr);
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  int count = 0;
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 300; ++x) {
      const COLORREF pixel = GetPixel(screen, origin.x + x, origin.y + y);
      if (pixel != CLR_INVALID && pixel != background) ++count;
    }
  }
  ReleaseDC(nullptr, screen);
  write_out(std::to_wstring(count));
  return 0;
}

// The characters on this process's console, each row without its trailing blanks.
std::wstring console_text() {
  HANDLE screen =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info)) return L"";
  std::wstring text;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring cells(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, cells.data(), static_cast<DWORD>(cells.size()), {0, row},
                                &read);
    cells.resize(read);
    while (!cells.empty() && cells.back() == L' ') cells.pop_back();
    if (!cells.empty()) text += cells + L"\n";
  }
  CloseHandle(screen);
  return text;
}

// Starts a program with exactly `line` as its command line, as a script host would, and prints
// its exit status and what it wrote on the console. The program inherits no handles, so a
// message must find the console of its parent, which is a fresh one of this probe's. When
// `alone`, it is started as from Explorer: with no standard handles, and no console to find.
int run_line(std::wstring line, bool alone) {
  FreeConsole();
  if (!alone && !AllocConsole()) fail("cannot make a console");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (alone) startup.dwFlags = STARTF_USESTDHANDLES;  // all three null
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, alone ? DETACHED_PROCESS : 0,
                      nullptr, nullptr, &startup, &process)) {
    fail("cannot start the program");
  }
  CloseHandle(process.hThread);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) fail("it did not end");
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  std::printf("exit %lu\n", static_cast<unsigned long>(status));
  if (!alone) write_out(console_text());
  return 0;
}

// Waits up to 60 s for a message box captioned `caption`, prints its text and presses its button.
int answer_message_box(const wchar_t* caption) {
  HWND box = nullptr;
  for (int i = 0; i < 600 && (box = FindWindowW(L"#32770", caption)) == nullptr; ++i) Sleep(100);
  if (box == nullptr) fail("no message box appeared");
  std::wstring message;
  HWND button = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[16] = {};
    GetClassNameW(child, kind, 16);
    if (_wcsicmp(kind, L"Button") == 0 && button == nullptr) button = child;
    if (_wcsicmp(kind, L"Static") == 0 && text_of(child).size() > message.size()) {
      message = text_of(child);
    }
  }
  if (button == nullptr) fail("the message box has no button");
  write_out(message);
  SendMessageW(button, BM_CLICK, 0, 0);
  return 0;
}

// `text` followed by `unit` over and over, cut to `length` characters.
std::wstring repeated(std::wstring text, const std::wstring& unit, std::size_t length) {
  while (text.size() < length && !unit.empty()) text += unit;
  text.resize(length);
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  _setmode(_fileno(stdout), _O_BINARY);
  const std::wstring verb = argv[1];
  if (verb == L"wait") {
    for (int i = 0; i < 600; ++i) {
      HWND form = FindWindowW(names::kClassName, names::kCaption);
      if (form != nullptr && IsWindowVisible(form)) return 0;
      Sleep(100);
    }
    fail("the window did not appear");
  }
  if (verb == L"clipboard") {
    if (!OpenClipboard(nullptr)) fail("cannot open the clipboard");
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
      CloseClipboard();
      return 3;
    }
    write_out(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    return 0;
  }
  if (verb == L"hold-clipboard" &&
      (argc == 3 || (argc == 4 && std::wcscmp(argv[3], L"tavo") == 0))) {
    HWND holder = argc == 4 ? find_control(find_form(), L"Text1") : clipboard_owner();
    if (!OpenClipboard(holder)) fail("cannot open the clipboard");
    write_out(std::wstring(L"held for ") + (argc == 4 ? L"Text1" : L"the probe") + L"\n");
    std::fflush(stdout);
    for (int i = 0; i < 1200 && GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i) {
      Sleep(50);
    }
    const bool kept = GetOpenClipboardWindow() == holder;
    CloseClipboard();
    if (!kept) fail("the clipboard was taken away");
    write_out(L"released\n");
    return 0;
  }
  if (verb == L"hang" && argc == 3) return hang(std::wcstoul(argv[2], nullptr, 10));
  if (verb == L"run" && argc == 3) return run_line(unescape(argv[2]), false);
  if (verb == L"run-alone" && argc == 3) return run_line(unescape(argv[2]), true);
  if (verb == L"run-long" && argc == 5) {
    return run_line(repeated(unescape(argv[2]), argv[3], std::wcstoul(argv[4], nullptr, 10)),
                    false);
  }
  if (verb == L"message-box" && argc == 3) return answer_message_box(argv[2]);
  if (verb == L"listen" && argc == 3) return listen(std::wcstoul(argv[2], nullptr, 10));
  HWND form = find_form();
  if (verb == L"layout") return layout(form);
  if (verb == L"inked") return inked(form);
  if (verb == L"font" && argc <= 3) {
    return font_of_text2(form, argc == 3 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0);
  }
  if (verb == L"window") return window_rect(form);
  if (verb == L"dpi-changed" && argc == 7) {
    long at[4] = {};
    for (int i = 0; i < 4; ++i) at[i] = std::wcstol(argv[3 + i], nullptr, 10);
    return dpi_changed(form, static_cast<int>(std::wcstol(argv[2], nullptr, 10)),
                       {at[0], at[1], at[0] + at[2], at[1] + at[3]});
  }
  if (verb == L"snapshot" && argc == 3) return snapshot(form, argv[2]);
  if (verb == L"settext" && argc == 4) {
    const std::wstring text = unescape(argv[3]);
    SendMessageW(find_control(form, argv[2]), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
  }
  if (verb == L"gettext" && argc == 3) {
    write_out(text_of(find_control(form, argv[2])));
    return 0;
  }
  if (verb == L"getsel" && argc == 3) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(find_control(form, argv[2]), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    write_out(std::to_wstring(start) + L" " + std::to_wstring(end));
    return 0;
  }
  if (verb == L"focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) fail("no thread info");
    write_out(name_of(form, info.hwndFocus));
    return 0;
  }
  if (verb == L"paste-long" && argc == 5) {  // UNIT repeated COUNT times, then TAIL
    const std::size_t count = std::wcstoul(argv[3], nullptr, 10);
    put_clipboard(repeated(L"", argv[2], count * std::wcslen(argv[2])) + unescape(argv[4]));
    SendMessageW(find_control(form, L"Text1"), WM_PASTE, 0, 0);
    return 0;
  }
  if (verb == L"textlength" && argc == 3) {
    write_out(std::to_wstring(SendMessageW(find_control(form, argv[2]), WM_GETTEXTLENGTH, 0, 0)));
    return 0;
  }
  if (verb == L"paste" && argc == 3) {
    put_clipboard(unescape(argv[2]));
    SendMessageW(find_control(form, L"Text1"), WM_PASTE, 0, 0);
    return 0;
  }
  if (verb == L"type" && argc == 4) {
    HWND control = find_control(form, argv[2]);
    for (const wchar_t c : unescape(argv[3])) SendMessageW(control, WM_CHAR, c, 1);
    return 0;
  }
  if (verb == L"click") {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(find_control(form, L"Command1"), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000,
                        &result);
    return 0;
  }
  if (verb == L"close") {
    PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  return 2;
}
