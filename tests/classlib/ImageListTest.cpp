#include "classlib/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kPaper = 0x203040;

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas()->Pixel(x, y);
}

// A 4x4 image: red with a lime centre, its top row magenta (the mask colour).
std::unique_ptr<TBitmap> Sprite()
{
    auto sprite = std::make_unique<TBitmap>();
    sprite->SetSize(4, 4);
    TCanvas* c = sprite->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 4, 4));
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(1, 1, 3, 3));
    c->Brush()->SetColor(kMagenta);
    c->FillRect(Rect(0, 0, 4, 1));
    return sprite;
}

std::unique_ptr<TBitmap> Paper()
{
    auto paper = std::make_unique<TBitmap>();
    paper->SetPixelFormat(TPixelFormat::pf32bit);
    paper->SetSize(10, 10);
    paper->Canvas()->Brush()->SetColor(kPaper);
    paper->Canvas()->FillRect(Rect(0, 0, 10, 10));
    return paper;
}

TEST(ImageListTest, MaskedImagesDrawOverTheCanvas)
{
    TImageList list(nullptr, 4, 4);
    auto sprite = Sprite();
    EXPECT_EQ(list.AddMasked(sprite.get(), kMagenta), 0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(PixelAt(*sprite, 0, 0), kMagenta) << "the source is left as it was";

    auto paper = Paper();
    list.Draw(paper->Canvas(), 3, 2, 0);
    EXPECT_EQ(PixelAt(*paper, 3, 2), kPaper) << "masked row";
    EXPECT_EQ(PixelAt(*paper, 3, 3), clRed);
    EXPECT_EQ(PixelAt(*paper, 4, 4), clLime);
    EXPECT_EQ(PixelAt(*paper, 7, 5), kPaper) << "right of the image";
    list.Draw(paper->Canvas(), 0, 0, 5); // no such image: nothing drawn
    EXPECT_EQ(PixelAt(*paper, 0, 0), kPaper);

    TBitmap copy;
    list.GetBitmap(0, &copy);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(PixelAt(copy, 0, 0), clBlack);
    EXPECT_EQ(PixelAt(copy, 1, 1), clLime);
}

TEST(ImageListTest, ExplicitMasksAndStrips)
{
    TImageList list(nullptr, 4, 4);
    TBitmap strip;
    strip.SetSize(12, 4); // three images
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(0, 0, 12, 4));
    TBitmap mask;
    mask.SetSize(12, 4); // black: opaque
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 12, 2));
    EXPECT_EQ(list.Add(&strip, &mask), 0);
    EXPECT_EQ(list.Count(), 3);

    auto paper = Paper();
    list.Draw(paper->Canvas(), 0, 0, 2);
    EXPECT_EQ(PixelAt(*paper, 0, 1), kPaper);
    EXPECT_EQ(PixelAt(*paper, 0, 2), clBlue);

    list.Delete(1);
    EXPECT_EQ(list.Count(), 2);
    list.SetSize(8, 8);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
}

TEST(ImageListTest, DisabledImagesAreGreyedAndKeepTheirMask)
{
    TImageList list(nullptr, 4, 4);
    auto sprite = Sprite();
    list.AddMasked(sprite.get(), kMagenta);
    auto paper = Paper();
    list.Draw(paper->Canvas(), 2, 2, 0, false);

    EXPECT_EQ(PixelAt(*paper, 2, 2), kPaper) << "transparent pixels stay";
    EXPECT_EQ(PixelAt(*paper, 0, 0), kPaper);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto expected = [&](int level) {
        return static_cast<TColor>(RGB((level + GetRValue(face)) / 2, (level + GetGValue(face)) / 2,
                                       (level + GetBValue(face)) / 2));
    };
    EXPECT_EQ(PixelAt(*paper, 2, 3), expected((255 * 77) >> 8));  // red
    EXPECT_EQ(PixelAt(*paper, 3, 3), expected((255 * 150) >> 8)); // lime
}

TEST(ImageListTest, ChangeLinksHearEveryChangeUntilTheyLeave)
{
    auto list = std::make_unique<TImageList>(nullptr, 4, 4);
    TChangeLink first, second;
    int firstCount = 0, secondCount = 0;
    first.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, list.get());
        ++firstCount;
    };
    second.OnChange = [&](TObject*) { ++secondCount; };
    list->RegisterChanges(&first);
    list->RegisterChanges(&second);
    list->RegisterChanges(&second); // once is enough

    auto sprite = Sprite();
    list->AddMasked(sprite.get(), kMagenta);
    list->Clear();
    EXPECT_EQ(firstCount, 2);
    EXPECT_EQ(secondCount, 2);

    list->UnRegisterChanges(&second);
    EXPECT_EQ(second.Sender(), nullptr);
    list->SetHeight(8);
    EXPECT_EQ(firstCount, 3);
    EXPECT_EQ(secondCount, 2);

    {
        TChangeLink shortLived;
        list->RegisterChanges(&shortLived);
    }
    list->Clear(); // the freed link has left the list
    EXPECT_EQ(firstCount, 4);

    list.reset();
    EXPECT_EQ(first.Sender(), nullptr) << "a freed list lets its links go";
}

TEST(ImageListTest, SharedHandlesOutliveTheList)
{
    HIMAGELIST shared = ImageList_Create(8, 6, ILC_COLOR24 | ILC_MASK, 1, 1);
    {
        TImageList list(nullptr);
        list.SetShareImages(true);
        list.SetHandle(shared);
        EXPECT_EQ(list.Width(), 8);
        EXPECT_EQ(list.Height(), 6);

        TImageList copy(nullptr);
        copy.Assign(&list);
        EXPECT_NE(copy.Handle(), shared);
        EXPECT_EQ(copy.Height(), 6);
    }
    EXPECT_EQ(ImageList_GetImageCount(shared), 0) << "still a valid list";
    EXPECT_TRUE(ImageList_Destroy(shared));
}

} // namespace
