// The stand-ins the main window uses until the toolkit's controls land.
#include "editor/ToolkitStandIns.h"

#include "support/FormFixture.h"

#include <shlobj.h>

using namespace testing_support;

namespace {

// A drop of paths as the shell hands it over (DROPFILES and a list of
// names that ends in an empty one); the receiver frees it.
HDROP MakeDrop(const std::vector<AnsiString>& paths)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const AnsiString& path : paths)
        bytes += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    char* names = reinterpret_cast<char*>(drop + 1);
    for (const AnsiString& path : paths) {
        memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace

class DropFileTargetTest : public FormFixture
{
};

TEST_F(DropFileTargetTest, HandsTheDroppedPathsOverInOrderUntilUnregistered)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* target = new TDropFileTarget(form);
    std::vector<AnsiString> dropped;
    int drops = 0;
    target->OnDrop = [&](TObject*, const std::vector<AnsiString>& paths) {
        dropped = paths;
        ++drops;
    };
    target->Register(panel);
    EXPECT_TRUE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SendMessageA(panel->Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.wav", "C:\\表\\b.rgl"})), 0);
    ASSERT_EQ(drops, 1);
    EXPECT_EQ(dropped, (std::vector<AnsiString>{"C:\\a.wav", "C:\\表\\b.rgl"}));

    target->Unregister();
    EXPECT_FALSE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    HDROP late = MakeDrop({"C:\\c.wav"});
    SendMessageA(panel->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(late), 0);
    DragFinish(late);
    EXPECT_EQ(drops, 1);
}

TEST_F(DropFileTargetTest, ATargetFreedFirstIsForgotten)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* target = new TDropFileTarget(form);
    target->Register(panel);
    delete panel;
    EXPECT_EQ(target->Target(), nullptr);
    target->Unregister();
}
