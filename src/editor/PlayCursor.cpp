#include "PlayCursor.h"

#include "TimeText.h"

#include <algorithm>
#include <cmath>

namespace {

std::int64_t CursorViewWidth(const TWaveViewState& view)
{
    return static_cast<std::int64_t>(view.ViewEnd) - view.ViewStart;
}

std::int64_t CursorRounded(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int32_t CursorClamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

double CursorSeconds(const TViewDocument& doc, std::int64_t samples)
{
    return doc.Rate ? static_cast<double>(samples) / doc.Rate : 0.0;
}

} // namespace

TCursorPlace PlaceCursor(const TWaveViewState& view, const TViewDocument& doc, std::int64_t sample)
{
    const std::int32_t s =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(sample, 0, std::max(0, doc.Length)));
    if (!view.HasSelection)
        return {s, TCursorHold::None};
    if (s <= view.SelStart)
        return {view.SelStart, TCursorHold::SelectionStart};
    if (s >= view.SelEnd)
        return {view.SelEnd, TCursorHold::SelectionEnd};
    return {s, TCursorHold::None};
}

std::optional<std::int32_t> ChaseStart(const TWaveViewState& view, const TViewDocument& doc)
{
    if (!IsSampleVisible(view, doc, view.PlayPos))
        return CentredStart(view, view.PlayPos);
    const std::int64_t w = CursorViewWidth(view);
    const bool nearTheEdge = view.PlayPos > view.ViewEnd - CursorRounded(0.1 * w);
    if (nearTheEdge && view.ViewEnd < doc.Length)
        return CursorClamp32(view.ViewEnd - CursorRounded(0.2 * w));
    return std::nullopt;
}

std::int32_t CoarseCursorStep(const TWaveViewState& view)
{
    return CursorClamp32(CursorViewWidth(view) / 20);
}

AnsiString PlayTimeText(const TViewDocument& doc, std::int32_t position)
{
    return FormatTime(CursorSeconds(doc, position)) + " / " +
           FormatTime(CursorSeconds(doc, doc.Length));
}

AnsiString SelectionLabelText(const TViewDocument& doc, std::int32_t start, std::int32_t end)
{
    return FormatTime(CursorSeconds(doc, std::int64_t(end) - start)) + " [ " +
           FormatTime(CursorSeconds(doc, start)) + " - " + FormatTime(CursorSeconds(doc, end)) +
           " ]";
}
