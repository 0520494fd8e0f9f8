// A stand-in for the game: a window titled "AliceInCradle" that says which build it is, by its
// text and its window class. Built twice, as the original (the tests' game folder) and as the
// patched build (the sample payload).
//
// Arguments, all optional: --title TEXT (another window title), --no-window (run without any
// window), --marker FILE (write this program's command line to FILE on start),
// --lifetime SECONDS (end by itself after that long).

#include <windows.h>

#include <cwchar>

#ifndef CRADLE_STAND_IN_PATCHED
#error "build with -DCRADLE_STAND_IN_PATCHED=0 (original) or 1 (patched)"
#endif

namespace {

#if CRADLE_STAND_IN_PATCHED
constexpr wchar_t kClassName[] = L"AliceInCradleStandInPatched";
constexpr wchar_t kBanner[] = L"AliceInCradle 替身 · 已安装补丁\nstand-in game: PATCHED build";
constexpr COLORREF kBackground = RGB(214, 245, 214);
#else
constexpr wchar_t kClassName[] = L"AliceInCradleStandIn";
constexpr wchar_t kBanner[] = L"AliceInCradle 替身 · 原版，未安装补丁\nstand-in game: ORIGINAL build";
constexpr COLORREF kBackground = RGB(245, 226, 214);
#endif

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT area;
            GetClientRect(window, &area);
            HBRUSH brush = CreateSolidBrush(kBackground);
            FillRect(dc, &area, brush);
            DeleteObject(brush);
            HFONT font = CreateFontW(28, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                     CLEARTYPE_QUALITY, 0, L"Microsoft YaHei");
            HGDIOBJ previous = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            InflateRect(&area, -20, -40);
            DrawTextW(dc, kBanner, -1, &area, DT_CENTER | DT_WORDBREAK);
            SelectObject(dc, previous);
            DeleteObject(font);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_TIMER:
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void WriteMarker(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const wchar_t* line = GetCommandLineW();
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(wcslen(line) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    const wchar_t* title = L"AliceInCradle";
    bool window = true;
    UINT lifetimeMs = 0;
    for (int i = 1; i < count; ++i) {
        const wchar_t* arg = args[i];
        const bool hasValue = i + 1 < count;
        if (wcscmp(arg, L"--title") == 0 && hasValue) title = args[++i];
        else if (wcscmp(arg, L"--no-window") == 0) window = false;
        else if (wcscmp(arg, L"--marker") == 0 && hasValue) WriteMarker(args[++i]);
        else if (wcscmp(arg, L"--lifetime") == 0 && hasValue) lifetimeMs = static_cast<UINT>(_wtoi(args[++i])) * 1000u;
    }

    if (!window) {
        LocalFree(args);
        Sleep(lifetimeMs != 0 ? lifetimeMs : INFINITE);
        return 0;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    HWND main = CreateWindowExW(0, kClassName, title, WS_OVERLAPPEDWINDOW, 420, 500, 560, 220,
                                nullptr, nullptr, instance, nullptr);
    if (lifetimeMs != 0) SetTimer(main, 1, lifetimeMs, nullptr);
    ShowWindow(main, show);
    UpdateWindow(main);
    LocalFree(args);  // the title may point into it until the window has it
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
