#include "Thread.h"

#include "Application.h"
#include "Exceptions.h"
#include "HiddenWindow.h"

#include <deque>
#include <memory>
#include <mutex>

namespace {

constexpr UINT WM_SYNC_WAKE = WM_APP + 0x101;
const char* const kSyncWindowClass = "ZandrelSyncWindow";

struct SyncRequest
{
    std::function<void()> method;
    HANDLE done = nullptr;  // not owned; the waiting thread's event; null for a queued call
    std::exception_ptr error;
};

struct SyncState
{
    std::mutex lock;
    // A waited-for request lives on its caller's stack; a queued call (no
    // done event) is owned here until it ran.
    std::deque<SyncRequest*> queue;
    HANDLE event = nullptr;          // auto-reset; set when a request is queued
    HWND window = nullptr;
    std::atomic<DWORD> mainThreadId{0};
};

SyncState& Sync()
{
    static SyncState state;
    return state;
}

LRESULT CALLBACK SyncWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SYNC_WAKE) {
        CheckSynchronize();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

int ToWin32Priority(TThreadPriority p)
{
    switch (p) {
    case TThreadPriority::tpIdle: return THREAD_PRIORITY_IDLE;
    case TThreadPriority::tpLowest: return THREAD_PRIORITY_LOWEST;
    case TThreadPriority::tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
    case TThreadPriority::tpNormal: return THREAD_PRIORITY_NORMAL;
    case TThreadPriority::tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
    case TThreadPriority::tpHighest: return THREAD_PRIORITY_HIGHEST;
    case TThreadPriority::tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

} // namespace

void InitMainThread()
{
    SyncState& s = Sync();
    if (s.mainThreadId.load())
        return;
    s.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SyncWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kSyncWindowClass;
    RegisterClassA(&wc);
    // A message-only window: it only ever receives the posted wake-up.
    s.window = CreateMessageOnlyWindow(kSyncWindowClass);
    s.mainThreadId = GetCurrentThreadId();
}

HANDLE SyncEvent()
{
    return Sync().event;
}

bool CheckSynchronize()
{
    SyncState& s = Sync();
    if (!TThread::IsMainThread())
        return false;
    bool ran = false;
    for (;;) {
        SyncRequest* request;
        {
            std::lock_guard<std::mutex> guard(s.lock);
            if (s.queue.empty())
                break;
            request = s.queue.front();
            s.queue.pop_front();
        }
        ran = true;
        if (!request->done) {
            const std::unique_ptr<SyncRequest> queued(request);
            try {
                queued->method();
            } catch (...) {
                HandleCallbackException(std::current_exception());
            }
            continue;
        }
        try {
            request->method();
        } catch (...) {
            request->error = std::current_exception();
        }
        SetEvent(request->done);
    }
    return ran;
}

DWORD TThread::MainThreadID()
{
    return Sync().mainThreadId.load();
}

void TThread::Synchronize(const std::function<void()>& method)
{
    SyncState& s = Sync();
    if (IsMainThread() || s.mainThreadId.load() == 0) {
        method();
        return;
    }
    SyncRequest request;
    request.method = method;
    request.done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!request.done)
        RaiseLastOSError();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        s.queue.push_back(&request);
    }
    SetEvent(s.event);
    PostMessageA(s.window, WM_SYNC_WAKE, 0, 0);
    WaitForSingleObject(request.done, INFINITE);
    CloseHandle(request.done);
    if (request.error)
        std::rethrow_exception(request.error);
}

void TThread::Queue(std::function<void()> method)
{
    SyncState& s = Sync();
    {
        std::lock_guard<std::mutex> guard(s.lock);
        s.queue.push_back(new SyncRequest{std::move(method), nullptr, nullptr});
    }
    SetEvent(s.event);
    PostMessageA(s.window, WM_SYNC_WAKE, 0, 0);
}

TThread::TThread(bool CreateSuspended) : FCreatedSuspended(CreateSuspended)
{
    FResumeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    FHandle = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
    if (!FHandle || !FResumeEvent)
        throw EThread("Thread creation error: " + SysErrorMessage(GetLastError()));
    FSuspended = CreateSuspended;
    if (!CreateSuspended) {
        FStarted = true;
        ResumeThread(FHandle);
    }
}

TThread::~TThread()
{
    if (FHandle)
        StopAndWait();
    if (FHandle)
        CloseHandle(FHandle);
    if (FResumeEvent)
        CloseHandle(FResumeEvent);
}

DWORD WINAPI TThread::ThreadProc(void* param)
{
    auto* self = static_cast<TThread*>(param);
    self->RunExecute();
    int result = self->FReturnValue;
    bool freeIt = self->FFreeOnTerminate;
    self->FFinished = true;
    if (freeIt)
        delete self;
    return static_cast<DWORD>(result);
}

void TThread::RunExecute()
{
    if (!Terminated()) {
        try {
            Execute();
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
    }
    try {
        DoTerminate();
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        Synchronize([this] { OnTerminate(this); });
}

void TThread::Resume()
{
    FSuspended = false;
    if (!FStarted.exchange(true))
        ResumeThread(FHandle);
    else
        SetEvent(FResumeEvent);
}

void TThread::Suspend()
{
    if (GetCurrentThreadId() != FThreadID)
        throw EThread("A thread can only suspend itself");
    FSuspended = true;
    WaitForSingleObject(FResumeEvent, INFINITE);
    FSuspended = false;
}

void TThread::Terminate()
{
    FTerminated = true;
}

void TThread::StopAndWait()
{
    Terminate();
    if (GetCurrentThreadId() == FThreadID)
        return;
    if (!FStarted.exchange(true))
        ResumeThread(FHandle);  // it sees Terminated and skips Execute
    SetEvent(FResumeEvent);
    WaitFor();
}

DWORD WaitServingSynchronize(HANDLE handle, DWORD timeoutMs)
{
    if (!TThread::IsMainThread())
        return WaitForSingleObject(handle, timeoutMs);
    // Sent messages are served too: a thread that sends to a window of this
    // thread would otherwise wait for us while we wait for it.
    HANDLE handles[2] = {handle, SyncEvent()};
    const DWORD count = handles[1] ? 2 : 1;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            DWORD spent = GetTickCount() - start;
            left = spent >= timeoutMs ? 0 : timeoutMs - spent;
        }
        DWORD r = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0 + count) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers sent messages
        } else if (count == 2 && r == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else {
            return r;
        }
    }
}

DWORD TThread::WaitFor()
{
    WaitServingSynchronize(FHandle);
    DWORD code = 0;
    GetExitCodeThread(FHandle, &code);
    return code;
}

TThreadPriority TThread::Priority() const
{
    int p = GetThreadPriority(FHandle);
    for (int i = 0; i <= static_cast<int>(TThreadPriority::tpTimeCritical); ++i)
        if (ToWin32Priority(static_cast<TThreadPriority>(i)) == p)
            return static_cast<TThreadPriority>(i);
    return TThreadPriority::tpNormal;
}

void TThread::SetPriority(TThreadPriority value)
{
    SetThreadPriority(FHandle, ToWin32Priority(value));
}
