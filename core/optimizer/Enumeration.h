#pragma once
#include "core/optimizer/DataScale.h"
#include "core/optimizer/SolutionRecord.h"
#include "core/optimizer/Tableau.h"
#include "core/text/CellSource.h"

namespace korvel {

enum class PresenterAnswer { Continue, Enough };

// Shows one solution (the Single solution dialog, or a batch printer) and says
// whether the walk goes on. Whatever it throws passes through the enumeration.
class SolutionPresenter {
public:
    virtual ~SolutionPresenter() = default;
    virtual PresenterAnswer Present(const SolutionRecord& record) = 0;
};

inline constexpr const char* kMsgNoSolution = "No solution";             // infeasible optimum
inline constexpr const char* kMsgNoSolutionUnbounded = "No solution !";  // unbounded problem

enum class EnumerationOutcome {
    Finished,    // the walk passed every share column
    Stopped,     // the presenter answered Enough
    NoSolution,  // an artificial variable is basic above 1e-10: "No solution"
    NotFinite,   // a walk pivot overflowed: the tableau holds an infinity or NaN
    Unsound,     // the basis to be shown failed its check against the worksheet, or is not optimal
};

inline constexpr const char* kMsgUnsound =
    "The optimizer's result does not hold against the worksheet's numbers, so no portfolio is shown.";

struct EnumerationResult {
    EnumerationOutcome outcome = EnumerationOutcome::Finished;
    int solutionsShown = 0;
    int walkPivots = 0;
};

// Reports the optimal basis the engine left, then walks the share columns once
// for alternative optima with a rising average return. The walk makes at most
// one pivot per share column, so it needs no pivot bound of its own.
// cells must be the worksheet the tableau was built from (names are read from
// it), returns its returns as validation read them (each basis is checked
// against them before it is shown), and scale the one the tableau was built
// with; the records hold the worksheet's figures.
EnumerationResult EnumerateSolutions(Tableau& tableau, const CellSource& cells, const ShareReturns& returns,
                                     double minReturn, SolutionRecord& record, SolutionPresenter& presenter,
                                     const TableauScale& scale = {});
// The same, reading the returns from cells that passed validation.
EnumerationResult EnumerateSolutions(Tableau& tableau, const CellSource& cells, double minReturn,
                                     SolutionRecord& record, SolutionPresenter& presenter,
                                     const TableauScale& scale = {});

}  // namespace korvel
