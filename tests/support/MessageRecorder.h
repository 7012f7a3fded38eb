// Window behaviour as message sequences: a recorder subclasses a window (or
// hooks a control's WindowProc chain, which also sees the messages the
// library performs without the window) and logs every message with its
// origin (posted through the queue, or sent), in a chosen set of messages
// or all of them. A test compares the
// log with an expected sequence whose optional entries may be missing; on a
// mismatch both sequences are printed by message name.
#pragma once

#include "classlib/Control.h"

#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

namespace testing_support {

enum class MessageOrigin
{
    Any,
    Sent,
    Posted
};

struct RecordedMessage
{
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    MessageOrigin Origin;
};

struct ExpectedMessage
{
    UINT Msg;
    MessageOrigin Origin = MessageOrigin::Any;
    bool Optional = false;
};

inline ExpectedMessage Optional(UINT msg, MessageOrigin origin = MessageOrigin::Any)
{
    return ExpectedMessage{msg, origin, true};
}

class MessageRecorder
{
public:
    // Records only the given messages (all when empty) that reach the
    // window's procedure.
    explicit MessageRecorder(HWND window, std::vector<UINT> only = {});
    // Records the messages that run through a control's WindowProc chain:
    // those sent to its window and those the library performs directly.
    explicit MessageRecorder(TControl* control, std::vector<UINT> only = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& Messages() const { return FMessages; }
    int Count(UINT msg) const;
    void Clear() { FMessages.clear(); }
    // The log matches expected in order, optional entries aside, with
    // nothing else in between.
    testing::AssertionResult Matches(const std::vector<ExpectedMessage>& expected) const;

private:
    static LRESULT CALLBACK RecordingProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);
    void Record(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void HookMessageQueue();

    HWND FWindow = nullptr;
    WNDPROC FPrevious = nullptr;
    bool FUnicode = false;
    TControl* FControl = nullptr; // not owned; outlives the recorder
    TWndMethod FPreviousMethod;
    std::vector<UINT> FOnly;
    std::vector<RecordedMessage> FMessages;
};

// "WM_KEYDOWN", "CM_TEXTCHANGED" or the number in hexadecimal.
std::string MessageName(UINT msg);

} // namespace testing_support
