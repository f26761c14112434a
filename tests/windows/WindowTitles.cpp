// Prints the title of every visible top-level window of the Windows desktop, one a line, in
// UTF-8: what the real-program tests read on Wine's own desktop, where the host's tools see one
// window only.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK printTitle(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t title[512];
    const int length = GetWindowTextW(window, title, int(std::size(title)));
    if (length <= 0) return TRUE;
    char utf8[2048];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, title, length, utf8, sizeof(utf8), nullptr,
                                          nullptr);
    std::fwrite(utf8, 1, size_t(bytes), stdout);
    std::fputc('\n', stdout);
    return TRUE;
}

}  // namespace

int main() {
    return EnumWindows(printTitle, 0) ? 0 : 1;
}
