// Test answers for the class library's seams.
//
// Before each test the seams are set so that anything that would wait for a
// person fails the test and is answered Cancel. A test that expects a prompt
// scripts the answer with one of the scoped helpers below.
#pragma once

#include "classlib/Seams.h"

#include <atomic>
#include <deque>
#include <vector>

namespace testing_support {

// Installs the failing answers (called before every test); modal forms
// are cancelled and fail the test, a broken "cannot happen" check fails it,
// and no key reads as held.
void InstallStrictSeams();

// Answers message boxes in order with the given results and records each
// request; a box beyond the script fails the test and gets IDCANCEL.
class ScriptedMessageBoxes
{
public:
    explicit ScriptedMessageBoxes(std::vector<int> answers = {});
    ~ScriptedMessageBoxes();
    const std::vector<TMessageBoxRequest>& Shown() const { return FShown; }
    void Add(int answer) { FAnswers.push_back(answer); }

private:
    std::deque<int> FAnswers;
    std::vector<TMessageBoxRequest> FShown;
    decltype(TClassLibSeams::MessageBox) FPrevious;
};

// A tick count that moves on by stepMs at every read, from any thread: a
// bounded wait sees its limit pass at its next read instead of waiting it out.
// A step above the limit keeps a wait from ever blocking in real time.
class ScopedFastTicks
{
public:
    explicit ScopedFastTicks(DWORD stepMs);
    ~ScopedFastTicks();

private:
    std::atomic<DWORD> FNow{0};
    decltype(TClassLibSeams::TickCount) FPrevious;
};

} // namespace testing_support
