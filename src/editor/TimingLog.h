// Timestamps for the benchmarks: when the environment variable
// ZANDREL_TIMING_LOG names a file, LogTiming appends a line "EVENT MS" to
// it, MS being the performance counter in milliseconds (the same clock in
// every process of the machine, so a benchmark that starts the program can
// set its own times beside them). Without the variable nothing is written
// and nothing changes: no text is made and no clock is read.
//
// The file stays open from its first line while the variable names it (an
// open for every line would cost the start it measures); a call that finds
// the variable gone or naming another file lets it go.
//
// A step of the start is marked by a TTimingSpan around it, which writes
// "STEP.begin" and "STEP.end", so that a start can be read step by step.
#pragma once

// Whether a timing log was asked for.
bool TimingLogRequested();

// Appends event and the time now to the timing log, if one was asked for.
void LogTiming(const char* event);

// Marks the step from its making to its end in the timing log. step is a
// literal (kept, not copied).
class TTimingSpan
{
public:
    explicit TTimingSpan(const char* step);
    ~TTimingSpan();
    TTimingSpan(const TTimingSpan&) = delete;
    TTimingSpan& operator=(const TTimingSpan&) = delete;

private:
    const char* FStep;
};
