// The level threshold of the detection and trim windows: a dB edit and a
// level bar that follow each other.
//
//   MakeThresholdBar   the level bar, filling the panel it is put in
//   TThresholdLink     keeps the edit and the bar in step
//
// Typing in the edit moves the bar to the level the text asks for (a text
// that is no number leaves it); pressing or dragging on the bar writes the
// bar's level in dB into the edit. A text the program writes is never read
// back: its rounding would move the bar (level 125 of 127 reads "-0.1",
// which is 126), so opening a window and pressing OK would change the level.
#pragma once

#include "controls/NumEdit.h"
#include "editor/SeekBar2.h"

// The levels the bar holds, 0 .. kThresholdMaxLevel.
constexpr int kThresholdMaxLevel = 127;

// A level bar in parent, aligned to fill it.
TSeekBar2* MakeThresholdBar(TComponent* owner, TWinControl* parent);

class TThresholdLink
{
public:
    // Takes over the edit's OnChange and OnKeyPress and the bar's
    // OnValueChange; both must outlive the link.
    TThresholdLink(TNumEdit* edit, TSeekBar2* bar);
    // Gives the events back, so nothing calls into a link that is gone.
    ~TThresholdLink();
    TThresholdLink(const TThresholdLink&) = delete;
    TThresholdLink& operator=(const TThresholdLink&) = delete;

    int Level() const { return FBar->Value(); }
    // Puts the bar at level and writes its dB text.
    void SetLevel(int level);

    void EditChange(TObject* Sender);
    // Lets through digits, ".", "-", Backspace and the clipboard keys.
    void EditKeyPress(TObject* Sender, char& Key);
    void BarValueChange(TObject* Sender, int NewValue, bool& EnableChange);

private:
    void WriteText();

    TNumEdit* FEdit;       // not owned
    TSeekBar2* FBar;       // not owned
    bool FWriting = false; // the program writes the edit's text
};
