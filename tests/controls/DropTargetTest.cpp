// The file-drop target: the effect it answers, the names it reads from a
// data object, the order of its events, and its registration, through
// direct calls and through the system's drag loop.
#include "controls/DropTarget.h"

#include "classlib/ListView.h"
#include "classlib/Panel.h"

#include "support/FormFixture.h"
#include "support/ShellDrag.h"
#include "support/TestSeams.h"

using namespace testing_support;

namespace {

constexpr int kCopy = DROPEFFECT_COPY;
constexpr int kMove = DROPEFFECT_MOVE;
constexpr int kLink = DROPEFFECT_LINK;
constexpr int kAll = kCopy | kMove | kLink;

class DropTargetTest : public FormFixture
{
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->SetBounds(100, 100, 300, 200);
        panel = new TPanel(form);
        panel->SetName("WavePanel");
        panel->SetParent(form);
        panel->SetBounds(0, 0, 200, 150);
        target = new TDropFileTarget(form);
        target->OnEnter = [this](TObject*, TShiftState, TPoint, int&) { events += "enter "; };
        target->OnDragOver = [this](TObject*, TShiftState, TPoint, int&) { events += "over "; };
        target->OnLeave = [this](TObject*) { events += "leave "; };
        target->OnDrop = [this](TObject*, TShiftState, TPoint, int& effect) {
            events += "drop ";
            dropped = target->Files();
            dropEffect = effect;
        };
    }
    // A data object holding a drop of names; the caller releases it.
    TTestDataObject* DropOf(const std::vector<std::u16string>& names, bool wide = true)
    {
        auto* data = new TTestDataObject;
        data->Offer(CF_HDROP, DropFilesBlock(names, wide));
        return data;
    }
    POINTL ScreenOf(int x, int y)
    {
        POINT p = ScreenPointOf(panel->Handle(), x, y);
        return POINTL{p.x, p.y};
    }
    DWORD Enter(IDataObject* data, DWORD keys = 0, DWORD offered = kAll)
    {
        DWORD effect = offered;
        target->DragEnter(data, keys, ScreenOf(50, 50), &effect);
        return effect;
    }
    DWORD DropNow(IDataObject* data, DWORD keys = 0, DWORD offered = kAll)
    {
        DWORD effect = offered;
        target->Drop(data, keys, ScreenOf(50, 50), &effect);
        return effect;
    }

    TPanel* panel = nullptr;
    TDropFileTarget* target = nullptr;
    std::string events;
    std::vector<AnsiString> dropped;
    int dropEffect = -1;
};

} // namespace

TEST_F(DropTargetTest, TheEffectFollowsTheAllowedTypesAndTheKeys)
{
    struct TCase
    {
        TDragTypes Types;
        TShiftState Shift;
        int Offered;
        int Expected;
    };
    const TDragTypes copy = DragTypesOf(TDragType::dtCopy);
    const TDragTypes every = copy | DragTypesOf(TDragType::dtMove) | DragTypesOf(TDragType::dtLink);
    const TCase cases[] = {
        {copy, 0, kAll, kCopy},
        {copy, 0, kMove, DROPEFFECT_NONE}, // a drag offering only move
        {copy, ssShift, kAll, kCopy},      // Shift never makes a copy-only target move
        {copy, ssShift | ssCtrl, kAll, kCopy},
        {every, ssShift, kAll, kMove},
        {every, ssShift | ssCtrl, kAll, kLink},
        {every, ssShift | ssCtrl, kCopy | kMove, kCopy},
        {every, 0, kMove | kLink, kMove},
        {every, 0, kLink, kLink},
        {every, ssCtrl, kAll, kCopy},
    };
    for (const TCase& c : cases) {
        target->Dragtypes = c.Types;
        EXPECT_EQ(target->AllowedDropEffect(c.Shift, TPoint(50, 50), c.Offered), c.Expected)
            << c.Types << " " << c.Shift << " " << c.Offered;
    }
    target->OnGetDropEffect = [](TObject*, TShiftState, TPoint, int& effect) {
        EXPECT_EQ(effect, kCopy);
        effect = kLink;
    };
    target->Dragtypes = copy;
    EXPECT_EQ(target->AllowedDropEffect(0, TPoint(50, 50), kCopy | kMove), kLink);
}

TEST_F(DropTargetTest, AWideDropGivesEveryNameTheCodePageHoldsAndReportsTheOthersAfterwards)
{
    target->Register(panel);
    TTestDataObject* data = DropOf({u"C:\\a.wav", u"\u4E00.wav", u"C:\\\u00E9.wav"});
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_EQ(Enter(data), static_cast<DWORD>(kCopy));
    EXPECT_EQ(DropNow(data), static_cast<DWORD>(kCopy));
    EXPECT_EQ(events, "enter drop ");
    EXPECT_EQ(dropped, (std::vector<AnsiString>{"C:\\a.wav", "\x88\xEA.wav"}));
    EXPECT_TRUE(boxes.Shown().empty()); // not while the drop runs
    PumpMessages();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].Wide);
    EXPECT_NE(boxes.Shown()[0].WideText.find(L"C:\\\u00E9.wav"), std::wstring::npos);
    EXPECT_EQ(boxes.Shown()[0].WideCaption, L"警告");
    data->Release();
}

TEST_F(DropTargetTest, ADropOfOnlyLostNamesOpensNothingButIsReported)
{
    target->Register(panel);
    TTestDataObject* data = DropOf({u"\u00A5.wav"});
    ScriptedMessageBoxes boxes({IDOK});
    Enter(data);
    EXPECT_EQ(DropNow(data), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(events, "enter ");
    PumpMessages();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    data->Release();
}

TEST_F(DropTargetTest, NameMapsAreKeptOnlyWhenTheyMatchTheDroppedNames)
{
    target->Register(panel);
    std::vector<AnsiString> maps;
    target->OnDrop = [&](TObject*, TShiftState, TPoint, int&) { maps = target->DroppedNameMap(); };
    struct TCase
    {
        std::vector<std::u16string> Map;
        std::vector<AnsiString> Expected;
    };
    const TCase cases[] = {{{u"x.wav", u"y.wav"}, {"x.wav", "y.wav"}}, {{u"x.wav"}, {}}};
    for (const TCase& c : cases) {
        TTestDataObject* data = DropOf({u"a.wav", u"b.wav"});
        std::string map = DropFilesBlock(c.Map, true).substr(kDropFilesHeaderBytes);
        data->Offer(DropFormats().FileNameMapW, map);
        Enter(data);
        DropNow(data);
        EXPECT_EQ(maps, c.Expected);
        data->Release();
    }
}

TEST_F(DropTargetTest, AFetchThatFailsAtTheDropAnswersNoneWithoutOnDrop)
{
    target->Register(panel);
    TTestDataObject* data = DropOf({u"a.wav"});
    data->FailGetData = true;
    Enter(data);
    EXPECT_EQ(DropNow(data), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(events, "enter ");
    data->Release();

    // Fetched on enter, the data stands at the drop.
    target->GetDataOnEnter = true;
    data = DropOf({u"a.wav"});
    Enter(data);
    DropNow(data);
    EXPECT_EQ(dropped, (std::vector<AnsiString>{"a.wav"}));
    data->Release();
}

TEST_F(DropTargetTest, DataWithoutFileNamesGetsNoEffectAndOnlyTheLeave)
{
    target->Register(panel);
    auto* data = new TTestDataObject;
    data->Offer(CF_TEXT, "text");
    EXPECT_EQ(Enter(data), static_cast<DWORD>(DROPEFFECT_NONE));
    DWORD effect = kAll;
    target->DragOver(0, ScreenOf(60, 60), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->DragLeave();
    EXPECT_EQ(DropNow(data), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(events, "leave ");
    data->Release();
}

TEST_F(DropTargetTest, NearTheEdgeOfAListThatScrollsTheDragScrollsIt)
{
    auto* list = new TListView(form);
    list->SetName("List");
    list->SetParent(form);
    list->SetBounds(0, 0, 200, 100);
    list->SetViewStyle(TViewStyle::vsReport);
    list->Columns()->Add()->SetWidth(150);
    for (int i = 0; i < 40; ++i)
        list->Items()->Add()->SetCaption("item");
    ASSERT_TRUE(ActivateForm(form));
    target->Register(list);
    TTestDataObject* data = DropOf({u"a.wav"});
    DWORD effect = kAll;
    POINT bottom = ScreenPointOf(list->Handle(), 50, list->ClientHeight() - 2);
    target->DragEnter(data, 0, POINTL{bottom.x, bottom.y}, &effect);
    effect = kAll;
    target->DragOver(0, POINTL{bottom.x, bottom.y}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(kCopy | kDropEffectScroll));
    EXPECT_TRUE(PumpUntil([&] { return list->TopItem() && list->TopItem()->Index() > 0; }));
    effect = kAll;
    target->Drop(data, 0, POINTL{bottom.x, bottom.y}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(kCopy)); // never with the scroll bit
    data->Release();
}

TEST_F(DropTargetTest, RegisteringTwiceRegistersOnceAndARefusalNamesTheControl)
{
    target->Register(panel);
    target->Register(panel);
    EXPECT_TRUE(target->TargetActive());
    auto* other = new TDropFileTarget(form);
    try {
        other->Register(panel);
        ADD_FAILURE() << "registered twice";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Failed to Register WavePanel");
    }
    EXPECT_EQ(other->Target(), nullptr);
    target->Unregister();
    EXPECT_FALSE(target->TargetActive());
    EXPECT_EQ(target->Target(), nullptr);
    other->Register(panel); // free again
    delete panel;           // the target lets a freed control go
    EXPECT_EQ(other->Target(), nullptr);
}

TEST_F(DropTargetTest, TheSystemsDragLoopDropsOnTheRegisteredControl)
{
    ASSERT_TRUE(ActivateForm(form));
    target->Register(panel);
    TTestDataObject* data = DropOf({u"C:\\a.wav", u"C:\\b.rgl"});
    EXPECT_EQ(DragAndDropAt(data, ScreenPointOf(panel->Handle(), 40, 40)),
              static_cast<DWORD>(kCopy));
    EXPECT_EQ(dropped, (std::vector<AnsiString>{"C:\\a.wav", "C:\\b.rgl"}));
    EXPECT_EQ(dropEffect, kCopy);
    data->Release();
}
