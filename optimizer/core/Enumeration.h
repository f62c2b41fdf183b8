#pragma once
#include "optimizer/core/SolutionRecord.h"
#include "optimizer/core/Tableau.h"
#include "worksheet/core/CellSource.h"

namespace korvel {

enum class PresenterAnswer { Continue, Enough };

// Shows one solution (the Single solution dialog, or a batch printer) and says
// whether the walk goes on.
class SolutionPresenter {
public:
    virtual ~SolutionPresenter() = default;
    virtual PresenterAnswer Present(const SolutionRecord& record) = 0;
};

inline constexpr const char* kMsgNoSolution = "No solution";          // infeasible optimum
inline constexpr const char* kMsgNoSolutionUnbounded = "No solution !"; // unbounded problem

enum class EnumerationOutcome { Finished, Stopped, NoSolution };

// Reports the optimal basis the engine left, then walks the share columns once
// for alternative optima with a rising average return.
EnumerationOutcome EnumerateSolutions(Tableau& tableau, const CellSource& cells, double minReturn,
                                      SolutionRecord& record, SolutionPresenter& presenter);

}  // namespace korvel
