#include "tools/testhost/editor_session.h"

#include <windows.h>

#include <vector>

namespace vorn::testhost {
namespace {

constexpr const char* kFrameClassName = "VornTestHostFrame";
constexpr const char* kFrameTitle = "Vorn test host";
constexpr int kFrameX = 20;
constexpr int kFrameY = 20;
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// A host calls idle tens of times a second; the pause also gives Wine's
// display driver time to deliver what it has queued.
constexpr DWORD kIdleIntervalMs = 20;

HWND toWindow(void* window) { return static_cast<HWND>(window); }

LPARAM pointAt(int x, int y) { return MAKELPARAM(x, y); }

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

EditorSession::EditorSession(PluginInstance& instance) : plugin(instance) {}

EditorSession::~EditorSession() {
    close();
    if (frame) DestroyWindow(toWindow(frame));
    pumpMessages();
    UnregisterClassA(kFrameClassName, GetModuleHandleA(nullptr));
}

bool EditorSession::createFrame() {
    WNDCLASSA frameClass = {};
    frameClass.lpfnWndProc = DefWindowProcA;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = kFrameClassName;
    if (!RegisterClassA(&frameClass)) return false;

    RECT bounds = {0, 0, kFrameClientWidth, kFrameClientHeight};
    AdjustWindowRect(&bounds, kFrameStyle, FALSE);
    HWND window = CreateWindowExA(0, kFrameClassName, kFrameTitle, kFrameStyle, kFrameX, kFrameY,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return false;
    frame = window;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    pumpMessages();
    return true;
}

intptr_t EditorSession::editorRect(const vst::ERect*& rect) {
    vst::ERect* answer = nullptr;
    const intptr_t result = plugin.dispatch(vst::effEditGetRect, 0, 0, &answer);
    rect = answer;
    return result;
}

intptr_t EditorSession::open() {
    const intptr_t result = plugin.dispatch(vst::effEditOpen, 0, 0, frame);
    editorOpen = true;
    pumpMessages();
    return result;
}

void EditorSession::close() {
    if (!editorOpen) return;
    editorOpen = false;
    plugin.dispatch(vst::effEditClose);
    pumpMessages();
}

void* EditorSession::findEditorWindow() const {
    if (!frame) return nullptr;
    return FindWindowExA(toWindow(frame), nullptr, kEditorClassName, nullptr);
}

bool EditorSession::editorWindowSize(int& width, int& height) const {
    RECT client;
    if (!GetClientRect(toWindow(findEditorWindow()), &client)) return false;
    width = client.right - client.left;
    height = client.bottom - client.top;
    return true;
}

std::string EditorSession::editorWindowName() const {
    char text[64] = {};
    GetWindowTextA(toWindow(findEditorWindow()), text, sizeof text);
    return text;
}

bool EditorSession::editorWindowIsChildOfFrame() const {
    HWND editor = toWindow(findEditorWindow());
    return editor && GetParent(editor) == toWindow(frame) &&
           (GetWindowLongA(editor, GWL_STYLE) & WS_CHILD) && IsWindowVisible(editor);
}

void EditorSession::idle(int calls) {
    for (int call = 0; call < calls; ++call) {
        plugin.dispatch(vst::effEditIdle);
        pumpMessages();
        if (HWND editor = toWindow(findEditorWindow())) UpdateWindow(editor);
        Sleep(kIdleIntervalMs);
    }
    pumpMessages();
}

void EditorSession::pressLeftButton(int x, int y) {
    SendMessageA(toWindow(findEditorWindow()), WM_LBUTTONDOWN, MK_LBUTTON, pointAt(x, y));
}

void EditorSession::movePointer(int x, int y, bool buttonHeld) {
    SendMessageA(toWindow(findEditorWindow()), WM_MOUSEMOVE, buttonHeld ? MK_LBUTTON : 0,
                 pointAt(x, y));
}

void EditorSession::releaseLeftButton(int x, int y) {
    SendMessageA(toWindow(findEditorWindow()), WM_LBUTTONUP, 0, pointAt(x, y));
}

bool EditorSession::capture(tools::Picture& picture) const {
    HWND editor = toWindow(findEditorWindow());
    int width = 0, height = 0;
    if (!editor || !editorWindowSize(width, height) || width <= 0 || height <= 0) return false;

    HDC source = GetDC(editor);
    if (!source) return false;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    bool copied = false;
    if (target && memory && bits) {
        HGDIOBJ previous = SelectObject(memory, target);
        copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            const auto* bytes = static_cast<const uint8_t*>(bits);
            const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
            picture = tools::Picture(width, height);
            for (int y = 0; y < height; ++y) {
                const uint8_t* row = bytes + static_cast<size_t>(y) * stride;
                for (int x = 0; x < width; ++x, row += 3)
                    picture.set(x, y, tools::Rgb{row[2], row[1], row[0]});
            }
        }
        SelectObject(memory, previous);
    }
    if (memory) DeleteDC(memory);
    if (target) DeleteObject(target);
    ReleaseDC(editor, source);
    return copied;
}

bool EditorSession::editorClassRegistered(const std::string& libraryPath) {
    HMODULE library = GetModuleHandleA(fileNameOf(libraryPath).c_str());
    WNDCLASSA found;
    return library && GetClassInfoA(library, kEditorClassName, &found);
}

}  // namespace vorn::testhost
