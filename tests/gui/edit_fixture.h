#pragma once
// The real worksheet form with a named, filled worksheet, and the message-box
// seam that records each question and answers it.
#include "support/FormControls.h"
#include "support/GridTestSupport.h"
#include "support/MessageBoxRecorder.h"

#include "gui/framework/MessageBox.h"
#include "gui/worksheet/CellEdit.h"
#include "gui/worksheet/FieldText.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QLineEdit>
#include <string>
#include <vector>

namespace edit_test {

// Answers every question alike and keeps what was asked.
class AnsweredQuestions : public korvel::test::MessageBoxRecorder {
public:
    explicit AnsweredQuestions(int answer = korvel::IDYES) : MessageBoxRecorder(answer) {}

    const std::vector<korvel::MessageBoxRequest>& asked = requests;
};

// Cell (row, col) of share `row`: name "S<row>", returns "<row>.<period>".
inline std::string NameOf(int32_t row)
{
    return "S" + std::to_string(row);
}
inline std::string ReturnOf(int32_t row, int32_t period)
{
    return std::to_string(row) + "." + std::to_string(period);
}

struct Form {
    CTavoDoc doc;
    CTavoView view{&doc};
    const CMSFlexGrid& grid = view.Grid();

    Form(int shares, int periods)
    {
        if (!view.Create())
            qFatal("the grid control cannot be created");
        view.resize(900, 600);
        view.OnInitialUpdate();
        korvel::test::PeriodsBox(view)->setText(QString::number(periods));
        korvel::test::AssetsBox(view)->setText(QString::number(shares));
        for (int32_t row = 1; row <= shares; ++row) {
            view.SetCellBytes(row, 1, NameOf(row));
            for (int32_t period = 1; period <= periods; ++period)
                view.SetCellBytes(row, period + 1, ReturnOf(row, period));
        }
        doc.SetModifiedFlag(false);
    }

    // Makes (row, col) current, as the arrow keys or a click would. A cell
    // that is current already fires no event, so the box is loaded here too.
    void MoveTo(int32_t row, int32_t col)
    {
        view.MakeCurrent(row, col);
        view.LoadCellEdit();
    }

    // Columns 0..Cols-1 of a row.
    std::vector<std::string> Row(int32_t row) const
    {
        std::vector<std::string> cells;
        for (int32_t col = 0; col < grid.GetCols(); ++col)
            cells.push_back(grid.GetTextMatrix(row, col));
        return cells;
    }

    std::vector<std::string> ShareRow(int32_t number, int32_t shownAt, int periods) const
    {
        std::vector<std::string> cells{std::to_string(shownAt), NameOf(number)};
        for (int32_t period = 1; period <= periods; ++period)
            cells.push_back(ReturnOf(number, period));
        return cells;
    }
};

}  // namespace edit_test
