#pragma once
// Worksheets and presenters shared by the optimizer tests.
#include "core/optimizer/Enumeration.h"
#include "core/worksheet/WorksheetTable.h"

#include <string>
#include <vector>

namespace korvel::testing {

// One row of texts per share; shares are named "S1", "S2", ... unless given.
inline WorksheetTable MakeSheet(const std::vector<std::vector<std::string>>& returns,
                                const std::vector<std::string>& names = {}) {
    const int32_t periods = returns.empty() ? 3 : static_cast<int32_t>(returns[0].size());
    WorksheetTable sheet(static_cast<int32_t>(returns.size()) + 1, periods + 2);
    for (size_t i = 0; i < returns.size(); ++i) {
        const int32_t row = static_cast<int32_t>(i) + 1;
        sheet.SetTextMatrix(row, 1, i < names.size() ? names[i] : "S" + std::to_string(row));
        for (size_t p = 0; p < returns[i].size(); ++p)
            sheet.SetTextMatrix(row, static_cast<int32_t>(p) + 2, returns[i][p]);
    }
    return sheet;
}

// Keeps a copy of every record shown and answers Enough after `limit` of them.
class RecordingPresenter : public SolutionPresenter {
public:
    explicit RecordingPresenter(int limit = -1) : m_limit(limit) {}
    PresenterAnswer Present(const SolutionRecord& record) override {
        shown.push_back(record);
        return static_cast<int>(shown.size()) == m_limit ? PresenterAnswer::Enough : PresenterAnswer::Continue;
    }
    std::vector<SolutionRecord> shown;

private:
    int m_limit;
};

}  // namespace korvel::testing
