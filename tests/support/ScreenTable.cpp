#include "ScreenTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <set>
#include <windows.h>

namespace testing_support {

namespace {

std::string ScreensFolder()
{
    const char* folder = std::getenv("ZANDREL_SCREENS");
    if (!folder || !*folder)
        return "";
    CreateDirectoryA(folder, nullptr);
    return folder;
}

std::string PngNameOf(const std::string& row)
{
    std::string name;
    for (char c : row)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    return name + ".png";
}

const KnownScreenFailure* KnownFor(const std::vector<KnownScreenFailure>& known,
                                   const std::string& row, const ScreenFinding& finding)
{
    for (const KnownScreenFailure& k : known)
        if (k.Row == row && k.Rule == finding.Rule &&
            (k.Control.empty() || k.Control == finding.Control))
            return &k;
    return nullptr;
}

} // namespace

void RunScreenTable(const std::vector<ScreenRow>& rows,
                    const std::vector<KnownScreenFailure>& known,
                    const std::function<void()>& afterRow)
{
    const std::string screens = ScreensFolder();
    std::set<const KnownScreenFailure*> seen;
    for (const ScreenRow& row : rows) {
        SCOPED_TRACE(row.Name);
        int looks = 0;
        const ScreenLook look = [&](ScreenCheckInput input) {
            ++looks;
            input.Design = row.Design;
            if (!screens.empty())
                input.PngPath = screens + "/" + PngNameOf(row.Name);
            for (const ScreenFinding& finding : CheckScreen(input)) {
                const std::string text = row.Name + ": " + finding.Control + " breaks " +
                                         finding.Rule + ": " + finding.Detail;
                if (const KnownScreenFailure* k = KnownFor(known, row.Name, finding)) {
                    seen.insert(k);
                    std::cout << "[ KNOWN    ] " << text << " (" << k->Reason << ")\n";
                } else {
                    ADD_FAILURE() << text;
                }
            }
        };
        row.Show(look);
        EXPECT_GT(looks, 0) << row.Name << ": the window never showed";
        afterRow();
    }
    for (const KnownScreenFailure& k : known)
        if (!seen.count(&k))
            ADD_FAILURE() << k.Row << ": " << (k.Control.empty() ? "every control" : k.Control)
                          << " keeps " << k.Rule << " now: remove its known failure";
}

} // namespace testing_support
