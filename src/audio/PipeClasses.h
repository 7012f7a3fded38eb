// The sound pipeline: a pull chain of components.
//
//   EPipeException       every failure of the pipeline and its descendants
//   PipeText             the pipeline's fixed English messages, for every unit
//   TPipeInput           delivers raw PCM bytes on request (abstract)
//   TPipeConverter       an input that reads another input (abstract)
//   TPipeOutput          pulls chunks from its input on a worker thread of its
//                        own and writes them somewhere (abstract)
//   TPipeStreamedOutput  an output that writes into a stream
//   TPipeFileOut         a streamed output that writes a file
//
// Threads: the main thread calls Run, Stop and the properties; the output's
// worker thread calls OutputChunk, EndOutput and, through them, the input's
// ReadData and CloseInput; a device input may have a callback thread of its
// own. OnProgress and OnDone run on the main thread while the worker waits for
// them; OnThreadException runs on the thread that caught the exception.
//
// The interface a concrete input implements (TPipeInput):
//   GetBitsPerSample, GetChannels, GetSampleRate  the format it delivers
//   GetDuration        seconds, when it knows (the base says 0)
//   OpenInput          prepare the source; set FSize (-1 when open-ended),
//                      FPosition 0 and FBusy true; raise EPipeException on
//                      failure, leaving nothing open
//   ReadData           copy at most Count bytes, add them to FPosition and
//                      return the count; 0 means the input is exhausted.
//                      Runs on the output's worker thread
//   CloseInput         release the source, set FSize 0 and FBusy false
//   destructor         calls ReleaseReaders() first (a running output reading
//                      this input stops and lets go while the input is still
//                      whole), then CloseInput when still busy
// A converter (TPipeConverter) reads its own input through ReadInput, which
// holds the converter's input lock and reads nothing once the input is gone;
// its format getters, OpenInput and CloseInput must cope with Input being nil
// (the input may go away during a run).
//
// The interface a concrete output implements (TPipeOutput):
//   BeginOutput        on the caller of Run: open the destination and the
//                      input; on failure release both and raise
//   OutputChunk(Abort) on the worker: move one chunk through ReadInput; false
//                      when nothing is left or Abort is set
//   EndOutput          on the worker: finish the destination, close the input;
//                      must be safe to call once more after it raised
//   destructor         calls ShutDown() first (ends any run and the worker
//                      while the output is still whole)
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/Object.h"
#include "classlib/Thread.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <vector>
#include <windows.h>

ZANDREL_EXCEPTION(EPipeException, Exception);

// The pipeline's messages, exactly as callers and users have always seen them
// (misspellings and periods included).
namespace PipeText {
// Outputs.
inline constexpr const char* ComponentIsBusy = "Component is Busy";
inline constexpr const char* InputNotAssigned = "Input is not assigned";
// WAV file writer.
inline constexpr const char* FileNameNotAssigned = "File name is not assigned.";
inline constexpr const char* CannotAppendToFile = "Cannot append data to this .wav file.";
inline constexpr const char* CannotAppendFormat = "Cannot append data in different audio format.";
inline constexpr const char* CannotEncode8Bit = "Cannot encode 8 bit sound into ADPCM.";
inline constexpr const char* CannotEncodeStereoBlock =
    "Cannot encode stereo sound into ADPCM blocks of this size.";
inline constexpr const char* CannotWriteFile = "Cannot write to the file.";
// Inputs (CD and sound card).
inline constexpr const char* TheComponentIsBusy = "The component is busy";
inline constexpr const char* TheComponentIsBuisy = "The component is buisy";
inline constexpr const char* ComponentIsBuisy = "Component is buisy";
inline constexpr const char* StreamNotOpened = "The Stream is not opened";
// CD input.
inline constexpr const char* CDRipNotLoaded = "cdrip.dll could not be loaded.";
inline constexpr const char* TrackOutOfRange = "Track out of range.";
inline constexpr const char* DriveNotReady = "The drive is not ready";
inline constexpr const char* StartTrackOutOfRange = "The start track out of range";
inline constexpr const char* RippingDataTrack = "Trying to rip a data track";
inline constexpr const char* EndTrackOutOfRange = "The end track out of range";
inline constexpr const char* RipBufferUnusable = "The CD-ripping library asked for an unusable buffer size.";
// Sound-card input: "Channel " + number + " is not available".
inline constexpr const char* ChannelPrefix = "Channel ";
inline constexpr const char* ChannelNotAvailableSuffix = " is not available";
inline constexpr const char* CannotOpenInputDevice = "Cannot open the input device.";
// Level meter.
inline constexpr const char* InputNotAssignedDot = "Input is not assigned.";
} // namespace PipeText

using TFileName = AnsiString;

class TPipeInput;
class TPipeOutput;
class TPipeConverter;
class TStream;

// Rounds Numerator / Denominator (Denominator > 0) to the nearest integer,
// halves to even, exactly.
std::int64_t PipeRoundDiv(std::int64_t Numerator, std::int64_t Denominator);

// The input a reader (an output or a converter) pulls from, and its input
// lock: a busy-wait flag (0 free, 1 held) held while a chunk is read and while
// the input is swapped.
class TPipeInputLink
{
public:
    explicit TPipeInputLink(TComponent* Reader) : FReader(Reader) {}

    TPipeInput* Input() const { return FInput.load(); }
    // Reads under the lock; 0 when no input is linked.
    int Read(void* Buffer, int Count);
    // Reads until Count bytes are in, holding the lock throughout; Filled
    // counts the bytes in so far (also when ReadData raises). False when the
    // input ran dry first.
    bool Fill(void* Buffer, int Count, int& Filled);
    // Links a new input (swapped under the lock) and returns the previous one;
    // the inputs learn who reads them (main thread only).
    TPipeInput* Relink(TPipeInput* NewInput);
    void Lock();
    void Unlock() { FLock.store(0, std::memory_order_release); }

private:
    TComponent* FReader;                      // not owned; the component this link serves
    std::atomic<TPipeInput*> FInput{nullptr}; // not owned
    std::atomic<std::uint8_t> FLock{0};       // 0 free, 1 held
};

class TPipeInput : public TComponent
{
public:
    explicit TPipeInput(TComponent* AOwner);
    ~TPipeInput() override;

    // Bytes delivered by ReadData since OpenInput.
    std::int32_t Position() const { return FPosition.load(); }
    // Bytes the input will deliver; -1 when open-ended; 0 while closed.
    std::int32_t Size() const { return FSize.load(); }
    // True between OpenInput and CloseInput.
    bool Busy() const { return FBusy.load(); }

    virtual int GetBitsPerSample() = 0;
    virtual int GetChannels() = 0;
    virtual int GetSampleRate() = 0;
    // Seconds; 0 when the input cannot tell.
    virtual int GetDuration() { return 0; }
    virtual int ReadData(void* Buffer, int Count) = 0;
    // Closes the input, swallowing what CloseInput raises, and clears Busy.
    virtual void ResetInput();
    virtual void OpenInput() = 0;
    virtual void CloseInput() = 0;

protected:
    // Every output and converter reading this input lets go of it; a running
    // output stops first and waits until its run has ended.
    void ReleaseReaders() { ReleaseReaders(true); }

    std::atomic<std::int32_t> FPosition{0}; // bytes delivered since OpenInput
    std::atomic<std::int32_t> FSize{0};     // bytes announced; -1 open-ended
    std::atomic<bool> FBusy{false};         // open
    // Internal chunk buffer of a descendant: 1-based start, inclusive end;
    // start above end means empty.
    int FBufStart = 1;
    int FBufEnd = 0;

private:
    friend class TPipeInputLink;
    // Without waiting (from this base's destructor, when the concrete part is
    // gone), a running output is only unlinked and ends at its next chunk.
    void ReleaseReaders(bool waitForRuns);

    std::vector<TComponent*> FReaders; // not owned: outputs and converters whose Input is this
};

class TPipeConverter : public TPipeInput
{
public:
    explicit TPipeConverter(TComponent* AOwner);
    ~TPipeConverter() override;

    TPipeInput* Input() const { return FLink.Input(); }
    // Idle: stores the input. Busy: opens the new input, swaps under the
    // input lock, closes the old one. Making the converter its own input,
    // directly or down the chain, is ignored.
    virtual void SetInput(TPipeInput* Value);
    // Frees this converter's input lock and those down the chain (after a
    // failure left one held).
    void ReleaseInputLock();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Reads from Input under the input lock; 0 once no input is linked.
    int ReadInput(void* Buffer, int Count) { return FLink.Read(Buffer, Count); }

private:
    friend class TPipeInput;
    void InputRemoved(TPipeInput* Gone);
    bool WouldLoop(TPipeInput* Candidate) const;

    TPipeInputLink FLink{this}; // the input (not owned) and its lock
};

using TOutputDoneEvent = TEvent<TComponent*>;
using TOutputProgressEvent = TEvent<TComponent*>;
using TThreadExceptionEvent = TEvent<TComponent*, std::exception_ptr>;

// The output's worker: suspends itself (waits on its resume event) while its
// output is idle and takes up one run per Run call. Made by TPipeOutput only.
class TPipeThread : public TThread
{
public:
    explicit TPipeThread(TPipeOutput* Parent);

    bool SuspendWhenIdle() const { return FSuspendWhenIdle.load(); }
    void SetSuspendWhenIdle(bool value) { FSuspendWhenIdle = value; }
    // True from taking up a run until its last event has returned.
    bool InRun() const { return FInRun.load(); }
    bool StopRequested() const { return FStopRequest.load(); }
    void RequestStop() { FStopRequest = true; }
    void ClearStop() { FStopRequest = false; }
    // Counts a new run and wakes the thread.
    void StartRun();
    // Ends the thread and waits for it, serving Synchronize meanwhile.
    void EndThread();

protected:
    void Execute() override;

private:
    void DoRun();
    void HandleRunException(std::exception_ptr error);

    TPipeOutput* FParent;                     // not owned; owns this thread
    std::atomic<bool> FSuspendWhenIdle{true}; // stored only: an idle worker always waits
    std::atomic<bool> FStopRequest{false};    // Stop asked; read before each chunk
    std::atomic<bool> FInRun{false};
    std::atomic<unsigned> FRunCount{0}; // runs started by Run
    unsigned FServedCount = 0;          // runs taken up (worker only)
};

class TPipeOutput : public TComponent
{
public:
    explicit TPipeOutput(TComponent* AOwner);
    ~TPipeOutput() override;

    TPipeInput* Input() const { return FLink.Input(); }
    // Idle: stores the input. Busy: opens the new input, swaps under the
    // input lock, closes the old one; no input while busy stops the run,
    // waits for it to end, then clears the input.
    virtual void SetInput(TPipeInput* Value);
    // Kept for compatibility of stored settings: an idle output always waits
    // on an event, whatever this says.
    bool SuspendWhenIdle() const { return FThread->SuspendWhenIdle(); }
    void SetSuspendWhenIdle(bool value) { FThread->SetSuspendWhenIdle(value); }

    // Starts a run: BeginOutput on this thread, then the worker pulls chunks.
    // Raises "Component is Busy" and "Input is not assigned"; a failing
    // BeginOutput goes to OnThreadException and is not raised.
    void Run();
    // Asks the run to end after the chunk in progress; OnDone follows.
    void Stop();
    // Percent of the input delivered (halves to even); 0 without input or
    // size, -1 for an open-ended input.
    int GetProgress() const;
    // 2 idle, 1 busy with the worker waiting, 0 running.
    int GetStatus() const;
    bool Busy() const { return FBusy.load(); }
    bool CanOutput() const { return FCanOutput.load(); }
    // Ends a run: CanOutput false, EndOutput, Busy false.
    void FinishRun();
    // What a failure of a run does: see the implementation.
    void HandleThreadException(std::exception_ptr error);
    // Waits until the output is idle and the worker has delivered the run's
    // last event, serving Synchronize and the message queue meanwhile. True
    // when idle; false after timeoutMs (INFINITE waits for ever).
    bool WaitForIdle(DWORD timeoutMs);

    TOutputDoneEvent OnDone;
    TOutputProgressEvent OnProgress;
    TThreadExceptionEvent OnThreadException;

protected:
    virtual bool OutputChunk(bool Abort) = 0;
    virtual void EndOutput() = 0;
    virtual void BeginOutput() = 0;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Reads from Input under the output's input lock; 0 once no input is linked.
    int ReadInput(void* Buffer, int Count) { return FLink.Read(Buffer, Count); }
    bool FillFromInput(void* Buffer, int Count, int& Filled)
    {
        return FLink.Fill(Buffer, Count, Filled);
    }
    // Ends any run and the worker; called first by every concrete output's
    // destructor, so the worker never calls into a half-destroyed object.
    void ShutDown();

private:
    friend class TPipeInput;
    friend class TPipeThread;
    void InputRemoved(TPipeInput* Gone, bool waitForRun);
    // Lets go of the input of a running output: stops the run, waits for it
    // to end when asked and where that cannot deadlock, then unlinks the
    // input (closing it when the run could not, if closeIt).
    void DetachRunningInput(bool waitForRun, bool closeIt);
    bool CanWaitForRun() const;
    bool WaitUntilIdle(DWORD timeoutMs, bool pumpMessages);
    bool Idle() const;
    void SignalIdle() { SetEvent(FIdleEvent); }
    // Runs an event on the main thread unless the output is going away.
    void SynchronizeEvent(const TOutputDoneEvent& event);
    void ReportProgress();

    std::atomic<bool> FCanOutput{false};    // a run may write
    std::atomic<int> FLastProgress{0};      // last percent reported to OnProgress
    TPipeThread* FThread = nullptr;         // owned
    TPipeInputLink FLink{this};             // the input (not owned) and its lock
    std::atomic<bool> FBusy{false};         // from a successful Run until the run ends
    std::atomic<bool> FShuttingDown{false}; // no more events reach the handlers
    std::atomic<bool> FInEvent{false};      // OnDone or OnProgress is running (main thread)
    HANDLE FIdleEvent = nullptr;            // owned; auto-reset, set when a run has ended
};

class TPipeStreamedOutput : public TPipeOutput
{
public:
    explicit TPipeStreamedOutput(TComponent* AOwner);
    ~TPipeStreamedOutput() override;

    // Hands in a destination stream (not owned; nil goes back to the output's
    // own). Ignored while busy.
    void SetStream(TStream* Value);
    TStream* Stream() const { return FStream; }

protected:
    // Frees the destination stream unless it was handed in (a handed-in
    // stream stays for the next run).
    void ReleaseStream();

    TStream* FStream = nullptr;   // the destination; owned unless FStreamHandedIn
    bool FStreamHandedIn = false; // FStream came from SetStream
};

enum class TFileOutputMode
{
    foRewrite,
    foAppend
};

class TPipeFileOut : public TPipeStreamedOutput
{
public:
    explicit TPipeFileOut(TComponent* AOwner);

    TFileOutputMode FileMode() const { return FFileMode; }
    // Stores foRewrite whatever it is given; writers that can append store
    // the mode.
    virtual void SetFileMode(TFileOutputMode Value);
    const TFileName& FileName() const { return FFileName; }
    void SetFileName(const TFileName& Value) { FFileName = Value; }

protected:
    TFileOutputMode FFileMode = TFileOutputMode::foRewrite;
    TFileName FFileName;
};
