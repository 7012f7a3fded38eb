#include "PipeTestInput.h"

#include "audio/PipeClasses.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace pipe_test;

namespace {

// An output that collects what it reads, failing to begin on demand.
class TCollectingOutput : public TPipeOutput
{
public:
    using TPipeOutput::TPipeOutput;
    ~TCollectingOutput() override { ShutDown(); }

    AnsiString BeginFailure;         // non-empty: BeginOutput raises it
    std::vector<std::uint8_t> Bytes; // what was read, in order (worker thread)
    std::atomic<int> Ends{0};
    std::atomic<bool> InputClosedAtEnd{false};

protected:
    void BeginOutput() override
    {
        if (!BeginFailure.empty())
            throw EPipeException(BeginFailure);
        Bytes.clear();
        Input()->OpenInput();
    }
    bool OutputChunk(bool Abort) override
    {
        if (Abort)
            return false;
        std::uint8_t chunk[64];
        int n = ReadInput(chunk, sizeof(chunk));
        Bytes.insert(Bytes.end(), chunk, chunk + n);
        return n > 0;
    }
    void EndOutput() override
    {
        ++Ends;
        if (TPipeInput* input = Input())
            input->CloseInput();
        InputClosedAtEnd = !Input() || !Input()->Busy();
    }
};

// A converter that passes its input through unchanged.
class TPassConverter : public TPipeConverter
{
public:
    using TPipeConverter::TPipeConverter;
    ~TPassConverter() override
    {
        ReleaseReaders();
        if (Busy())
            CloseInput();
    }
    int GetBitsPerSample() override { return Input() ? Input()->GetBitsPerSample() : 0; }
    int GetChannels() override { return Input() ? Input()->GetChannels() : 0; }
    int GetSampleRate() override { return Input() ? Input()->GetSampleRate() : 0; }
    int ReadData(void* Buffer, int Count) override
    {
        int n = ReadInput(Buffer, Count);
        FPosition += n;
        return n;
    }
    void OpenInput() override
    {
        Input()->OpenInput();
        FSize = Input()->Size();
        FPosition = 0;
        FBusy = true;
    }
    void CloseInput() override
    {
        if (Input() && Input()->Busy())
            Input()->CloseInput();
        FSize = 0;
        FBusy = false;
    }
};

class PipeClassesTest : public testing::Test
{
protected:
    TComponent owner{nullptr};

    TMemoryPipeInput* MakeInput(int bytes, int chunk = 10)
    {
        auto* input = new TMemoryPipeInput(&owner, CountingBytes(bytes), 16, 2, 44100);
        input->ChunkLimit = chunk;
        return input;
    }
    TCollectingOutput* MakeOutput(TPipeInput* input)
    {
        auto* output = new TCollectingOutput(&owner);
        output->SetInput(input);
        return output;
    }
};

AnsiString MessageOf(std::exception_ptr error)
{
    return ExceptionMessage(error);
}

TEST_F(PipeClassesTest, RunRefusesWithoutInputAndWhileBusy)
{
    auto* output = MakeOutput(nullptr);
    try {
        output->Run();
        FAIL() << "no error";
    } catch (const EPipeException& e) {
        EXPECT_STREQ(e.what(), "Input is not assigned");
    }
    auto* input = MakeInput(100);
    input->PauseAtRead = 1;
    output->SetInput(input);
    int done = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    output->Run();
    ASSERT_TRUE(input->WaitPaused());
    EXPECT_EQ(output->GetStatus(), 0);
    EXPECT_FALSE(output->WaitForIdle(20)); // gives up while the run goes on
    try {
        output->Run();
        FAIL() << "no error";
    } catch (const EPipeException& e) {
        EXPECT_STREQ(e.what(), "Component is Busy");
    }
    input->Resume();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 1);
    EXPECT_EQ(output->Bytes, CountingBytes(100));
    EXPECT_EQ(output->GetStatus(), 2);
    EXPECT_EQ(input->Opens, 1);
    EXPECT_EQ(input->Closes, 1);
}

TEST_F(PipeClassesTest, ProgressRoundsHalvesToEven)
{
    auto* output = MakeOutput(nullptr);
    EXPECT_EQ(output->GetProgress(), 0);
    auto* input = MakeInput(200, 0);
    output->SetInput(input);
    EXPECT_EQ(output->GetProgress(), 0); // closed: size 0
    input->OpenInput();
    std::uint8_t sink[200];
    struct Step
    {
        int read;
        int percent;
    };
    // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4, 99.5 -> 100
    for (Step s : {Step{1, 0}, Step{2, 2}, Step{2, 2}, Step{2, 4}, Step{192, 100}}) {
        input->ReadData(sink, s.read);
        EXPECT_EQ(output->GetProgress(), s.percent) << "at " << input->Position();
    }
    input->CloseInput();
    input->AnnouncedSize = -1;
    input->OpenInput();
    EXPECT_EQ(output->GetProgress(), -1);
    input->CloseInput();
}

TEST_F(PipeClassesTest, EventsArriveOnTheMainThreadAfterTheInputIsClosed)
{
    auto* input = MakeInput(100, 10);
    auto* output = MakeOutput(input);
    std::vector<int> progress;
    std::vector<DWORD> threads;
    bool closedAtDone = false;
    output->OnProgress = [&](TComponent* sender) {
        EXPECT_EQ(sender, output);
        threads.push_back(GetCurrentThreadId());
        progress.push_back(output->GetProgress());
    };
    output->OnDone = [&](TComponent* sender) {
        EXPECT_EQ(sender, output);
        threads.push_back(GetCurrentThreadId());
        closedAtDone = !input->Busy() && output->GetStatus() == 2;
    };
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    ASSERT_EQ(threads.size(), 11u);
    for (DWORD id : threads)
        EXPECT_EQ(id, GetCurrentThreadId());
    EXPECT_TRUE(closedAtDone);
    EXPECT_NE(input->ReadThread.load(), GetCurrentThreadId());
}

TEST_F(PipeClassesTest, OpenEndedInputReportsMinusOneOncePerRun)
{
    auto* input = MakeInput(100, 10);
    input->AnnouncedSize = -1;
    auto* output = MakeOutput(input);
    std::vector<int> progress;
    output->OnProgress = [&](TComponent*) { progress.push_back(output->GetProgress()); };
    for (int run = 0; run < 2; ++run) {
        output->Run();
        ASSERT_TRUE(output->WaitForIdle(10000));
    }
    EXPECT_EQ(progress, (std::vector<int>{-1, -1}));
}

TEST_F(PipeClassesTest, FailedBeginReportsOnTheCallerAndNeverRaisesDone)
{
    auto* input = MakeInput(100);
    auto* output = MakeOutput(input);
    output->BeginFailure = "cannot begin";
    int done = 0;
    std::vector<AnsiString> errors;
    DWORD errorThread = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    output->OnThreadException = [&](TComponent* sender, std::exception_ptr e) {
        EXPECT_EQ(sender, output);
        errors.push_back(MessageOf(e));
        errorThread = GetCurrentThreadId();
    };
    output->Run();
    EXPECT_EQ(errors, (std::vector<AnsiString>{"cannot begin"}));
    EXPECT_EQ(errorThread, GetCurrentThreadId());
    EXPECT_EQ(output->GetStatus(), 2);
    EXPECT_EQ(output->Ends, 0); // nothing was begun
    // The output works again once the cause is gone.
    output->BeginFailure.clear();
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 1);
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(PipeClassesTest, FailureDuringARunEndsItOnTheWorkerWithoutDone)
{
    auto* input = MakeInput(100, 10);
    input->FailReadAt = 30;
    auto* output = MakeOutput(input);
    int done = 0;
    std::vector<AnsiString> errors;
    DWORD errorThread = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    output->OnThreadException = [&](TComponent*, std::exception_ptr e) {
        errors.push_back(MessageOf(e));
        errorThread = GetCurrentThreadId();
    };
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(errors, (std::vector<AnsiString>{"read failure"}));
    EXPECT_EQ(errorThread, input->ReadThread.load());
    EXPECT_NE(errorThread, GetCurrentThreadId());
    EXPECT_EQ(done, 0);
    EXPECT_EQ(output->Ends, 1);
    EXPECT_FALSE(input->Busy());
    EXPECT_EQ(output->GetStatus(), 2);
}

TEST_F(PipeClassesTest, StopEndsTheRunWithDoneAndAnIdleStopIsForgotten)
{
    auto* input = MakeInput(1000, 10);
    input->PauseAtRead = 3;
    auto* output = MakeOutput(input);
    int done = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    output->Run();
    ASSERT_TRUE(input->WaitPaused());
    output->Stop();
    input->Resume();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 1);
    EXPECT_EQ(output->Bytes.size(), 40u); // the chunk in progress was the last
    EXPECT_FALSE(input->Busy());

    output->Stop(); // idle: no effect on the next run
    input->PauseAtRead = -1;
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 2);
    EXPECT_EQ(output->Bytes, CountingBytes(1000));
}

TEST_F(PipeClassesTest, RunFromInsideDoneStartsTheNextRun)
{
    auto* input = MakeInput(50, 10);
    auto* output = MakeOutput(input);
    int done = 0;
    output->OnDone = [&](TComponent*) {
        if (++done == 1)
            output->Run();
    };
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 2);
    EXPECT_EQ(input->Opens, 2);
    EXPECT_EQ(input->Closes, 2);
    EXPECT_EQ(output->Bytes, CountingBytes(50));
}

TEST_F(PipeClassesTest, RemovingTheInputStopsARunningOutputAndClearsIt)
{
    auto* input = MakeInput(100000, 10);
    auto* output = MakeOutput(input);
    int done = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    input->PauseAtRead = 2;
    output->Run();
    ASSERT_TRUE(input->WaitPaused());
    delete input; // resumes its paused read, then lets go of its readers
    EXPECT_EQ(output->Input(), nullptr);
    EXPECT_EQ(output->GetStatus(), 2);
    EXPECT_EQ(output->Ends, 1);
    EXPECT_TRUE(output->InputClosedAtEnd);
    try {
        output->Run();
        FAIL() << "no error";
    } catch (const EPipeException& e) {
        EXPECT_STREQ(e.what(), "Input is not assigned");
    }
    // Removing an idle input just clears it.
    auto* idle = MakeInput(10);
    output->SetInput(idle);
    delete idle;
    EXPECT_EQ(output->Input(), nullptr);
}

TEST_F(PipeClassesTest, SwappingTheInputOfARunningOutputOpensTheNewAndClosesTheOld)
{
    auto* first = MakeInput(1000, 10);
    auto* second = new TMemoryPipeInput(&owner, std::vector<std::uint8_t>(30, 0xEE), 16, 2, 44100);
    auto* output = MakeOutput(first);
    // The worker waits for the progress handler outside any read: swap there.
    int events = 0;
    output->OnProgress = [&](TComponent*) {
        if (++events == 3)
            output->SetInput(second);
    };
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(second->Opens, 1);
    EXPECT_EQ(first->Closes, 1);
    EXPECT_EQ(second->Closes, 1);
    std::vector<std::uint8_t> expected = CountingBytes(30); // 1, 2, 3 percent
    expected.insert(expected.end(), 30, 0xEE);
    EXPECT_EQ(output->Bytes, expected);
}

TEST_F(PipeClassesTest, FreeingARunningOutputEndsTheRunWithoutEvents)
{
    auto* input = MakeInput(100000, 10);
    auto* output = MakeOutput(input);
    int events = 0;
    output->OnDone = [&](TComponent*) { ++events; };
    input->PauseAtRead = 2;
    output->Run();
    ASSERT_TRUE(input->WaitPaused());
    output->OnProgress = [&](TComponent*) { ++events; };
    input->Resume();
    delete output;
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(input->Busy());
    EXPECT_EQ(input->Closes, 1);
}

TEST_F(PipeClassesTest, ConvertersChainAndLetGoOfARemovedInput)
{
    auto* input = MakeInput(100, 10);
    auto* inner = new TPassConverter(&owner);
    auto* outer = new TPassConverter(&owner);
    inner->SetInput(input);
    outer->SetInput(inner);
    inner->SetInput(outer); // would make a loop: ignored
    EXPECT_EQ(inner->Input(), input);
    outer->SetInput(outer);
    EXPECT_EQ(outer->Input(), inner);
    auto* output = MakeOutput(outer);
    output->Run();
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(output->Bytes, CountingBytes(100));

    // The source of a running chain goes away: the chain reads nothing more
    // and the run ends normally.
    auto* source = MakeInput(100000, 10);
    inner->SetInput(source);
    int done = 0;
    output->OnDone = [&](TComponent*) { ++done; };
    source->PauseAtRead = 2;
    output->Run();
    ASSERT_TRUE(source->WaitPaused());
    delete source;
    EXPECT_EQ(inner->Input(), nullptr);
    ASSERT_TRUE(output->WaitForIdle(10000));
    EXPECT_EQ(done, 1);
    EXPECT_FALSE(outer->Busy());
    EXPECT_FALSE(inner->Busy());
}

} // namespace
