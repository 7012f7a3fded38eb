// Drawing of the waveform image (time ruler on top, the wave below it) and
// of the overview strip, from the draw data and the view state, into
// bitmaps. Where the view starts and how wide it is comes from ViewGeometry;
// the main window owns the bitmaps, the state and the controls, and calls
// these for every redraw.
//
//   TWaveColors        the ten COLOR settings the views use
//   TWaveSource        the draw data of the open file, read per column
//   TWaveRenderer      the waveform image: full redraw, single columns, the
//                      ruler, cut-bar marks, the play cursor, the selection
//   TOverviewRenderer  the overview: rebuild with its clean copy, the range
//                      frame and the position mark
//
// Conventions of the canvas: a rectangle leaves out its right column and
// bottom row, a line leaves out its end point. Rectangles and lines that the
// views run "to the image's last column or row" cover that column or row, so
// nothing is left from an earlier picture.
#pragma once

#include "DrawData.h"
#include "ViewGeometry.h"

#include "classlib/Graphics.h"

#include <cstdint>
#include <vector>

struct TWaveColors
{
    TColor Wave = 0x008000;    // the wave
    TColor Back = 0xFFFFFF;    // background of the wave
    TColor RegWave = 0x00FFFF; // the wave inside the selection
    TColor RegBack = 0x808000; // background of the selection
    TColor PreBack = 0x0099FF; // background of a selection that spans regions
    TColor Center = 0x0000FF;  // line between the two channels
    TColor Zero = 0x808080;    // zero line of each channel
    TColor PosBar = 0x0051F9;  // the play cursor and the overview's position mark
    TColor CutBar = 0xFF0000;  // cut-bar marks
    TColor Range = 0x000080;   // the overview's range frame
};

// Ruler tick ends, the ruler's bottom line and images without a file.
constexpr TColor kRulerLineColor = 0xA4A0A0;
constexpr TColor kNoFileColor = 0xC0C0C0;

// Peaks of a pixel column: over its entries the largest maximum and the
// smallest minimum of each channel, from 0 (mono: the left pair only).
struct TColumnPeaks
{
    int MaxL = 0;
    int MinL = 0;
    int MaxR = 0;
    int MinR = 0;
};

// The draw data of the open file: one of the two tables, not owned.
struct TWaveSource
{
    const TDrawDataStereo* Stereo = nullptr; // set for a stereo file
    const TDrawDataMono* Mono = nullptr;     // set for a mono file

    std::int32_t Count() const;
    TColumnPeaks Peaks(const TEntryRun& run) const;
};

// The colour of a pixel of a 24- or 32-bit bitmap (0x00BBGGRR), clNone
// outside it.
TColor BitmapPixel(TBitmap& bitmap, int x, int y);

class TWaveRenderer
{
public:
    // Draws into wave (the waveform image's bitmap, whose size is the
    // image's) and keeps view current. Everything is borrowed for the
    // renderer's short life.
    TWaveRenderer(TWaveViewState& view, const TViewDocument& doc, const TWaveSource& data,
                  const TWaveColors& colors, TBitmap& wave);

    // Full redraw from a requested start: fixes the view, the zoom-out flag
    // and the selection columns, draws background, selection, wave, lines,
    // ruler, the play cursor (while stopped) and the cut-bar marks. Returns
    // what it showed (the scroll bar follows Scroll). Nothing without a file
    // or an image.
    TWaveFrame DrawWave(std::int32_t start, const std::vector<std::int32_t>& cutBars, bool stopped);
    // Redraws one column below the ruler: a cut-bar line where a mark's tip
    // is, else background, wave and the centre and zero dots.
    void DrawWaveRange(int x);
    // Redraws the ruler strip: ticks, labels and its bottom line. Returns
    // the ticks drawn, without the labels left out for want of room.
    std::vector<TRulerTick> DrawTimeRuler();

    // A cut bar's line and its triangle in the ruler, when the sample is
    // visible.
    void DrawCutBarMark(std::int32_t sample);
    // The column a mark's tip reaches following the mark's colour down from
    // (x, y), or -1 when the colour breaks off.
    int HitCutBarMark(int x, int y);
    // Whether the pixel at (x, y) has the cut-bar colour.
    bool IsCutBarPixel(int x, int y);
    // Paints the mark at column x away: triangle in the ruler colour, the
    // tip in the bottom line's, a ruler tick it covered restored, the column
    // redrawn. The cut-bar list is the caller's.
    void EraseCutBarMark(int x);

    // The play cursor line at column x.
    void DrawPlayCursor(int x);
    // Redraws every column whose first wave row shows the cursor's colour;
    // one past the end of the data gets the empty area's grey.
    void ErasePlayCursor();

    // Drops the selection and redraws the columns it covered; false when
    // there was none.
    bool ClearSelection();
    // Redraws the columns from x1 to x2 (either order), within the image.
    void RedrawColumns(int x1, int x2);

    // The grey of an image without a file.
    void FillNoFile();

private:
    int Width() const;
    int Height() const;
    bool SelectedColumn(std::int32_t first, std::int32_t last) const;
    void DrawColumnWave(int x, const TColumnPeaks& peaks, TColor pen, const TWaveRows& rows);
    void DrawLinesAcross(const TWaveRows& rows);
    void DrawCursorAfterRedraw(bool stopped);
    void FillArea(int left, int top, int right, int bottom, TColor color);
    void VerticalLine(int x, int from, int to, TColor color);
    void HorizontalRun(int from, int to, int y, TColor color);
    bool HasWaveArea() const;

    TWaveViewState& FView;     // not owned
    const TViewDocument& FDoc; // not owned
    const TWaveSource& FData;  // not owned
    const TWaveColors& FColors;
    TBitmap& FBitmap; // not owned: the waveform image's bitmap
};

class TOverviewRenderer
{
public:
    // Draws into overview (the overview image's bitmap) and keeps its clean
    // copy in clean (without frame and mark).
    TOverviewRenderer(TWaveViewState& view, const TViewDocument& doc, const TWaveSource& data,
                      const TWaveColors& colors, TBitmap& overview, TBitmap& clean);

    // Rebuilds the strip from the whole draw data (waveWidth columns of the
    // waveform image set the step), keeps the clean copy, sets the scale and
    // draws the frame and the mark. Nothing without a file; an empty strip
    // for a file without draw data.
    void DrawOverview(int waveWidth);
    // Moves the range frame to the view, restoring the old one's area.
    void DrawOverviewRange();
    // Moves the position mark to the play position.
    void DrawOverviewPosition();
    // Puts the clean copy back: no frame and no mark are drawn then.
    void RestoreClean();
    // The grey of a strip without a file; the frame and mark are forgotten.
    void FillNoFile();

private:
    int Height() const;
    void RestoreColumn(int x);
    void CopyFromClean(const TRect& area);

    TWaveViewState& FView;     // not owned
    const TViewDocument& FDoc; // not owned
    const TWaveSource& FData;  // not owned
    const TWaveColors& FColors;
    TBitmap& FBitmap; // not owned: the overview image's bitmap
    TBitmap& FClean;  // not owned: the clean copy
};
