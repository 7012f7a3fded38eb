// Timestamps for the benchmarks: when the environment variable
// ZANDREL_TIMING_LOG names a file, LogTiming appends a line "EVENT MS" to
// it, MS being the performance counter in milliseconds (the same clock in
// every process of the machine, so a benchmark that starts the program can
// set its own times beside them). Without the variable nothing is written
// and nothing changes.
#pragma once

// Whether a timing log was asked for.
bool TimingLogRequested();

// Appends event and the time now to the timing log, if one was asked for.
void LogTiming(const char* event);
