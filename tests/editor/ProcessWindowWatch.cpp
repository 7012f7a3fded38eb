#include "ProcessWindowWatch.h"

#include "classlib/Application.h"
#include "classlib/Screen.h"

namespace testing_support {

TForm4* FindProcessWindow()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* window = dynamic_cast<TForm4*>(Screen->Forms(i)))
            return window;
    return nullptr;
}

ProcessWindowWatch::ProcessWindowWatch(std::function<void(TForm4&)> look) : FLook(std::move(look))
{
    Application->OnMessage = [this](MSG&, bool&) {
        if (TForm4* window = FindProcessWindow())
            FLook(*window);
    };
    FTimer = SetTimer(nullptr, 0, 10, nullptr);
}

ProcessWindowWatch::~ProcessWindowWatch()
{
    KillTimer(nullptr, FTimer);
    Application->OnMessage.Clear();
}

} // namespace testing_support
