// The labels of the secondary windows, once a window has its handles: an
// auto-sized label is exactly as wide as its caption, and no label lies
// over another control of its parent.
#include "dialogs/ql_about.h"
#include "dialogs/ql_cutbaredit.h"
#include "dialogs/ql_preference.h"
#include "dialogs/ql_property.h"
#include "dialogs/ql_trimset.h"

#include "classlib/Graphics.h"
#include "classlib/WideText.h"
#include "support/TestSeams.h"
#include "support/WindowDriver.h"

#include <functional>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int CaptionWidth(TExtLabel* label)
{
    TBitmap measure;
    measure.Canvas()->Font()->Assign(label->Font());
    WideString caption = label->WideCaption().empty() ? WideString(L" ") : label->WideCaption();
    UINT flags = DT_CALCRECT | DT_SINGLELINE | (label->ShowAccelChar() ? 0 : DT_NOPREFIX);
    RECT r{0, 0, 0, 0};
    DrawTextW(measure.Canvas()->Handle(), caption.c_str(), -1, &r, flags);
    return static_cast<int>(r.right);
}

void ExpectLabelsFitAndOverlapNothing(TComponent* window)
{
    int labels = 0;
    for (int i = 0; i < window->ComponentCount(); ++i) {
        auto* label = dynamic_cast<TExtLabel*>(window->Components(i));
        if (!label)
            continue;
        ++labels;
        AnsiString name = label->Caption();
        if (label->AutoSize()) {
            EXPECT_EQ(label->Width(), CaptionWidth(label)) << name;
        }
        TWinControl* parent = label->Parent();
        for (int j = 0; j < parent->ControlCount(); ++j) {
            TControl* other = parent->Controls(j);
            TRect common;
            TRect mine = label->BoundsRect();
            TRect theirs = other->BoundsRect();
            if (other != label && other->Visible() && label->Visible()) {
                EXPECT_FALSE(IntersectRect(&common, &mine, &theirs))
                    << name << " lies over " << other->Name() << " / " << other->Caption();
            }
        }
    }
    EXPECT_GT(labels, 0);
}

} // namespace

TEST(SecondaryWindowLabels, FitTheirCaptionsAndLieOverNothing)
{
    Seams().WaveOutDevices = [] { return std::vector<AnsiString>{"Null A"}; };
    const std::function<TForm*()> windows[] = {
        [] { return new TForm7(nullptr); },
        [] { return new TForm9(nullptr); },
        [] { return new TForm8(nullptr); },
        [] { return new TForm3(nullptr); },
        [] { return new TForm6(nullptr, TOption{}); },
    };
    for (const auto& make : windows) {
        TScopedFree<TForm> window(make());
        window->HandleNeeded();
        SCOPED_TRACE(window->Name());
        ExpectLabelsFitAndOverlapNothing(window.Get());
    }
    PumpMessages();
}
