#include "BackgroundWork.h"

#include "OleStart.h"
#include "Thread.h"

#include <utility>

struct TBackgroundWork::TPost
{
    // Not owned; null once it has gone. Read and written on the main thread.
    TBackgroundWork* Owner;
};

namespace {

class TBackgroundThread : public TThread
{
public:
    TBackgroundThread(std::function<void()> work, std::function<void()> finished,
                      std::exception_ptr& error)
        : TThread(true), FWork(std::move(work)), FFinished(std::move(finished)), FError(error)
    {
        Start();
    }
    ~TBackgroundThread() override { StopAndWait(); }

protected:
    void Execute() override
    {
        try {
            FWork();
        } catch (...) {
            FError = std::current_exception();
        }
        StopOle();
        FFinished();
    }

private:
    std::function<void()> FWork;
    std::function<void()> FFinished; // hands the end to the main thread
    std::exception_ptr& FError;      // the owner's
};

} // namespace

TBackgroundWork::TBackgroundWork(std::function<void()> work, std::function<void()> done)
    : FDone(std::move(done)), FPost(std::make_shared<TPost>(TPost{this}))
{
    std::shared_ptr<TPost> post = FPost;
    FThread = std::make_unique<TBackgroundThread>(
        std::move(work),
        [post] {
            TThread::Queue([post] {
                if (post->Owner)
                    post->Owner->DeliverPosted();
            });
        },
        FError);
}

TBackgroundWork::~TBackgroundWork()
{
    FPost->Owner = nullptr;
    FThread.reset();
}

void TBackgroundWork::Await()
{
    FAwaiting = true;
    FThread->WaitFor();
    FAwaiting = false;
    Deliver();
}

void TBackgroundWork::DeliverPosted()
{
    if (!FAwaiting)
        Deliver();
}

void TBackgroundWork::Deliver()
{
    if (FDoneRan)
        return;
    FDoneRan = true;
    if (FError)
        std::rethrow_exception(FError);
    FDone();
}
