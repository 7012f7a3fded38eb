#include "Skin.h"

#include "SkinDefaultTheme.h"

#include "classlib/Control.h"
#include "toolbar/BarCommon.h"
#include "toolbar/BarItem.h"

#include <algorithm>
#include <cstdlib>
#include <mmsystem.h>

namespace {

TSkinTheme* gCurrentTheme = nullptr;          // one counted reference
TSkinNexus* gNexus = nullptr;                 // owned: StartSkin .. StopSkin
TSkinMenuAnimation* gMenuAnimation = nullptr; // owned: StartSkin .. StopSkin

constexpr char kDefaultThemeName[] = "Default";

struct TWindowsVersion
{
    bool NT;
    DWORD Major, Minor;
};

TWindowsVersion RunningWindows()
{
    const DWORD version = GetVersion();
    return {(version & 0x80000000u) == 0, LOBYTE(LOWORD(version)), HIBYTE(LOWORD(version))};
}

// Plays no sound once, so that the first real one starts at once.
DWORD WINAPI WarmUpSoundThread(void*)
{
    PlaySoundA(nullptr, nullptr, 0);
    return 0;
}

void StartSoundWarmUp()
{
    if (!SystemIsNT5OrLater())
        return;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 16, WarmUpSoundThread, nullptr, CREATE_SUSPENDED, &id);
    if (!thread)
        return;
    SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    ResumeThread(thread);
    CloseHandle(thread);
}

constexpr bool ModeAvailable(unsigned available, int mode)
{
    return (available >> mode) & 1u;
}

} // namespace

bool SystemIsNT5OrLater()
{
    return IsNTPlatform() && WindowsVersionAtLeast(5, 0);
}

// --- Current theme ------------------------------------------------------------------

TSkinTheme* CurrentTheme()
{
    return gCurrentTheme;
}

AnsiString CurrentThemeName()
{
    return gCurrentTheme ? gCurrentTheme->Name() : AnsiString();
}

void SwitchTheme(const AnsiString& Name)
{
    if (!ThemeIsRegistered(Name))
        return;
    if (gCurrentTheme)
        ReleaseThemeRef(gCurrentTheme);
    gCurrentTheme = AcquireTheme(Name);
    if (gNexus)
        for (WPARAM step = 1; step <= 3; ++step)
            gNexus->Broadcast(step, 1);
}

void ListenThemeChanges(TObject* Obj)
{
    if (gNexus)
        gNexus->Listen(Obj);
}

void UnlistenThemeChanges(TObject* Obj)
{
    if (gNexus)
        gNexus->Unlisten(Obj);
}

// --- TSkinNexus -----------------------------------------------------------------------

TSkinNexus::TSkinNexus(const AnsiString& ThemeName)
{
    gCurrentTheme = AcquireTheme(ThemeName);
    ListenSystemChanges(this);
}

TSkinNexus::~TSkinNexus()
{
    UnlistenSystemChanges(this);
    if (gCurrentTheme)
        ReleaseThemeRef(gCurrentTheme);
}

void TSkinNexus::Dispatch(TMessage& message)
{
    if (message.Msg == WM_SKIN_SYSCHANGE) {
        Broadcast(message.WParam, 0);
        return;
    }
    TObject::Dispatch(message);
}

void TSkinNexus::Listen(TObject* listener)
{
    ListAddUnique(FListeners, listener);
}

void TSkinNexus::Unlisten(TObject* listener)
{
    ListRemove(FListeners, listener);
}

void TSkinNexus::Broadcast(WPARAM wParam, LPARAM lParam)
{
    SendSkinMessageToAll(FListeners, WM_SKIN_THEMECHANGE, wParam, lParam);
}

// --- Popup animation ------------------------------------------------------------------

unsigned AvailableMenuAnimationModes(bool nt, DWORD majorVersion, DWORD minorVersion)
{
    unsigned modes = 1u << 0;
    const bool nt5 = nt && majorVersion >= 5;
    const bool win98 = !nt && (majorVersion > 4 || (majorVersion == 4 && minorVersion >= 10));
    if (nt5 || win98)
        modes |= 0x1Eu; // 1 .. 4
    if (nt5)
        modes |= 1u << 5;
    return modes;
}

int ResolveMenuAnimationMode(int asked, unsigned available, bool systemAnimation)
{
    int mode = std::clamp(asked, 0, 5);
    while (mode > 0 && !ModeAvailable(available, mode))
        --mode;
    if (mode == 1 && !systemAnimation)
        mode = 0;
    return mode;
}

TSkinPopupAnimation PopupAnimationFor(int mode, bool systemAnimation, bool systemFade,
                                      bool fadeAvailable, unsigned random)
{
    switch (mode) {
    case 1:
        if (!systemAnimation)
            return TSkinPopupAnimation::None;
        return systemFade ? TSkinPopupAnimation::Fade : TSkinPopupAnimation::Slide;
    case 2:
        return static_cast<TSkinPopupAnimation>(1 + random % (fadeAvailable ? 3 : 2));
    case 3:
        return TSkinPopupAnimation::Unfold;
    case 4:
        return TSkinPopupAnimation::Slide;
    case 5:
        return TSkinPopupAnimation::Fade;
    }
    return TSkinPopupAnimation::None;
}

TSkinMenuAnimation::TSkinMenuAnimation(int mode)
{
    const TWindowsVersion windows = RunningWindows();
    FAvailable = AvailableMenuAnimationModes(windows.NT, windows.Major, windows.Minor);
    FMode = static_cast<BYTE>(ResolveMenuAnimationMode(mode, FAvailable, MenuAnimationOn()));
}

TSkinPopupAnimation TSkinMenuAnimation::AnimationForPopup() const
{
    return PopupAnimationFor(FMode, MenuAnimationOn(), MenuFadeOn(), ModeAvailable(FAvailable, 5),
                             static_cast<unsigned>(std::rand()));
}

TSkinMenuAnimation* SkinMenuAnimation()
{
    return gMenuAnimation;
}

// --- Questions to windows -------------------------------------------------------------

DWORD AskViewType(TBarView* View)
{
    if (!View || !View->Owner())
        return 0;
    return static_cast<DWORD>(SendSkinMessage(View->Owner(), WM_SKIN_VIEWTYPE, 0, 0).Result);
}

TColor ResolvedColor(TControl* Control)
{
    if (!Control)
        return clBtnFace;
    const TMessage answer = SendSkinMessage(Control, WM_SKIN_EFFECTIVECOLOR, 0, 0);
    if (answer.Result != 0)
        return static_cast<TColor>(answer.WParam);
    return Control->Color();
}

// --- Start and stop -------------------------------------------------------------------

void StartSkin()
{
    StartSoundWarmUp();
    if (!ThemeIsRegistered(kDefaultThemeName))
        AddThemeClass(kDefaultThemeName, NewSkinTheme<TSkinDefaultTheme>);
    if (!gNexus)
        gNexus = new TSkinNexus(kDefaultThemeName);
    if (!gMenuAnimation)
        gMenuAnimation = new TSkinMenuAnimation(1);
}

void StopSkin()
{
    delete gMenuAnimation;
    gMenuAnimation = nullptr;
    delete gNexus;
    gNexus = nullptr;
}
