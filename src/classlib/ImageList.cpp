#include "ImageList.h"

#include "OleStart.h"

#include <algorithm>
#include <shellapi.h>

TChangeLink::~TChangeLink()
{
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (FSender)
        OnChange(FSender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int width, int height)
    : TComponent(AOwner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1))
{
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : FLinks)
        link->SetSender(nullptr);
    FreeHandle();
}

void TCustomImageList::FreeHandle()
{
    if (FHandle && !FShareImages)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

void TCustomImageList::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TCustomImageList*>(Source);
    if (!other) {
        TComponent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    FreeHandle();
    FShareImages = false;
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FMasked = other->FMasked;
    if (other->FHandle)
        FHandle = ImageList_Duplicate(other->FHandle);
    Change();
}

void TCustomImageList::SetSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight)
        return;
    FWidth = width;
    FHeight = height;
    FreeHandle();
    Change();
}

void TCustomImageList::SetMasked(bool value)
{
    if (value == FMasked)
        return;
    FMasked = value;
    FreeHandle();
    Change();
}

int TCustomImageList::Count() const
{
    return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

HIMAGELIST TCustomImageList::Handle()
{
    if (!FHandle) {
        FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | (FMasked ? ILC_MASK : 0), 4, 4);
        if (!FHandle)
            throw EOutOfMemory("Out of system resources");
        ImageList_SetBkColor(FHandle, CLR_NONE);
        FShareImages = false;
    }
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST value)
{
    if (value == FHandle)
        return;
    FreeHandle();
    FHandle = value;
    int width = 0, height = 0;
    if (FHandle && ImageList_GetIconSize(FHandle, &width, &height)) {
        FWidth = width;
        FHeight = height;
    }
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image || image->Empty())
        return -1;
    int index = ImageList_Add(Handle(), image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!image || image->Empty())
        return -1;
    // The system blackens the masked pixels of the bitmap it is given.
    TBitmap copy;
    copy.Assign(image);
    int index = ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(maskColor));
    Change();
    return index;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    if (!image || image->Empty() || index < 0 || index >= Count())
        return;
    ImageList_Replace(FHandle, index, image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
}

void TCustomImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    ImageList_Remove(FHandle, index);
    Change();
}

void TCustomImageList::Clear()
{
    if (FHandle)
        ImageList_Remove(FHandle, -1);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    if (canvas && index >= 0 && index < Count())
        DoDraw(index, canvas, x, y, ILD_NORMAL, enabled);
}

namespace {

// The disabled look of one image pixel: its grey level halfway to the button
// face, so that the image reads as a faded shape of itself.
void GreyPixel(unsigned char* pixel, COLORREF face)
{
    int level = (pixel[2] * 77 + pixel[1] * 150 + pixel[0] * 29) >> 8;
    pixel[0] = static_cast<unsigned char>((level + GetBValue(face)) / 2);
    pixel[1] = static_cast<unsigned char>((level + GetGValue(face)) / 2);
    pixel[2] = static_cast<unsigned char>((level + GetRValue(face)) / 2);
}

TBitmap* WorkBitmap(TBitmap& bitmap, int width, int height, TColor fill)
{
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(fill);
    bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    return &bitmap;
}

// Draws the image greyed over what dc shows at (x, y): the image is drawn on
// black and on white; pixels that come out the same in both belong to the
// image, the others are transparent and keep the destination's pixel.
void DrawGreyed(HIMAGELIST list, int index, HDC dc, int x, int y, int width, int height)
{
    TBitmap onBlack, onWhite, result;
    HDC black = WorkBitmap(onBlack, width, height, clBlack)->Canvas()->Handle();
    HDC white = WorkBitmap(onWhite, width, height, clWhite)->Canvas()->Handle();
    HDC target = WorkBitmap(result, width, height, clBlack)->Canvas()->Handle();
    ImageList_Draw(list, index, black, 0, 0, ILD_NORMAL);
    ImageList_Draw(list, index, white, 0, 0, ILD_NORMAL);
    BitBlt(target, 0, 0, width, height, dc, x, y, SRCCOPY);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int row = 0; row < height; ++row) {
        auto* b = static_cast<unsigned char*>(onBlack.ScanLine(row));
        auto* w = static_cast<unsigned char*>(onWhite.ScanLine(row));
        auto* out = static_cast<unsigned char*>(result.ScanLine(row));
        for (int column = 0; column < width * 4; column += 4) {
            if (b[column] != w[column] || b[column + 1] != w[column + 1] ||
                b[column + 2] != w[column + 2])
                continue;
            std::copy(b + column, b + column + 3, out + column);
            GreyPixel(out + column, face);
        }
    }
    BitBlt(dc, x, y, width, height, target, 0, 0, SRCCOPY);
}

} // namespace

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled)
{
    canvas->Changing();
    HDC dc = canvas->Handle();
    if (enabled)
        ImageList_Draw(FHandle, index, dc, x, y, style);
    else
        DrawGreyed(FHandle, index, dc, x, y, FWidth, FHeight);
    canvas->Changed();
}

void TCustomImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image || index < 0 || index >= Count())
        return;
    image->SetSize(FWidth, FHeight);
    PatBlt(image->Canvas()->Handle(), 0, 0, FWidth, FHeight, BLACKNESS);
    Draw(image->Canvas(), 0, 0, index);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || link->Sender() == this)
        return;
    if (link->Sender())
        link->Sender()->UnRegisterChanges(link);
    link->SetSender(this);
    FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    auto found = std::find(FLinks.begin(), FLinks.end(), link);
    if (found == FLinks.end())
        return;
    FLinks.erase(found);
    link->SetSender(nullptr);
}

void TCustomImageList::Change()
{
    OnChange(this);
    // A link may leave (or be freed) while another is being told.
    std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links) {
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end())
            link->Change();
    }
}

HIMAGELIST ShellSmallImageList()
{
    StartOle();
    SHFILEINFOA info = {};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

TImageList* NewShellSmallImages(TComponent* owner)
{
    return NewShellSmallImages(owner, ShellSmallImageList());
}

TImageList* NewShellSmallImages(TComponent* owner, HIMAGELIST list)
{
    auto* images = new TImageList(owner);
    images->SetShareImages(true);
    if (list)
        images->SetHandle(list);
    return images;
}

int ShellSmallIconIndex(const AnsiString& path)
{
    StartOle();
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

void ReplaceLinkedImages(TComponent* holder, TCustomImageList*& field, TCustomImageList* value,
                         TChangeLink* link)
{
    if (value == field)
        return;
    if (field)
        field->UnRegisterChanges(link);
    ReplaceFreeNotified(holder, field, value);
    if (value)
        value->RegisterChanges(link);
}
