#include "support/ModalDriver.h"

#include "support/WindowDriver.h"

#include "classlib/Seams.h"

#include <gtest/gtest.h>

namespace testing_support {

void FailUnexpectedModalForm(TObject* form)
{
    ADD_FAILURE() << "unexpected modal form: " << (form ? form->ClassName() : AnsiString("?"));
    if (auto* custom = dynamic_cast<TCustomForm*>(form))
        custom->SetModalResult(mrCancel);
}

ScriptedModalForms::ScriptedModalForms(std::vector<Answer> answers)
    : FAnswers(answers.begin(), answers.end()), FPrevious(Seams().ModalShown)
{
    Seams().ModalShown = [this](TObject* shown) {
        auto* form = dynamic_cast<TCustomForm*>(shown);
        FShown.push_back(shown ? shown->ClassName() : AnsiString("?"));
        if (!form || FAnswers.empty()) {
            FailUnexpectedModalForm(shown);
            return;
        }
        Answer answer = std::move(FAnswers.front());
        FAnswers.pop_front();
        // A user answers a window that has shown, painted and idled.
        PumpMessages();
        TModalResult result = answer(form);
        if (result != mrNone)
            form->SetModalResult(result);
    };
}

ScriptedModalForms::~ScriptedModalForms()
{
    Seams().ModalShown = FPrevious;
}

void ScriptedModalForms::Add(TModalResult result)
{
    Add([result](TCustomForm*) { return result; });
}

} // namespace testing_support
