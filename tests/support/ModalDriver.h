// Answers the modal forms a test expects. ShowModal calls the modal seam
// once the form shows, inside its loop; each answer in turn gets the form
// once the queue is handled and the loop has idled, as a user meets it (it
// may post keys, read or change controls) and returns the modal result,
// or mrNone when it closed the form some other way (a click it posted).
// A modal form beyond the script fails the test and is cancelled.
#pragma once

#include "classlib/Form.h"

#include <deque>
#include <functional>
#include <vector>

namespace testing_support {

class ScriptedModalForms
{
public:
    using Answer = std::function<TModalResult(TCustomForm*)>;

    ScriptedModalForms() : ScriptedModalForms(std::vector<Answer>{}) {}
    explicit ScriptedModalForms(std::vector<Answer> answers);
    ~ScriptedModalForms();

    void Add(Answer answer) { FAnswers.push_back(std::move(answer)); }
    void Add(TModalResult result);
    // The class names of the forms shown, in order.
    const std::vector<AnsiString>& Shown() const { return FShown; }

private:
    std::deque<Answer> FAnswers;
    std::vector<AnsiString> FShown;
    std::function<void(TObject*)> FPrevious;
};

// The strict answer installed before every test: fails and cancels.
void FailUnexpectedModalForm(TObject* form);

} // namespace testing_support
