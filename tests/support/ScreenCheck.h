// What a window shows, read from the screen and checked by rules.
//
// Once a window has painted, CheckScreen reads its pixels and the
// rectangles and texts of its controls and checks three rules on every
// visible control:
//
//   Painted  no control's area is left black where its parent's colour
//            belongs, and a caption stands on the colour of what lies behind
//            its control (its parent's, around it), not on a block of
//            another colour
//   Inside   every control lies inside its parent's client area, and a
//            caption (a label's, a button's, a group box's, a status bar
//            label's) fits its control, unless it shortens itself with an
//            ellipsis or wraps
//   Apart    no two sibling controls overlap, nor two texts drawn in one
//            control
//
// A window that breaks a rule on purpose says so with a ScreenDesign entry.
#pragma once

#include "classlib/WinControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The client area of a window as it stands on the screen now: read back
// from the window's device context, without painting anything first.
class ScreenImage
{
public:
    explicit ScreenImage(HWND window);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // 0xRRGGBB at a client point.
    std::uint32_t At(int x, int y) const { return FPixels[size_t(y) * FWidth + x]; }
    // Row by row from the top.
    const std::vector<std::uint32_t>& Pixels() const { return FPixels; }
    bool Save(const std::string& path) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint32_t> FPixels;
};

// Whether the screen shows the window's client area where it stands, as
// the window painted it (nine tenths of its pixels): no other window covers
// it.
bool ShownOnTheScreen(HWND window);

// One rule broken by one control.
struct ScreenFinding
{
    std::string Control; // its name, or its class and caption
    std::string Rule;    // "Painted", "Inside" or "Apart"
    std::string Detail;  // what was seen
};

// A rule a window breaks on purpose: the rule, the control's name, for
// Apart the other control's name ("" for any), and why.
struct ScreenDesign
{
    std::string Rule;
    std::string Control;
    std::string Other;
    std::string Reason;
};

// A text a control draws itself (no child window holds it): its name and
// the rectangle it takes, in the control's client coordinates.
struct DrawnText
{
    std::string Name;
    TRect Rect;
};

struct ScreenCheckInput
{
    TWinControl* Window = nullptr; // the window, on the screen and painted
    std::vector<ScreenDesign> Design;
    // Texts drawn inside one control, which must keep apart.
    TControl* DrawnIn = nullptr;
    std::vector<DrawnText> Drawn;
    // Where the capture is written as a PNG file; nothing when empty.
    std::string PngPath;
};

std::vector<ScreenFinding> CheckScreen(const ScreenCheckInput& input);

} // namespace testing_support
