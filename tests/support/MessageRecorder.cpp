#include "support/MessageRecorder.h"

#include "classlib/ControlMessages.h"
#include "classlib/WinControl.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

namespace testing_support {

namespace {

std::map<HWND, MessageRecorder*>& Recorders()
{
    static std::map<HWND, MessageRecorder*> recorders;
    return recorders;
}

// The last message the thread took off its queue, to tell posted messages
// from sent ones.
MSG gLastDequeued = {};
bool gLastDequeuedPending = false;
HHOOK gGetMessageHook = nullptr;
int gHookUsers = 0;

struct MessageNameEntry
{
    UINT Msg;
    const char* Name;
};

#define NAME(m)                                                                                    \
    {                                                                                              \
        m, #m                                                                                      \
    }
const MessageNameEntry kNames[] = {
    NAME(WM_CREATE),
    NAME(WM_DESTROY),
    NAME(WM_MOVE),
    NAME(WM_SIZE),
    NAME(WM_ACTIVATE),
    NAME(WM_SETFOCUS),
    NAME(WM_KILLFOCUS),
    NAME(WM_ENABLE),
    NAME(WM_SETTEXT),
    NAME(WM_GETTEXT),
    NAME(WM_GETTEXTLENGTH),
    NAME(WM_PAINT),
    NAME(WM_CLOSE),
    NAME(WM_ERASEBKGND),
    NAME(WM_SHOWWINDOW),
    NAME(WM_SETCURSOR),
    NAME(WM_MOUSEACTIVATE),
    NAME(WM_GETMINMAXINFO),
    NAME(WM_WINDOWPOSCHANGING),
    NAME(WM_WINDOWPOSCHANGED),
    NAME(WM_NOTIFY),
    NAME(WM_CONTEXTMENU),
    NAME(WM_NCDESTROY),
    NAME(WM_NCHITTEST),
    NAME(WM_NCPAINT),
    NAME(WM_GETDLGCODE),
    NAME(WM_KEYDOWN),
    NAME(WM_KEYUP),
    NAME(WM_CHAR),
    NAME(WM_SYSKEYDOWN),
    NAME(WM_SYSKEYUP),
    NAME(WM_SYSCHAR),
    NAME(WM_COMMAND),
    NAME(WM_SYSCOMMAND),
    NAME(WM_TIMER),
    NAME(WM_HSCROLL),
    NAME(WM_VSCROLL),
    NAME(WM_INITMENUPOPUP),
    NAME(WM_CTLCOLOREDIT),
    NAME(WM_CTLCOLORSTATIC),
    NAME(WM_CTLCOLORBTN),
    NAME(WM_MOUSEMOVE),
    NAME(WM_LBUTTONDOWN),
    NAME(WM_LBUTTONUP),
    NAME(WM_LBUTTONDBLCLK),
    NAME(WM_RBUTTONDOWN),
    NAME(WM_RBUTTONUP),
    NAME(WM_MOUSEWHEEL),
    NAME(WM_CAPTURECHANGED),
    NAME(WM_MOUSELEAVE),
    NAME(WM_SETFONT),
    NAME(WM_DRAWITEM),
    NAME(WM_MEASUREITEM),
    NAME(WM_PRINTCLIENT),
    NAME(CM_DIALOGKEY),
    NAME(CM_DIALOGCHAR),
    NAME(CM_FOCUSCHANGED),
    NAME(CM_PARENTFONTCHANGED),
    NAME(CM_PARENTCOLORCHANGED),
    NAME(CM_VISIBLECHANGED),
    NAME(CM_ENABLEDCHANGED),
    NAME(CM_COLORCHANGED),
    NAME(CM_FONTCHANGED),
    NAME(CM_CURSORCHANGED),
    NAME(CM_TEXTCHANGED),
    NAME(CM_MOUSEENTER),
    NAME(CM_MOUSELEAVE),
    NAME(CM_APPKEYDOWN),
    NAME(CM_SHOWINGCHANGED),
    NAME(CM_ENTER),
    NAME(CM_EXIT),
    NAME(CM_WANTSPECIALKEY),
    NAME(CM_RELEASE),
    NAME(CM_CHILDKEY),
    NAME(CM_HINTSHOW),
    NAME(CM_RECREATEWND),
    NAME(CM_CONTROLCHANGE),
    NAME(CM_ACTIONUPDATE),
    NAME(CM_ACTIONEXECUTE),
    NAME(CN_COMMAND),
    NAME(CN_NOTIFY),
    NAME(CN_KEYDOWN),
    NAME(CN_CHAR),
    NAME(CN_SYSKEYDOWN),
    NAME(CN_SYSCHAR),
    NAME(CN_HSCROLL),
    NAME(CN_VSCROLL),
    NAME(CN_DRAWITEM),
};
#undef NAME

const char* OriginName(MessageOrigin origin)
{
    switch (origin) {
    case MessageOrigin::Sent:
        return "sent";
    case MessageOrigin::Posted:
        return "posted";
    default:
        return "any";
    }
}

} // namespace

std::string MessageName(UINT msg)
{
    for (const MessageNameEntry& e : kNames)
        if (e.Msg == msg)
            return e.Name;
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "0x%04X", msg);
    return buffer;
}

LRESULT CALLBACK MessageRecorder::GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE) {
        gLastDequeued = *reinterpret_cast<MSG*>(lp);
        gLastDequeuedPending = true;
    }
    return CallNextHookEx(gGetMessageHook, code, wp, lp);
}

void MessageRecorder::HookMessageQueue()
{
    if (gHookUsers++ == 0)
        gGetMessageHook =
            SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

MessageRecorder::MessageRecorder(TControl* control, std::vector<UINT> only)
    : FControl(control), FPreviousMethod(control->WindowProc()), FOnly(std::move(only))
{
    HookMessageQueue();
    auto* windowed = dynamic_cast<TWinControl*>(control);
    TWndMethod previous = FPreviousMethod;
    control->SetWindowProc([this, windowed, previous](TMessage& m) {
        Record(windowed ? windowed->WindowHandle() : nullptr, m.Msg, m.WParam, m.LParam);
        previous(m);
    });
}

MessageRecorder::MessageRecorder(HWND window, std::vector<UINT> only)
    : FWindow(window), FUnicode(IsWindowUnicode(window) != FALSE), FOnly(std::move(only))
{
    HookMessageQueue();
    Recorders()[window] = this;
    auto proc = reinterpret_cast<LONG_PTR>(&RecordingProc);
    FPrevious = reinterpret_cast<WNDPROC>(FUnicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, proc)
                                                   : SetWindowLongPtrA(window, GWLP_WNDPROC, proc));
}

MessageRecorder::~MessageRecorder()
{
    if (FControl)
        FControl->SetWindowProc(FPreviousMethod);
    if (FWindow && IsWindow(FWindow)) {
        auto proc = reinterpret_cast<LONG_PTR>(FPrevious);
        if (FUnicode)
            SetWindowLongPtrW(FWindow, GWLP_WNDPROC, proc);
        else
            SetWindowLongPtrA(FWindow, GWLP_WNDPROC, proc);
    }
    if (FWindow)
        Recorders().erase(FWindow);
    if (--gHookUsers == 0 && gGetMessageHook) {
        UnhookWindowsHookEx(gGetMessageHook);
        gGetMessageHook = nullptr;
    }
}

LRESULT CALLBACK MessageRecorder::RecordingProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = Recorders().find(window);
    if (it == Recorders().end())
        return DefWindowProcA(window, msg, wp, lp);
    MessageRecorder* self = it->second;
    self->Record(window, msg, wp, lp);
    WNDPROC previous = self->FPrevious;
    if (msg == WM_NCDESTROY)
        Recorders().erase(window);
    return self->FUnicode ? CallWindowProcW(previous, window, msg, wp, lp)
                          : CallWindowProcA(previous, window, msg, wp, lp);
}

void MessageRecorder::Record(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    MessageOrigin origin = MessageOrigin::Sent;
    if (window && gLastDequeuedPending && gLastDequeued.hwnd == window &&
        gLastDequeued.message == msg && gLastDequeued.wParam == wp && gLastDequeued.lParam == lp) {
        origin = MessageOrigin::Posted;
        gLastDequeuedPending = false;
    }
    if (FOnly.empty() || std::find(FOnly.begin(), FOnly.end(), msg) != FOnly.end())
        FMessages.push_back({msg, wp, lp, origin});
}

int MessageRecorder::Count(UINT msg) const
{
    return static_cast<int>(
        std::count_if(FMessages.begin(), FMessages.end(),
                      [msg](const RecordedMessage& m) { return m.Msg == msg; }));
}

testing::AssertionResult
MessageRecorder::Matches(const std::vector<ExpectedMessage>& expected) const
{
    size_t actual = 0;
    size_t wanted = 0;
    bool ok = true;
    while (wanted < expected.size()) {
        const ExpectedMessage& e = expected[wanted];
        bool same = actual < FMessages.size() && FMessages[actual].Msg == e.Msg &&
                    (e.Origin == MessageOrigin::Any || FMessages[actual].Origin == e.Origin);
        if (same) {
            ++actual;
            ++wanted;
        } else if (e.Optional) {
            ++wanted;
        } else {
            ok = false;
            break;
        }
    }
    if (ok && actual == FMessages.size())
        return testing::AssertionSuccess();
    std::ostringstream out;
    out << "message sequence differs\n  expected:";
    for (const ExpectedMessage& e : expected)
        out << "\n    " << (e.Optional ? "(" : "") << MessageName(e.Msg) << " "
            << OriginName(e.Origin) << (e.Optional ? ")" : "");
    out << "\n  recorded:";
    for (const RecordedMessage& m : FMessages)
        out << "\n    " << MessageName(m.Msg) << " " << OriginName(m.Origin);
    return testing::AssertionFailure() << out.str();
}

} // namespace testing_support
