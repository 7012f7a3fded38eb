#include "BarHook.h"

#include "classlib/Application.h"

#include <vector>

namespace {

// The three hooks a thread may need, and the kinds each serves.
enum THookSlot
{
    kCallWndProcHook,
    kCBTHook,
    kGetMessageHook,
    kHookSlots
};

constexpr int kHookTypes[kHookSlots] = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};

int SlotOf(TBarHookEventKind kind)
{
    switch (kind) {
    case TBarHookEventKind::WindowDestroying:
        return kCBTHook;
    case TBarHookEventKind::MessageRetrieved:
        return kGetMessageHook;
    default:
        return kCallWndProcHook;
    }
}

// The hook slots a set of kinds needs, as bits.
unsigned SlotsFor(TBarHookEventKinds kinds)
{
    unsigned slots = 0;
    for (unsigned k = 0; k <= static_cast<unsigned>(TBarHookEventKind::FocusTaken); ++k)
        if (kinds & (1u << k))
            slots |= 1u << SlotOf(static_cast<TBarHookEventKind>(k));
    return slots;
}

struct TRegistration
{
    TBarHookProc Proc;
    TBarHookEventKinds Kinds;
};

struct TThreadHooks
{
    HHOOK Hooks[kHookSlots] = {};
    int UseCounts[kHookSlots] = {};
    std::vector<TRegistration> Registrations;
};

thread_local TThreadHooks tHooks;

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK CBTHook(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);
constexpr HOOKPROC kHookProcs[kHookSlots] = {CallWndProcHook, CBTHook, GetMessageHook};

void RaiseSlots(unsigned slots)
{
    for (int slot = 0; slot < kHookSlots; ++slot) {
        if (!(slots & (1u << slot)))
            continue;
        if (tHooks.UseCounts[slot]++ == 0)
            tHooks.Hooks[slot] = SetWindowsHookExW(kHookTypes[slot], kHookProcs[slot], nullptr,
                                                   GetCurrentThreadId());
    }
}

void LowerSlots(unsigned slots)
{
    for (int slot = 0; slot < kHookSlots; ++slot) {
        if (!(slots & (1u << slot)) || tHooks.UseCounts[slot] == 0)
            continue;
        if (--tHooks.UseCounts[slot] == 0 && tHooks.Hooks[slot]) {
            UnhookWindowsHookEx(tHooks.Hooks[slot]);
            tHooks.Hooks[slot] = nullptr;
        }
    }
}

// Calls every procedure registered for kind. A procedure may register or
// unregister procedures meanwhile: each is looked up again before its call.
void Deliver(TBarHookEventKind kind, HWND window, WPARAM wp, LPARAM lp)
{
    std::vector<TRegistration> snapshot = tHooks.Registrations;
    for (const TRegistration& r : snapshot) {
        for (const TRegistration& now : tHooks.Registrations)
            if (now.Proc == r.Proc && (now.Kinds & BarHookKind(kind))) {
                r.Proc(kind, window, wp, lp);
                break;
            }
    }
}

void DeliverSafely(TBarHookEventKind kind, HWND window, WPARAM wp, LPARAM lp)
{
    try {
        Deliver(kind, window, wp, lp);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        switch (call->message) {
        case WM_ACTIVATE:
            DeliverSafely(TBarHookEventKind::WindowActivated, call->hwnd, call->wParam,
                          call->lParam);
            break;
        case WM_ACTIVATEAPP:
            DeliverSafely(TBarHookEventKind::AppActivated, call->hwnd, call->wParam, call->lParam);
            break;
        case WM_WINDOWPOSCHANGED:
            DeliverSafely(TBarHookEventKind::WindowPosChanged, call->hwnd, call->wParam,
                          call->lParam);
            break;
        case WM_SETFOCUS:
            DeliverSafely(TBarHookEventKind::FocusTaken, call->hwnd, call->wParam, call->lParam);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(tHooks.Hooks[kCallWndProcHook], code, wp, lp);
}

LRESULT CALLBACK CBTHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_DESTROYWND)
        DeliverSafely(TBarHookEventKind::WindowDestroying, reinterpret_cast<HWND>(wp), 0, 0);
    return CallNextHookEx(tHooks.Hooks[kCBTHook], code, wp, lp);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION)
        DeliverSafely(TBarHookEventKind::MessageRetrieved, nullptr, wp, lp);
    return CallNextHookEx(tHooks.Hooks[kGetMessageHook], code, wp, lp);
}

} // namespace

void RegisterThreadHook(TBarHookProc proc, TBarHookEventKinds kinds)
{
    for (TRegistration& r : tHooks.Registrations)
        if (r.Proc == proc) {
            unsigned had = SlotsFor(r.Kinds);
            r.Kinds |= kinds;
            RaiseSlots(SlotsFor(r.Kinds) & ~had);
            return;
        }
    tHooks.Registrations.push_back({proc, kinds});
    RaiseSlots(SlotsFor(kinds));
}

void UnregisterThreadHook(TBarHookProc proc)
{
    for (auto it = tHooks.Registrations.begin(); it != tHooks.Registrations.end(); ++it)
        if (it->Proc == proc) {
            unsigned slots = SlotsFor(it->Kinds);
            tHooks.Registrations.erase(it);
            LowerSlots(slots);
            return;
        }
}

void RemoveThreadHooks()
{
    tHooks.Registrations.clear();
    for (int slot = 0; slot < kHookSlots; ++slot) {
        if (tHooks.Hooks[slot])
            UnhookWindowsHookEx(tHooks.Hooks[slot]);
        tHooks.Hooks[slot] = nullptr;
        tHooks.UseCounts[slot] = 0;
    }
}

bool ThreadHookInstalled(TBarHookEventKind kind)
{
    return tHooks.Hooks[SlotOf(kind)] != nullptr;
}
