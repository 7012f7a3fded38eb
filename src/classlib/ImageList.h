// Image lists over the common controls' image lists.
//
//   TChangeLink       tells one client (an item, a control) that a list changed
//   TCustomImageList  images of one size with their masks, drawn onto canvases
//   TImageList        the list that windows place among their components
//   shell icons       the shell's list of small icons and a file's place in it
//
// The system list is made when first needed; a list may also take a list made
// elsewhere (the shell's system image list) and share it instead of owning it.
#pragma once

#include "Graphics.h"

#include <commctrl.h>
#include <vector>

class TCustomImageList;

class TChangeLink : public TObject
{
public:
    // Unregisters from the list it is registered with.
    ~TChangeLink() override;

    // The list the link is registered with (not owned); null when none.
    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* value) { FSender = value; }
    // Fires OnChange with the list as the sender.
    virtual void Change();

    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr; // not owned
};

class TCustomImageList : public TComponent
{
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, int width, int height);
    ~TCustomImageList() override;
    // Copies the size, the masked flag and the images of another list.
    void Assign(TPersistent* Source) override;

    // Changing the size empties the list.
    int Width() const { return FWidth; }
    void SetWidth(int value) { SetSize(value, FHeight); }
    int Height() const { return FHeight; }
    void SetHeight(int value) { SetSize(FWidth, value); }
    void SetSize(int width, int height);
    // Whether the images have masks (the default); changing it empties the list.
    bool Masked() const { return FMasked; }
    void SetMasked(bool value);
    // A shared list is not destroyed with this object.
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool value) { FShareImages = value; }

    int Count() const;
    HIMAGELIST Handle();
    // Takes a list made elsewhere (owned unless ShareImages); the size is
    // read from it.
    void SetHandle(HIMAGELIST value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    // Adds the images in image (one per Width columns) with their masks
    // (white: transparent); returns the index of the first, -1 on failure.
    int Add(TBitmap* image, TBitmap* mask);
    // Adds the images with every pixel of maskColor transparent; image is
    // left as it was.
    int AddMasked(TBitmap* image, TColor maskColor);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left corner at (x, y); disabled images
    // are drawn greyed. An index outside the list draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Sizes image to the list's size and draws image index on black into it.
    void GetBitmap(int index, TBitmap* image);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    // Tells OnChange and every registered link.
    void Change();

    TNotifyEvent OnChange;

protected:
    // The drawing behind Draw: style is the ILD_ flags.
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled);

private:
    void FreeHandle();

    int FWidth = 16;  // pixels
    int FHeight = 16; // pixels
    bool FMasked = true;
    bool FShareImages = false;
    HIMAGELIST FHandle = nullptr;     // owned unless FShareImages; made on demand
    std::vector<TChangeLink*> FLinks; // not owned; each link's Sender is this list
};

// Points field at value as ReplaceFreeNotified does, and moves link from
// the old list's change links to the new one's.
void ReplaceLinkedImages(TComponent* holder, TCustomImageList*& field, TCustomImageList* value,
                         TChangeLink* link);

class TImageList : public TCustomImageList
{
public:
    using TCustomImageList::TCustomImageList;
};

// The shell's list of small system icons, the process's own (never to be
// destroyed); null when the shell gives none. Any thread may ask.
HIMAGELIST ShellSmallImageList();
// A list sharing the shell's small system icons (never destroyed by it);
// empty when the shell gives none.
TImageList* NewShellSmallImages(TComponent* owner);
// A list sharing list, the shell's list (never destroyed by it); empty for
// null.
TImageList* NewShellSmallImages(TComponent* owner, HIMAGELIST list);
// The index of a file's small icon in the shell's list; -1 when the shell
// has none for it. Any thread may ask.
int ShellSmallIconIndex(const AnsiString& path);
