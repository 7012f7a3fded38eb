#include "BarCommon.h"

#include "classlib/Graphics.h"
#include "classlib/TextUtils.h"
#include "classlib/WideText.h"

#include <algorithm>
#include <atomic>
#include <commctrl.h>
#include <cstring>
#include <mmsystem.h>

namespace {

// --- Bindings ----------------------------------------------------------------

void* BarProc(const char* module, const char* name)
{
    HMODULE handle = GetModuleHandleA(module);
    if (!handle)
        handle = LoadLibraryA(module);
    return handle ? reinterpret_cast<void*>(GetProcAddress(handle, name)) : nullptr;
}

struct TBarMonitorApi
{
    decltype(&MonitorFromRect) FromRect = nullptr;
    decltype(&MonitorFromPoint) FromPoint = nullptr;
    decltype(&MonitorFromWindow) FromWindow = nullptr;
    decltype(&GetMonitorInfoA) Info = nullptr;
    bool Usable() const { return FromRect && FromPoint && Info; }
};

const TBarMonitorApi& BarMonitorApi()
{
    static const TBarMonitorApi api = [] {
        TBarMonitorApi a;
        a.FromRect =
            reinterpret_cast<decltype(a.FromRect)>(BarProc("user32.dll", "MonitorFromRect"));
        a.FromPoint =
            reinterpret_cast<decltype(a.FromPoint)>(BarProc("user32.dll", "MonitorFromPoint"));
        a.FromWindow =
            reinterpret_cast<decltype(a.FromWindow)>(BarProc("user32.dll", "MonitorFromWindow"));
        a.Info = reinterpret_cast<decltype(a.Info)>(BarProc("user32.dll", "GetMonitorInfoA"));
        return a;
    }();
    return api;
}

using TTrackMouseEventProc = BOOL(WINAPI*)(TRACKMOUSEEVENT*);

TTrackMouseEventProc BoundTrackMouseEvent()
{
    static const TTrackMouseEventProc proc = [] {
        auto p = reinterpret_cast<TTrackMouseEventProc>(BarProc("user32.dll", "TrackMouseEvent"));
        if (!p)
            p = reinterpret_cast<TTrackMouseEventProc>(BarProc("comctl32.dll", "_TrackMouseEvent"));
        return p;
    }();
    return proc;
}

std::atomic<TUpdateLayeredWindow> gUpdateLayeredWindow{nullptr};
std::atomic<bool> gUpdateLayeredWindowBound{false};

// --- System settings ---------------------------------------------------------

bool SystemFlag(UINT action)
{
    BOOL value = FALSE;
    return SystemParametersInfoA(action, 0, &value, 0) && value;
}

TBarSystemSeams SystemSeams()
{
    TBarSystemSeams s;
    s.MenuShowDelay = [](int& delay) {
        return SystemParametersInfoA(SPI_GETMENUSHOWDELAY, 0, &delay, 0) != FALSE;
    };
    s.FlatMenus = [] { return SystemFlag(SPI_GETFLATMENU); };
    s.KeyboardCues = [](bool& shown) {
        BOOL value = FALSE;
        if (!SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &value, 0))
            return false;
        shown = value != FALSE;
        return true;
    };
    s.WheelScrollLines = [] {
        UINT lines = 3;
        if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
            lines = 3;
        return lines;
    };
    s.MenuAnimation = [] { return SystemFlag(SPI_GETMENUANIMATION); };
    s.MenuFade = [] { return SystemFlag(SPI_GETMENUFADE); };
    s.SoundEventAssigned = RegistrySoundEventAssigned;
    s.PlaySoundEvent = [](const AnsiString& eventName) {
        PlaySoundA(eventName.c_str(), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP);
    };
    s.Beep = [] { MessageBeep(0); };
    return s;
}

TBarSystemSeams& SeamsInstance()
{
    static TBarSystemSeams seams = SystemSeams();
    return seams;
}

// A user registry value: whether it exists, its type, and (for a string) its
// text.
struct TUserRegistryValue
{
    bool Present = false;
    DWORD Type = REG_NONE;
    AnsiString Text;
};

TUserRegistryValue ReadUserRegistryValue(const char* keyPath, const char* valueName)
{
    TUserRegistryValue result;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return result;
    char buffer[64] = {};
    DWORD size = sizeof(buffer) - 1;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &result.Type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    result.Present = status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
    if (status == ERROR_SUCCESS && (result.Type == REG_SZ || result.Type == REG_EXPAND_SZ))
        result.Text.assign(buffer, strnlen(buffer, size));
    return result;
}

DWORD WindowsMajorVersion()
{
    return LOBYTE(LOWORD(GetVersion()));
}

} // namespace

TBarSystemSeams& BarSeams()
{
    return SeamsInstance();
}

void ResetBarSeams()
{
    SeamsInstance() = SystemSeams();
}

int MenuShowDelayFromRegistry(bool present, bool isString, const AnsiString& text)
{
    if (!present)
        return 400;
    int value = 0;
    if (isString && TryStrToInt(text, value))
        return value;
    return 0;
}

int RegistrySubmenuDelay()
{
    TUserRegistryValue value = ReadUserRegistryValue("Control Panel\\Desktop", "MenuShowDelay");
    return MenuShowDelayFromRegistry(value.Present, value.Type == REG_SZ, value.Text);
}

int SubmenuDelay()
{
    int delay = 0;
    if (!BarSeams().MenuShowDelay(delay)) {
        static const int registryDelay = RegistrySubmenuDelay();
        delay = registryDelay;
    }
    return std::max(delay, 0);
}

bool FlatMenuStyleOn()
{
    return OsIsXPOrNewer() && BarSeams().FlatMenus();
}

bool KeyboardCuesShown()
{
    bool shown = true;
    if (!BarSeams().KeyboardCues(shown))
        return true;
    return shown;
}

bool MenuAnimationOn()
{
    return BarSeams().MenuAnimation();
}

bool MenuFadeOn()
{
    return BarSeams().MenuFade();
}

UINT WheelScrollLines()
{
    return BarSeams().WheelScrollLines();
}

bool SoundEventAssigned(const AnsiString& eventName)
{
    return BarSeams().SoundEventAssigned(eventName);
}

void PlaySoundEvent(const AnsiString& eventName)
{
    BarSeams().PlaySoundEvent(eventName);
}

void BarBeep()
{
    BarSeams().Beep();
}

bool RegistrySoundEventAssigned(const AnsiString& eventName)
{
    if (!IsNTPlatform() || WindowsMajorVersion() < 5)
        return true;
    AnsiString path = "AppEvents\\Schemes\\Apps\\.Default\\" + eventName + "\\.Current";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[8] = {};
    DWORD size = sizeof(buffer);
    LONG status =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status == ERROR_MORE_DATA)
        return true;
    return status == ERROR_SUCCESS && size > 0 && buffer[0] != 0;
}

bool IsNTPlatform()
{
    return (GetVersion() & 0x80000000u) == 0;
}

bool WindowsVersionAtLeast(DWORD major, DWORD minor)
{
    DWORD version = GetVersion();
    DWORD hasMajor = LOBYTE(LOWORD(version));
    DWORD hasMinor = HIBYTE(LOWORD(version));
    return hasMajor > major || (hasMajor == major && hasMinor >= minor);
}

bool OsIsXPOrNewer()
{
    return IsNTPlatform() && WindowsVersionAtLeast(5, 1);
}

bool ThreadHasActiveWindow()
{
    return GetActiveWindow() != nullptr;
}

UINT KeyboardCodePage()
{
    LANGID language = LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
    char buffer[16] = {};
    if (!GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, buffer,
                        sizeof(buffer)))
        return 0;
    int codePage = 0;
    if (!TryStrToInt(buffer, codePage) || codePage <= 0 || !IsValidCodePage(codePage))
        return 0;
    return static_cast<UINT>(codePage);
}

bool SeveralMonitors()
{
    return GetSystemMetrics(SM_CMONITORS) > 1;
}

TRect GetMainScreenRect(bool workArea)
{
    RECT r;
    if (workArea && SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0))
        return r;
    return TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

namespace {

TRect MonitorRect(HMONITOR monitor, bool workArea)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !BarMonitorApi().Info(monitor, &info))
        return GetMainScreenRect(workArea);
    return workArea ? info.rcWork : info.rcMonitor;
}

} // namespace

TRect MonitorRectForRect(const TRect& r, bool workArea)
{
    const TBarMonitorApi& api = BarMonitorApi();
    if (!SeveralMonitors() || !api.Usable())
        return GetMainScreenRect(workArea);
    return MonitorRect(api.FromRect(&r, MONITOR_DEFAULTTONEAREST), workArea);
}

TRect MonitorRectAtPoint(const TPoint& p, bool workArea)
{
    const TBarMonitorApi& api = BarMonitorApi();
    if (!SeveralMonitors() || !api.Usable())
        return GetMainScreenRect(workArea);
    return MonitorRect(api.FromPoint(p, MONITOR_DEFAULTTONEAREST), workArea);
}

// --- Caption text ----------------------------------------------------------------

int FontLineHeight(HDC dc)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

int CaptionPixelWidth(HDC dc, const AnsiString& s, bool stripAccelerators)
{
    AnsiString text = stripAccelerators ? RemoveAccelMarks(s) : s;
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

AnsiString RemoveAccelMarks(const AnsiString& s)
{
    AnsiString result;
    result.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        size_t length = CharLength(s, i);
        if (s[i] == '&') {
            // A single mark goes; of a pair, one stays.
            if (i + 1 < s.size() && s[i + 1] == '&') {
                result += '&';
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        result.append(s, i, length);
        i += length;
    }
    return result;
}

AnsiString DoubleAmpersands(const AnsiString& s)
{
    AnsiString result;
    result.reserve(s.size() + 4);
    for (size_t i = 0; i < s.size();) {
        size_t length = CharLength(s, i);
        if (s[i] == '&')
            result += '&';
        result.append(s, i, length);
        i += length;
    }
    return result;
}

AnsiString StripTrailingPunctuation(const AnsiString& s)
{
    if (s.size() >= 3 && s.compare(s.size() - 3, 3, "...") == 0)
        return s.substr(0, s.size() - 3);
    if (!s.empty() && s.back() == ':' && ByteType(s, s.size() - 1) == mbSingleByte)
        return s.substr(0, s.size() - 1);
    return s;
}

char ExtractAccelChar(const AnsiString& s)
{
    char result = 0;
    for (size_t i = 0; i < s.size();) {
        if (s[i] != '&') {
            i += CharLength(s, i);
            continue;
        }
        if (i + 1 >= s.size())
            break;
        if (s[i + 1] == '&') {
            i += 2;
            continue;
        }
        // The marked character counts only when it is a single byte.
        result = CharLength(s, i + 1) == 1 ? s[i + 1] : 0;
        i += 1 + CharLength(s, i + 1);
    }
    return result;
}

// --- Vertical text ------------------------------------------------------------------

namespace {

int CALLBACK BarFaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontFaceExists(HDC dc, const AnsiString& face, BYTE charset)
{
    LOGFONTA query = {};
    query.lfCharSet = charset;
    lstrcpynA(query.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(dc, &query, BarFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

} // namespace

HFONT MakeTurnedFont(HDC dc, int angle, const AnsiString& sansFace)
{
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
    font.lfEscapement = angle;
    font.lfOrientation = angle;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    AnsiString face = font.lfFaceName;
    if (SameText(face, "MS Sans Serif") || SameText(face, "Microsoft Sans Serif")) {
        // A bitmap face does not turn: take a TrueType one, keeping the
        // height in pixels.
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        if (font.lfHeight > 0)
            font.lfHeight = metrics.tmHeight;
        else
            font.lfHeight = -(metrics.tmHeight - metrics.tmInternalLeading);
        face = sansFace;
    }
    // East-Asian faces have an upright variant named with a leading "@".
    if (face.size() < 31 && FontFaceExists(dc, "@" + face, font.lfCharSet))
        face = "@" + face;
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HFONT MakeVerticalFont(HDC dc)
{
    return MakeTurnedFont(dc, 2700, "Arial");
}

void DrawTurnedText(HDC dc, const WideString& text, size_t underlined, const TRect& r, UINT format,
                    int angle)
{
    auto measure = [dc, &text](size_t count) {
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(count), &size);
        return static_cast<int>(size.cx);
    };
    const bool upwards = angle == 900;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int length = measure(text.size());
    const int along = (format & DT_CENTER) ? (r.Height() - length) / 2 : 0;
    // The text's cell lies beside its reference point: to the right of it
    // running upwards, to the left running downwards.
    const int x = upwards ? r.left + (r.Width() - metrics.tmHeight) / 2
                          : r.left + (r.Width() + metrics.tmHeight) / 2;
    const int y = upwards ? r.bottom - along : r.top + along;
    const UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    ExtTextOutW(dc, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    if (underlined >= text.size() || (format & DT_HIDEPREFIX))
        return;
    // Upwards the pixel rows above the reference point are the text's.
    const int direction = upwards ? -1 : 1;
    const int start = upwards ? y - 1 : y;
    const int from = start + direction * measure(underlined);
    const int to = start + direction * measure(underlined + 1);
    const int column = upwards ? x + metrics.tmAscent + 1 : x - metrics.tmAscent - 1;
    TOwnedGdiObject pen(CreatePen(PS_SOLID, 1, GetTextColor(dc)));
    TSelectedObject selection(dc, pen.Handle());
    MoveToEx(dc, column, from, nullptr);
    LineTo(dc, column, to);
}

AnsiString EllipsizedText(const AnsiString& s, int room,
                          const std::function<int(const AnsiString&)>& measure)
{
    AnsiString text = s;
    while (measure(text + "...") > room) {
        size_t last = 0;
        for (size_t i = 0; i < text.size(); i += CharLength(text, i))
            last = i;
        if (last == 0)
            break;
        text.erase(last);
    }
    return text + "...";
}

void DrawVerticalCaption(HDC dc, const AnsiString& s, const TRect& r, UINT format)
{
    TOwnedGdiObject rotated(MakeVerticalFont(dc));
    TSelectedObject selection(dc, rotated.Handle());
    AnsiString text = s;
    size_t underlined = AnsiString::npos; // byte index in text of the underlined character
    if (!(format & DT_NOPREFIX)) {
        AnsiString stripped;
        for (size_t i = 0; i < s.size();) {
            if (s[i] == '&' && i + 1 < s.size()) {
                if (s[i + 1] != '&')
                    underlined = stripped.size();
                stripped += s[i + 1];
                size_t length = CharLength(s, i + 1);
                if (length == 2)
                    stripped += s[i + 2];
                i += 1 + length;
                continue;
            }
            if (s[i] == '&') {
                ++i;
                continue;
            }
            size_t length = CharLength(s, i);
            stripped.append(s, i, length);
            i += length;
        }
        text = stripped;
    }
    auto measure = [dc](const AnsiString& t) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, t.data(), static_cast<int>(t.size()), &size);
        return static_cast<int>(size.cx);
    };
    if ((format & DT_END_ELLIPSIS) && text.size() > CharLength(text, 0) &&
        measure(text) > r.Height()) {
        if (r.Height() < 3)
            text = text.substr(0, CharLength(text, 0)) + "...";
        else
            text = EllipsizedText(text, r.Height(), measure);
        if (underlined != AnsiString::npos && underlined >= text.size() - 3)
            underlined = AnsiString::npos;
    }
    // The underlined character's place in the wide text.
    const size_t wideUnderlined = underlined == AnsiString::npos
                                      ? WideString::npos
                                      : AnsiToWide(text.substr(0, underlined)).size();
    DrawTurnedText(dc, AnsiToWide(text), wideUnderlined, r, format, 2700);
}

// --- Window drawing ---------------------------------------------------------------

namespace {

// Moves dc's origin to (x, y) of the caller's space and clips to a size
// there, for a scope.
class TBarDCOffset
{
public:
    TBarDCOffset(HDC dc, int x, int y, int clipWidth, int clipHeight) : FSaved(dc)
    {
        OffsetViewportOrgEx(dc, x, y, nullptr);
        IntersectClipRect(dc, 0, 0, clipWidth, clipHeight);
    }

private:
    TSavedDCState FSaved;
};

TRect WindowScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

struct TOwnedWindows
{
    HWND Owner;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectOwnedWindow(HWND window, LPARAM data)
{
    auto* owned = reinterpret_cast<TOwnedWindows*>(data);
    if (GetWindow(window, GW_OWNER) == owned->Owner && IsWindowVisible(window))
        owned->Found.push_back(window);
    return TRUE;
}

void PrintAt(HWND window, HDC dc, const TRect& origin, HWND child, LPARAM flags)
{
    TRect r = WindowScreenRect(child);
    TBarDCOffset offset(dc, r.left - origin.left, r.top - origin.top, r.Width(), r.Height());
    SendMessageA(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}

} // namespace

void PaintWindowTree(HWND window, HDC dc, LPARAM flags, TBarNCPainter ncPainter, void* painterData)
{
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(window))
        return;
    if ((flags & PRF_NONCLIENT) && ncPainter)
        ncPainter(window, dc, painterData);
    if (!(flags & PRF_CLIENT))
        return;
    TRect windowRect = WindowScreenRect(window);
    POINT clientOrigin = {0, 0};
    ClientToScreen(window, &clientOrigin);
    RECT client = {};
    GetClientRect(window, &client);
    {
        TBarDCOffset offset(dc, clientOrigin.x - windowRect.left, clientOrigin.y - windowRect.top,
                            client.right, client.bottom);
        if (flags & PRF_ERASEBKGND)
            SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    }
    if (flags & PRF_CHILDREN) {
        // Bottom of the z-order first, so that upper children paint over.
        for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child;
             child = GetWindow(child, GW_HWNDPREV))
            if (IsWindowVisible(child) && GetParent(child) == window)
                PrintAt(window, dc, windowRect, child,
                        PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    }
    if (flags & PRF_OWNED) {
        TOwnedWindows owned{window, {}};
        EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), CollectOwnedWindow,
                          reinterpret_cast<LPARAM>(&owned));
        for (HWND w : owned.Found)
            PrintAt(window, dc, windowRect, w, flags);
    }
}

void TakeNonClientFrame(RECT& r, int left, int top, int right, int bottom)
{
    r.left += left;
    r.top += top;
    r.right = std::max(r.right - right, r.left);
    r.bottom = std::max(r.bottom - bottom, r.top);
}

TRect WindowRectAtOrigin(HWND window)
{
    TRect r = WindowScreenRect(window);
    return TRect(0, 0, r.Width(), r.Height());
}

TRect ClientAreaInWindow(HWND window)
{
    TRect whole = WindowScreenRect(window);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT client = {};
    GetClientRect(window, &client);
    OffsetRect(&client, origin.x - whole.left, origin.y - whole.top);
    return client;
}

void SelectNCUpdateRgn(HWND window, HDC dc, HRGN region)
{
    if (reinterpret_cast<UINT_PTR>(region) <= 1)
        return;
    TRect r = WindowScreenRect(window);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    bool selected = false;
    if (copy && CombineRgn(copy, region, nullptr, RGN_COPY) != ERROR) {
        OffsetRgn(copy, -r.left, -r.top);
        selected = SelectClipRgn(dc, copy) != ERROR;
    }
    if (copy)
        DeleteObject(copy);
    if (!selected)
        IntersectClipRect(dc, 0, 0, r.Width(), r.Height());
}

HBRUSH CreateDitheredBrush()
{
    WORD rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = (i % 2) ? 0xAAAA : 0x5555;
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return brush;
}

namespace {

// The frame of r with the given thickness; empty when r is null.
HRGN FrameRegion(const TRect* r, SIZE thickness)
{
    if (!r)
        return MakeEmptyRegion();
    HRGN outer = CreateRectRgn(r->left, r->top, r->right, r->bottom);
    TRect inner(r->left + thickness.cx, r->top + thickness.cy, r->right - thickness.cx,
                r->bottom - thickness.cy);
    if (!inner.IsEmpty()) {
        HRGN hole = CreateRectRgn(inner.left, inner.top, inner.right, inner.bottom);
        CombineRgn(outer, outer, hole, RGN_DIFF);
        DeleteObject(hole);
    }
    return outer;
}

void InvertRegion(HDC dc, HRGN region, HBRUSH brush)
{
    RECT box;
    if (GetRgnBox(region, &box) == NULLREGION)
        return;
    TSavedDCState saved(dc);
    ExtSelectClipRgn(dc, region, RGN_AND);
    TSelectedObject selection(dc, brush);
    PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
}

} // namespace

void DrawDragOutline(HDC dc, const TRect* newRect, const TRect* oldRect, SIZE newSize, SIZE oldSize,
                     HBRUSH newBrush, HBRUSH oldBrush)
{
    HBRUSH dithered = nullptr;
    if (!newBrush || !oldBrush)
        dithered = CreateDitheredBrush();
    if (!newBrush)
        newBrush = dithered;
    if (!oldBrush)
        oldBrush = dithered;
    HRGN newFrame = FrameRegion(newRect, newSize);
    HRGN oldFrame = FrameRegion(oldRect, oldSize);
    if (newBrush == oldBrush) {
        // Inverting twice restores: only the difference changes.
        HRGN difference = MakeEmptyRegion();
        CombineRgn(difference, newFrame, oldFrame, RGN_XOR);
        InvertRegion(dc, difference, newBrush);
        DeleteObject(difference);
    } else {
        InvertRegion(dc, oldFrame, oldBrush);
        InvertRegion(dc, newFrame, newBrush);
    }
    DeleteObject(newFrame);
    DeleteObject(oldFrame);
    if (dithered)
        DeleteObject(dithered);
}

HRGN MakeEmptyRegion()
{
    return CreateRectRgn(0, 0, 0, 0);
}

// --- Messages -------------------------------------------------------------------

void FlushPaintMessages()
{
    MSG msg;
    // A window that never validates would bring its WM_PAINT back for ever.
    for (int guard = 0; guard < 1000 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
         ++guard) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchMessageA(&msg);
    }
}

void RemoveMessages(UINT first, UINT last)
{
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE))
        if (msg.message == WM_QUIT) {
            quit = true;
            quitCode = msg.wParam;
        }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

bool ReadCapturedLoopMessage(HWND window, MSG& msg)
{
    if (GetCapture() != window)
        return false;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got > 0)
        return true;
    if (got == 0)
        PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
}

bool RequestMouseLeave(HWND window, DWORD flags)
{
    TTrackMouseEventProc track = BoundTrackMouseEvent();
    if (!track)
        return false;
    TRACKMOUSEEVENT request = {};
    request.cbSize = 16;
    request.dwFlags = flags;
    request.hwndTrack = window;
    request.dwHoverTime = 0;
    return track(&request) != FALSE;
}

int DivideRoundingOut(int a, int b)
{
    int quotient = a / b;
    if (a % b != 0)
        quotient += ((a < 0) != (b < 0)) ? -1 : 1;
    return quotient;
}

TBarMeasuringCanvas::TBarMeasuringCanvas(TFont* font) : FDC(nullptr)
{
    FCanvas.SetHandle(FDC.Handle());
    if (font)
        FCanvas.Font()->Assign(font);
}

TBarMeasuringCanvas::~TBarMeasuringCanvas()
{
    FCanvas.SetHandle(nullptr);
}

TBarFreeWatch::TBarFreeWatch(TComponent* watched) : TComponent(nullptr), FWatched(watched)
{
    watched->FreeNotification(this);
}

TBarFreeWatch::~TBarFreeWatch()
{
    if (FWatched)
        FWatched->RemoveFreeNotification(this);
}

void TBarFreeWatch::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FWatched)
        FWatched = nullptr;
}

// --- Run-time bindings -------------------------------------------------------------

TUpdateLayeredWindow BoundUpdateLayeredWindow()
{
    return gUpdateLayeredWindow.load();
}

void BindUpdateLayeredWindow()
{
    if (gUpdateLayeredWindowBound.exchange(true))
        return;
    gUpdateLayeredWindow =
        reinterpret_cast<TUpdateLayeredWindow>(BarProc("user32.dll", "UpdateLayeredWindow"));
}
