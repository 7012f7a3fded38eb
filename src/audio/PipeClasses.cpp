#include "PipeClasses.h"

#include "classlib/Application.h"
#include "classlib/ScopeExit.h"
#include "classlib/Streams.h"

#include <algorithm>

std::int64_t PipeRoundDiv(std::int64_t Numerator, std::int64_t Denominator)
{
    std::int64_t quotient = Numerator / Denominator;
    std::int64_t remainder = Numerator % Denominator;
    if (remainder < 0) {
        quotient -= 1;
        remainder += Denominator;
    }
    if (2 * remainder > Denominator || (2 * remainder == Denominator && (quotient & 1) != 0))
        ++quotient;
    return quotient;
}

// ---- TPipeInputLink --------------------------------------------------------

void TPipeInputLink::Lock()
{
    while (FLock.exchange(1, std::memory_order_acquire) != 0)
        SwitchToThread();
}

int TPipeInputLink::Read(void* Buffer, int Count)
{
    Lock();
    TScopeExit unlocked([this] { Unlock(); });
    TPipeInput* input = FInput.load();
    return input ? input->ReadData(Buffer, Count) : 0;
}

bool TPipeInputLink::Fill(void* Buffer, int Count, int& Filled)
{
    auto* bytes = static_cast<unsigned char*>(Buffer);
    Filled = 0;
    bool full = true;
    Lock();
    TScopeExit unlocked([this] { Unlock(); });
    while (Filled < Count) {
        TPipeInput* input = FInput.load();
        int n = input ? input->ReadData(bytes + Filled, Count - Filled) : 0;
        if (n <= 0) {
            full = false;
            break;
        }
        Filled += n;
    }
    return full;
}

TPipeInput* TPipeInputLink::Relink(TPipeInput* NewInput)
{
    TPipeInput* old = FInput.load();
    if (old == NewInput)
        return old;
    if (old) {
        auto& readers = old->FReaders;
        readers.erase(std::remove(readers.begin(), readers.end(), FReader), readers.end());
    }
    if (NewInput)
        NewInput->FReaders.push_back(FReader);
    Lock();
    FInput.store(NewInput);
    Unlock();
    return old;
}

// ---- TPipeInput -------------------------------------------------------------

TPipeInput::TPipeInput(TComponent* AOwner) : TComponent(AOwner) {}

TPipeInput::~TPipeInput()
{
    ReleaseReaders(false);
}

void TPipeInput::ResetInput()
{
    try {
        CloseInput();
    } catch (...) {
        // Resetting means: closed, whatever closing thought of it.
    }
    FBusy = false;
}

void TPipeInput::ReleaseReaders(bool waitForRuns)
{
    while (!FReaders.empty()) {
        TComponent* reader = FReaders.back();
        if (auto* output = dynamic_cast<TPipeOutput*>(reader))
            output->InputRemoved(this, waitForRuns);
        else if (auto* converter = dynamic_cast<TPipeConverter*>(reader))
            converter->InputRemoved(this);
        if (!FReaders.empty() && FReaders.back() == reader)
            FReaders.pop_back();
    }
}

// ---- TPipeConverter ---------------------------------------------------------

TPipeConverter::TPipeConverter(TComponent* AOwner) : TPipeInput(AOwner) {}

TPipeConverter::~TPipeConverter()
{
    FLink.Relink(nullptr);
}

bool TPipeConverter::WouldLoop(TPipeInput* Candidate) const
{
    for (TPipeInput* in = Candidate; in;) {
        if (in == this)
            return true;
        auto* converter = dynamic_cast<TPipeConverter*>(in);
        in = converter ? converter->Input() : nullptr;
    }
    return false;
}

void TPipeConverter::SetInput(TPipeInput* Value)
{
    TPipeInput* old = Input();
    if (Value == old || WouldLoop(Value))
        return;
    if (!Busy()) {
        FLink.Relink(Value);
        return;
    }
    if (Value)
        Value->OpenInput();
    FLink.Relink(Value);
    if (old)
        old->CloseInput();
}

void TPipeConverter::ReleaseInputLock()
{
    FLink.Unlock();
    if (auto* next = dynamic_cast<TPipeConverter*>(Input()))
        next->ReleaseInputLock();
}

void TPipeConverter::Notification(TComponent* AComponent, TOperation Operation)
{
    TPipeInput::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent && AComponent == Input())
        InputRemoved(Input());
}

void TPipeConverter::InputRemoved(TPipeInput* Gone)
{
    // A busy converter reads nothing more once unlinked (under the lock), so
    // the run reading it ends; the input closes itself as it goes.
    if (Input() == Gone)
        FLink.Relink(nullptr);
}

// ---- TPipeThread ------------------------------------------------------------

TPipeThread::TPipeThread(TPipeOutput* Parent) : TThread(true), FParent(Parent) {}

void TPipeThread::StartRun()
{
    ++FRunCount;
    Resume();
}

void TPipeThread::EndThread()
{
    Terminate();
    Resume();
    WaitFor();
}

void TPipeThread::Execute()
{
    while (!Terminated()) {
        unsigned started = FRunCount.load();
        if (started == FServedCount) {
            Suspend();
            continue;
        }
        FServedCount = started;
        FInRun = true;
        DoRun();
        FInRun = false;
        FParent->SignalIdle();
    }
}

void TPipeThread::DoRun()
{
    for (;;) {
        try {
            FParent->ReportProgress();
            bool abort = FStopRequest.load();
            bool more = FParent->OutputChunk(abort);
            if (abort || !more || FStopRequest.load()) {
                FStopRequest = false;
                FParent->FinishRun();
                FParent->SynchronizeEvent(FParent->OnDone);
                return;
            }
        } catch (...) {
            FStopRequest = false;
            HandleRunException(std::current_exception());
            return;
        }
    }
}

void TPipeThread::HandleRunException(std::exception_ptr error)
{
    try {
        FParent->HandleThreadException(error);
    } catch (...) {
        // A failing OnThreadException handler: the application reports it.
        HandleCallbackException(std::current_exception());
    }
}

// ---- TPipeOutput ------------------------------------------------------------

TPipeOutput::TPipeOutput(TComponent* AOwner) : TComponent(AOwner)
{
    FIdleEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!FIdleEvent)
        RaiseLastOSError();
    FThread = new TPipeThread(this);
    FThread->SetSuspendWhenIdle(true);
}

TPipeOutput::~TPipeOutput()
{
    ShutDown();
    FLink.Relink(nullptr);
    CloseHandle(FIdleEvent);
}

void TPipeOutput::ShutDown()
{
    if (!FThread)
        return;
    FShuttingDown = true;
    if (!Idle()) {
        Stop();
        WaitUntilIdle(INFINITE, false);
    }
    FThread->EndThread();
    FreeAndNil(FThread);
}

void TPipeOutput::SetInput(TPipeInput* Value)
{
    TPipeInput* old = Input();
    if (Value == old)
        return;
    if (!Busy()) {
        FLink.Relink(Value);
        return;
    }
    if (!Value) {
        DetachRunningInput(true, true);
        return;
    }
    Value->OpenInput();
    FLink.Relink(Value);
    if (old)
        old->CloseInput();
}

void TPipeOutput::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent && AComponent == Input())
        InputRemoved(Input(), false);
}

void TPipeOutput::InputRemoved(TPipeInput* Gone, bool waitForRun)
{
    if (Input() != Gone)
        return;
    if (Busy())
        DetachRunningInput(waitForRun, false);
    else
        FLink.Relink(nullptr);
}

bool TPipeOutput::CanWaitForRun() const
{
    // Waiting from the worker itself, or from inside an event the worker is
    // waiting for, could never end.
    return TThread::IsMainThread() && !FInEvent.load() && FThread &&
           GetCurrentThreadId() != FThread->ThreadID();
}

void TPipeOutput::DetachRunningInput(bool waitForRun, bool closeIt)
{
    TPipeInput* old = Input();
    Stop();
    if (waitForRun && CanWaitForRun())
        WaitUntilIdle(INFINITE, false);
    // Still busy: the run reads nothing more once unlinked and ends at its
    // next chunk, without the input to close.
    bool stillOpen = Busy();
    FLink.Relink(nullptr);
    if (stillOpen && closeIt && old)
        old->CloseInput();
}

void TPipeOutput::Run()
{
    if (Busy())
        throw EPipeException(PipeText::ComponentIsBusy);
    if (!Input())
        throw EPipeException(PipeText::InputNotAssigned);
    FLink.Unlock();
    FLastProgress = 0;
    try {
        BeginOutput();
        FBusy = true;
        FThread->ClearStop();
        FCanOutput = true;
        FThread->StartRun();
    } catch (...) {
        HandleThreadException(std::current_exception());
    }
}

void TPipeOutput::Stop()
{
    if (FThread)
        FThread->RequestStop();
}

int TPipeOutput::GetProgress() const
{
    TPipeInput* input = Input();
    if (!input)
        return 0;
    std::int64_t size = input->Size();
    if (size == 0)
        return 0;
    if (size < 0)
        return -1;
    return static_cast<int>(PipeRoundDiv(std::int64_t{input->Position()} * 100, size));
}

int TPipeOutput::GetStatus() const
{
    if (!Busy())
        return 2;
    return FThread && FThread->Suspended() ? 1 : 0;
}

void TPipeOutput::FinishRun()
{
    if (!Busy())
        return;
    FCanOutput = false;
    EndOutput();
    FBusy = false;
}

// A failed run: the destination is finished and the input closed (their own
// failures swallowed: the first error is the one to report), the output goes
// idle, and OnThreadException hears of it on this thread. No OnDone follows.
void TPipeOutput::HandleThreadException(std::exception_ptr error)
{
    FLink.Unlock();
    if (Busy()) {
        try {
            if (auto* converter = dynamic_cast<TPipeConverter*>(Input()))
                converter->ReleaseInputLock();
        } catch (...) {
        }
        try {
            EndOutput();
        } catch (...) {
        }
    }
    FCanOutput = false;
    FBusy = false;
    SignalIdle();
    if (OnThreadException && !FShuttingDown)
        OnThreadException(this, error);
}

bool TPipeOutput::Idle() const
{
    return !Busy() && !(FThread && FThread->InRun());
}

bool TPipeOutput::WaitForIdle(DWORD timeoutMs)
{
    return WaitUntilIdle(timeoutMs, true);
}

bool TPipeOutput::WaitUntilIdle(DWORD timeoutMs, bool pumpMessages)
{
    DWORD start = GetTickCount();
    pumpMessages = pumpMessages && TThread::IsMainThread();
    for (;;) {
        if (pumpMessages) {
            CheckSynchronize();
            if (Application)
                Application->ProcessMessages();
        }
        if (Idle())
            return true;
        DWORD waitMs = INFINITE;
        if (timeoutMs != INFINITE) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs)
                return false;
            waitMs = timeoutMs - elapsed;
        }
        if (!pumpMessages) {
            WaitServingSynchronize(FIdleEvent, waitMs);
            continue;
        }
        // Wakes for the end of the run, a queued call or a message; the loop's
        // top serves the last two.
        HANDLE handles[2] = {FIdleEvent, SyncEvent()};
        MsgWaitForMultipleObjects(handles[1] ? 2 : 1, handles, FALSE, waitMs, QS_ALLINPUT);
    }
}

void TPipeOutput::SynchronizeEvent(const TOutputDoneEvent& event)
{
    if (!event)
        return;
    TThread::Synchronize([this, &event] {
        if (FShuttingDown || !event)
            return;
        FInEvent = true;
        TScopeExit served([this] { FInEvent = false; });
        event(this);
    });
}

void TPipeOutput::ReportProgress()
{
    int progress = GetProgress();
    if (progress == FLastProgress.load())
        return;
    FLastProgress = progress;
    SynchronizeEvent(OnProgress);
}

// ---- TPipeStreamedOutput / TPipeFileOut ------------------------------------

TPipeStreamedOutput::TPipeStreamedOutput(TComponent* AOwner) : TPipeOutput(AOwner) {}

TPipeStreamedOutput::~TPipeStreamedOutput()
{
    ShutDown();
    ReleaseStream();
}

void TPipeStreamedOutput::SetStream(TStream* Value)
{
    if (Busy())
        return;
    ReleaseStream();
    FStream = Value;
    FStreamHandedIn = Value != nullptr;
}

void TPipeStreamedOutput::ReleaseStream()
{
    if (!FStreamHandedIn)
        FreeAndNil(FStream);
}

TPipeFileOut::TPipeFileOut(TComponent* AOwner) : TPipeStreamedOutput(AOwner) {}

void TPipeFileOut::SetFileMode(TFileOutputMode)
{
    FFileMode = TFileOutputMode::foRewrite;
}
