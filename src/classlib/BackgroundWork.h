// Work that needs no window, done on a thread of its own while the main
// thread goes on answering (reading the drives and the shell's icons,
// looking up a device).
//
//   TBackgroundWork   runs its work on a new thread at once; then its Done on
//                     the main thread, handed over by a posted message (see
//                     TThread::Queue), or at once when Await is called first
//
// The thread holds no window. Where the work calls the shell it starts OLE
// for itself (StartOle); it is stopped when the work ends. An object freed
// before its Done ran waits for its thread to end, and the message that comes
// after finds nothing: that Done never runs.
#pragma once

#include <exception>
#include <functional>
#include <memory>

class TThread;

class TBackgroundWork
{
public:
    // Made on the main thread; work starts at once on its own thread, done
    // runs on the main thread after it.
    TBackgroundWork(std::function<void()> work, std::function<void()> done);
    ~TBackgroundWork();
    TBackgroundWork(const TBackgroundWork&) = delete;
    TBackgroundWork& operator=(const TBackgroundWork&) = delete;

    // Done has not run yet.
    bool Pending() const { return !FDoneRan; }
    // Waits for the work and runs Done now, unless it ran; for a caller on
    // the main thread that needs what the work gives. What the work raised
    // is raised here.
    void Await();

private:
    struct TPost; // what the thread's message finds: this object, or nothing once it has gone

    void Deliver();
    // The thread's message: Await, when waiting, delivers instead.
    void DeliverPosted();

    std::function<void()> FDone;
    std::shared_ptr<TPost> FPost;
    std::unique_ptr<TThread> FThread;
    std::exception_ptr FError; // raised by the work; read once the thread has ended
    bool FDoneRan = false;
    bool FAwaiting = false;
};
