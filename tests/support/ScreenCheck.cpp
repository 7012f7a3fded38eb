#include "ScreenCheck.h"

#include "PngFile.h"

#include "classlib/Image.h"
#include "classlib/Label.h"
#include "classlib/StandardControls.h"
#include "classlib/WideText.h"
#include "controls/ExtControls.h"
#include "controls/ExtItem.h"
#include "controls/FlatButton.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <optional>
#include <unordered_map>

namespace testing_support {

ScreenImage::ScreenImage(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    FWidth = client.right;
    FHeight = client.bottom;
    FPixels.assign(size_t(std::max(FWidth, 0)) * std::max(FHeight, 0), 0);
    if (FPixels.empty())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    TScreenDC windowDC(window);
    HDC memoryDC = CreateCompatibleDC(windowDC.Handle());
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(windowDC.Handle(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memoryDC, dib);
    GdiFlush();
    BitBlt(memoryDC, 0, 0, FWidth, FHeight, windowDC.Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (size_t i = 0; i < FPixels.size(); ++i)
        FPixels[i] = source[i] & 0xFFFFFF;
    SelectObject(memoryDC, old);
    DeleteObject(dib);
    DeleteDC(memoryDC);
}

bool ShownOnTheScreen(HWND window)
{
    const ScreenImage own(window);
    const ScreenImage screen(GetDesktopWindow());
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    int same = 0, all = 0;
    for (int y = 0; y < own.Height(); ++y)
        for (int x = 0; x < own.Width(); ++x) {
            const int sx = origin.x + x, sy = origin.y + y;
            if (sx < 0 || sy < 0 || sx >= screen.Width() || sy >= screen.Height())
                continue;
            ++all;
            same += own.At(x, y) == screen.At(sx, sy);
        }
    return all > 0 && same * 10 >= all * 9;
}

bool ScreenImage::Save(const std::string& path) const
{
    return WritePng(path, FWidth, FHeight, FPixels);
}

namespace {

// Two colours count as one when no channel differs by more (the light
// greys of a theme lie some 10 apart, so this must stay below that).
constexpr int kColourTolerance = 3;
// A control is left black when at least this share of its own area is.
constexpr double kBlackShare = 0.5;
// How many rows of pixels around a control tell what lies behind it.
constexpr int kRingWidth = 2;
constexpr size_t kFewestRingPixels = 4;
// A check box's or radio button's glyph and the gap after it.
constexpr int kGlyphRoom = 13 + 4;
// A button's caption keeps this far from each side of its face.
constexpr int kButtonFrame = 3;
// A group box's caption starts this far in, and ends before the frame.
constexpr int kGroupCaptionLeft = 8;
constexpr int kGroupFrame = 2;

std::string Hex(std::uint32_t rgb)
{
    char text[16];
    std::snprintf(text, sizeof(text), "#%06X", rgb);
    return text;
}

std::string SizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

bool SameColour(std::uint32_t a, std::uint32_t b)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > kColourTolerance)
            return false;
    return true;
}

TRect Intersection(const TRect& a, const TRect& b)
{
    TRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    return r.left < r.right && r.top < r.bottom ? r : TRect();
}

bool Contains(const TRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A rectangle of one window mapped into another's client coordinates.
TRect Mapped(HWND from, HWND to, const TRect& r)
{
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(from, to, corners, 2);
    return TRect(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

SIZE MeasureText(TFont* font, const WideString& text, bool prefix)
{
    TScreenDC dc;
    HGDIOBJ old = SelectObject(dc.Handle(), font->Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.Handle(), text.c_str(), -1, &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | (prefix ? 0 : DT_NOPREFIX));
    SelectObject(dc.Handle(), old);
    return SIZE{r.right, r.bottom};
}

std::string Quoted(const WideString& text)
{
    return "\"" + WideToAnsi(text) + "\"";
}

std::string NameOf(TControl* control)
{
    if (!control->Name().empty())
        return control->Name();
    std::string name = control->ClassName();
    if (!control->Caption().empty())
        name += " \"" + control->Caption() + "\"";
    return name;
}

// A control as it stands on the screen.
struct Node
{
    TControl* Control = nullptr;
    std::string Name;
    TRect Rect;   // the window's client coordinates, as every rectangle here
    TRect Client; // its client area (its rectangle for a control without a window)
    TRect Shown;  // the part of Rect inside every parent
    Node* Parent = nullptr;
    std::vector<Node*> Children;
};

// A caption: what it says, where it must fit, and where it stands.
struct Caption
{
    WideString Text;
    SIZE Size{};         // measured in the control's font
    TRect Room;          // where it must fit
    bool MustFit = true; // false when the control shortens or wraps it
    TRect Drawn;         // where its pixels stand (empty: on a face of the control's own)
};

TRect Deflated(TRect r, int left, int top, int right, int bottom)
{
    return TRect(r.left + left, r.top + top, r.right - right, r.bottom - bottom);
}

// The text's block inside room, by alignment, centred vertically.
TRect Placed(const TRect& room, SIZE size, TAlignment alignment, bool centreVertically = true)
{
    int left = room.left;
    if (alignment == TAlignment::taRightJustify)
        left = room.right - size.cx;
    else if (alignment == TAlignment::taCenter)
        left = room.left + (room.Width() - size.cx) / 2;
    const int top = centreVertically ? room.top + (room.Height() - size.cy) / 2 : room.top;
    return TRect(left, top, left + size.cx, top + size.cy);
}

// A caption measured in font; none when empty.
std::optional<Caption> Measured(const WideString& text, TFont* font, bool prefix)
{
    if (text.empty())
        return std::nullopt;
    Caption c;
    c.Text = text;
    c.Size = MeasureText(font, text, prefix);
    return c;
}

std::optional<Caption> TextObjectCaption(const Node& node, TExtTextObject* text)
{
    std::optional<Caption> c = Measured(text->WideCaption(), text->Font(), text->ShowAccelChar());
    if (!c)
        return c;
    const TSkinControlMargins* m = text->Margins();
    c->Room = Deflated(node.Rect, m->Left(), m->Top(), m->Right(), m->Bottom());
    if (dynamic_cast<TExtButtonControl*>(text))
        c->Room.left += kGlyphRoom;
    c->MustFit = text->Wrapping() == TTextWrapping::twNone;
    const TAlignment alignment =
        dynamic_cast<TExtProgressBar*>(text) ? TAlignment::taCenter : text->Alignment();
    c->Drawn = Intersection(Placed(c->Room, c->Size, alignment), node.Shown);
    return c;
}

std::optional<Caption> LabelCaption(const Node& node, TLabel* label)
{
    std::optional<Caption> c =
        Measured(AnsiToWide(label->Caption()), label->Font(), label->ShowAccelChar());
    if (!c)
        return c;
    c->Room = node.Rect;
    c->MustFit = !label->WordWrap();
    c->Drawn = Intersection(
        Placed(c->Room, c->Size, label->Alignment(), label->Layout() == TTextLayout::tlCenter),
        node.Shown);
    return c;
}

std::optional<Caption> ButtonCaption(const Node& node, TButton* button)
{
    std::optional<Caption> c = Measured(AnsiToWide(button->Caption()), button->Font(), true);
    if (!c)
        return c;
    c->Room = Deflated(node.Rect, kButtonFrame, 0, kButtonFrame, 0);
    if (auto* flat = dynamic_cast<TFlatButton*>(button)) {
        if (flat->Images() && flat->ImageIndex() >= 0)
            c->Room.left += flat->Images()->Width() + flat->GlyphSpacing();
        c->MustFit = flat->EllipsisStyle() == TEllipsisStyle::esNone;
    }
    return c;
}

std::optional<Caption> SkinButtonCaption(const Node& node, TSkinButton* button)
{
    std::optional<Caption> c =
        Measured(AnsiToWide(button->Caption()), button->Font(), button->ShowAccelChar());
    if (!c)
        return c;
    const int border = button->BorderSize();
    c->Room = Deflated(node.Rect, border, border, border, border);
    if (button->Images())
        c->Room.left += button->Images()->Width() + button->GlyphSpacing();
    c->MustFit = button->Wrapping() == TTextWrapping::twNone;
    return c;
}

std::optional<Caption> GroupCaption(const Node& node, TExtGroupBox* group)
{
    std::optional<Caption> c = Measured(group->WideCaption(), group->Font(), true);
    if (!c)
        return c;
    c->Room = Deflated(node.Rect, kGroupCaptionLeft, 0, kGroupFrame, 0);
    c->Drawn = Intersection(Placed(c->Room, c->Size, TAlignment::taLeftJustify, false), node.Shown);
    return c;
}

std::optional<Caption> CaptionOf(const Node& node)
{
    TControl* control = node.Control;
    if (auto* group = dynamic_cast<TExtGroupBox*>(control))
        return GroupCaption(node, group);
    if (auto* text = dynamic_cast<TExtTextObject*>(control))
        return TextObjectCaption(node, text);
    if (auto* button = dynamic_cast<TSkinButton*>(control))
        return SkinButtonCaption(node, button);
    if (auto* label = dynamic_cast<TLabel*>(control))
        return LabelCaption(node, label);
    if (auto* button = dynamic_cast<TButton*>(control))
        return ButtonCaption(node, button);
    return std::nullopt;
}

class Checker
{
public:
    explicit Checker(const ScreenCheckInput& input)
        : FInput(input), FRoot(input.Window->Handle()), FImage(FRoot)
    {
    }

    std::vector<ScreenFinding> Run()
    {
        if (!FInput.PngPath.empty())
            FImage.Save(FInput.PngPath);
        Node& root = FNodes.emplace_back();
        root.Control = FInput.Window;
        root.Name = NameOf(FInput.Window);
        root.Rect = root.Client = root.Shown = TRect(0, 0, FImage.Width(), FImage.Height());
        Walk(FInput.Window, root);
        for (Node& node : FNodes) {
            CheckPainted(node);
            CheckInside(node);
            CheckApart(node);
            CheckLabelItems(node);
        }
        CheckDrawnTexts();
        return FFindings;
    }

private:
    void Walk(TWinControl* parent, Node& parentNode)
    {
        const HWND parentWindow = parent->Handle();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* control = parent->Controls(i);
            auto* windowed = dynamic_cast<TWinControl*>(control);
            if (!control->Visible() || (windowed && (!windowed->HandleAllocated() ||
                                                     !IsWindowVisible(windowed->Handle()))))
                continue;
            Node& node = FNodes.emplace_back();
            node.Control = control;
            node.Name = NameOf(control);
            node.Parent = &parentNode;
            if (windowed) {
                RECT window{}, client{};
                GetWindowRect(windowed->Handle(), &window);
                GetClientRect(windowed->Handle(), &client);
                node.Rect = Mapped(nullptr, FRoot, TRect(window));
                node.Client = Mapped(windowed->Handle(), FRoot, TRect(client));
            } else {
                node.Rect = node.Client = Mapped(parentWindow, FRoot, control->BoundsRect());
            }
            node.Shown = Intersection(node.Rect, parentNode.Shown);
            parentNode.Children.push_back(&node);
            if (windowed)
                Walk(windowed, node);
        }
    }

    // A finding, unless the window's design allows it (an Apart pair in
    // either order).
    void Report(const std::string& control, const char* rule, std::string detail,
                const std::string& other = "")
    {
        for (const ScreenDesign& design : FInput.Design)
            if (design.Rule == rule &&
                ((design.Control == control && (design.Other.empty() || design.Other == other)) ||
                 (!other.empty() && design.Control == other && design.Other == control)))
                return;
        FFindings.push_back({control, rule, std::move(detail)});
    }

    template <class Visit> void ForEachPixel(const TRect& r, Visit visit) const
    {
        const TRect inside = Intersection(r, TRect(0, 0, FImage.Width(), FImage.Height()));
        for (int y = inside.top; y < inside.bottom; ++y)
            for (int x = inside.left; x < inside.right; ++x)
                visit(x, y, FImage.At(x, y));
    }

    static std::optional<std::uint32_t>
    MostCommon(const std::unordered_map<std::uint32_t, size_t>& counts, size_t fewest)
    {
        size_t total = 0;
        std::optional<std::uint32_t> best;
        for (const auto& [colour, count] : counts) {
            total += count;
            if (!best || count > counts.at(*best))
                best = colour;
        }
        return total >= fewest ? best : std::nullopt;
    }

    // The colour around the control on its parent, where no sibling stands.
    std::optional<std::uint32_t> ColourBehind(const Node& node) const
    {
        if (!node.Parent)
            return std::nullopt;
        std::unordered_map<std::uint32_t, size_t> counts;
        for (int d = 1; d <= kRingWidth; ++d) {
            const TRect ring(node.Rect.left - d, node.Rect.top - d, node.Rect.right + d,
                             node.Rect.bottom + d);
            ForEachPixel(ring, [&](int x, int y, std::uint32_t rgb) {
                const bool onEdge =
                    x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1;
                if (!onEdge || !Contains(node.Parent->Shown, x, y) ||
                    !Contains(node.Parent->Client, x, y))
                    return;
                for (const Node* sibling : node.Parent->Children)
                    if (Contains(sibling->Rect, x, y))
                        return;
                ++counts[rgb];
            });
        }
        return MostCommon(counts, kFewestRingPixels);
    }

    void CheckPainted(const Node& node)
    {
        if (dynamic_cast<TImage*>(node.Control))
            return; // a picture shows what it holds
        size_t own = 0, black = 0;
        ForEachPixel(node.Shown, [&](int x, int y, std::uint32_t rgb) {
            for (const Node* child : node.Children)
                if (Contains(child->Shown, x, y))
                    return;
            ++own;
            black += rgb == 0;
        });
        const bool meantBlack = ColorToRGB(node.Control->EffectiveColor()) == 0;
        if (own > 0 && black >= kBlackShare * own && !meantBlack) {
            Report(node.Name, "Painted",
                   "left black: " + std::to_string(black) + " of its " + std::to_string(own) +
                       " pixels");
            return;
        }
        const std::optional<Caption> caption = CaptionOf(node);
        if (!caption || caption->Drawn.IsEmpty())
            return;
        const std::optional<std::uint32_t> behind = ColourBehind(node);
        std::unordered_map<std::uint32_t, size_t> counts;
        ForEachPixel(caption->Drawn, [&](int, int, std::uint32_t rgb) { ++counts[rgb]; });
        const std::optional<std::uint32_t> under = MostCommon(counts, 1);
        if (behind && under && !SameColour(*behind, *under))
            Report(node.Name, "Painted",
                   "caption " + Quoted(caption->Text) + " stands on " + Hex(*under) + ", while " +
                       Hex(*behind) + " lies behind the control");
    }

    void CheckInside(const Node& node)
    {
        if (node.Parent) {
            const TRect& outer = node.Parent->Client;
            const int left = outer.left - node.Rect.left, top = outer.top - node.Rect.top;
            const int right = node.Rect.right - outer.right,
                      bottom = node.Rect.bottom - outer.bottom;
            if (left > 0 || top > 0 || right > 0 || bottom > 0)
                Report(node.Name, "Inside",
                       "passes " + node.Parent->Name + "'s client area by " +
                           std::to_string(std::max(left, 0)) + "/" +
                           std::to_string(std::max(top, 0)) + "/" +
                           std::to_string(std::max(right, 0)) + "/" +
                           std::to_string(std::max(bottom, 0)) + " px (left/top/right/bottom)");
        }
        const std::optional<Caption> caption = CaptionOf(node);
        if (caption && caption->MustFit &&
            (caption->Size.cx > caption->Room.Width() || caption->Size.cy > caption->Room.Height()))
            Report(node.Name, "Inside",
                   "caption " + Quoted(caption->Text) + " needs " +
                       SizeText(caption->Size.cx, caption->Size.cy) + " px, has " +
                       SizeText(caption->Room.Width(), caption->Room.Height()));
    }

    void CheckApart(const Node& node)
    {
        const std::vector<Node*>& kids = node.Children;
        for (size_t i = 0; i < kids.size(); ++i)
            for (size_t j = i + 1; j < kids.size(); ++j) {
                const TRect common = Intersection(kids[i]->Rect, kids[j]->Rect);
                if (!common.IsEmpty())
                    Report(kids[i]->Name, "Apart",
                           "overlaps " + kids[j]->Name + " by " +
                               SizeText(common.Width(), common.Height()) + " px",
                           kids[j]->Name);
            }
    }

    // A label item of a toolbar holds a line of text even when empty.
    void CheckLabelItems(const Node& node)
    {
        auto* toolbar = dynamic_cast<TExtToolbar*>(node.Control);
        if (!toolbar || !toolbar->View())
            return;
        TBarView* view = toolbar->View();
        for (int i = 0; i < view->ViewerCount(); ++i) {
            TBarItemViewer* viewer = view->Viewers(i);
            auto* item = dynamic_cast<TExtCustomLabelItem*>(viewer->Item());
            if (!item || dynamic_cast<TExtRightAlignSpacerItem*>(item) || !viewer->Shown())
                continue;
            const WideString text = item->Caption().empty() ? WideString(L" ") : item->Caption();
            const SIZE size = MeasureText(toolbar->Font(), text, true);
            const TRect& r = viewer->BoundsRect();
            if (size.cy > r.Height())
                Report(item->Name().empty() ? node.Name + " label item" : item->Name(), "Inside",
                       "caption " + Quoted(item->Caption()) + " needs a line of " +
                           std::to_string(size.cy) + " px, the item is " +
                           std::to_string(r.Height()) + " px high");
        }
    }

    void CheckDrawnTexts()
    {
        if (!FInput.DrawnIn)
            return;
        const std::string owner = NameOf(FInput.DrawnIn);
        const std::vector<DrawnText>& texts = FInput.Drawn;
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j)
                if (!Intersection(texts[i].Rect, texts[j].Rect).IsEmpty())
                    Report(owner + " text " + texts[i].Name, "Apart",
                           "runs into text " + texts[j].Name);
    }

    const ScreenCheckInput& FInput;
    HWND FRoot;
    ScreenImage FImage;
    std::deque<Node> FNodes; // stable addresses for the links between nodes
    std::vector<ScreenFinding> FFindings;
};

} // namespace

std::vector<ScreenFinding> CheckScreen(const ScreenCheckInput& input)
{
    return Checker(input).Run();
}

} // namespace testing_support
