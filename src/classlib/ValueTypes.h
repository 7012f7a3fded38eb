// The class library's value types that need nothing of the platform: the
// date-time number and the colour value, apart from the rest of Types.h so
// that units which include nothing of the platform can name them.
#pragma once

#include <cstdint>

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

// 0x00BBGGRR; negative values name a system colour (0x80000000 | index).
using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | index); }
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clMenuText = SystemColor(7);
