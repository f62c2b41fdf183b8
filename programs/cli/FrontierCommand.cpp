#include "programs/cli/FrontierCommand.h"

#include "core/optimizer/Validation.h"
#include "core/text/NumberText.h"
#include "programs/cli/DataInput.h"
#include "programs/cli/FrontierOutput.h"
#include "programs/cli/FrontierPicture.h"
#include "programs/cli/MeasureSetup.h"
#include "programs/cli/SolveCommand.h"

#include <ostream>

namespace korvel::cli {
namespace {

int ExitStatus(FrontierOutcome outcome) {
    switch (outcome) {
    case FrontierOutcome::Done:
        return kExitRan;
    case FrontierOutcome::Invalid:
        return kExitRejected;
    case FrontierOutcome::NoSolution:
        return kExitRan;
    case FrontierOutcome::CheckFailed:
        return kExitUnsound;
    case FrontierOutcome::PivotLimit:
        return kExitPivotLimit;
    }
    return kExitRejected;
}

bool Draw(const FrontierRun& run, const ShareReturns& returns, const SolveOptions& options, std::ostream& err) {
    const std::string& path = options.plot;
    const FrontierPainter painter = CurrentFrontierPainter();
    if (!painter) {
        err << "korvel-solve: --plot needs korvel-solve-plot, installed next to korvel-solve\n";
        return false;
    }
    std::string error;
    if (painter(MakeFrontierPicture(run.frontier, returns, run.frame.tickers, PictureUnit(options.input.text),
                                    options.measure),
                path, PictureKindOf(path), error))
        return true;
    err << "korvel-solve: " << path << ": " << error << "\n";
    return false;
}

}  // namespace

int RunFrontierCommand(const SolveOptions& options, const InputReturns& input, const text::TextDetails& details,
                       const WeightBounds& bounds, std::ostream& out, std::ostream& err) {
    FrontierRun run;
    const ShareReturns& returns = input.returns;
    std::string message;
    FrontierRequest request;
    // Any finite Min Return starts the frontier: Go's reading, less its rule
    // that the bound be positive, which a falling market's frontier breaks.
    if (options.minReturn && !text::ReadsAsWorksheetNumber(*options.minReturn, request.from)) {
        run.frontier.outcome = FrontierOutcome::Invalid;
        run.frontier.message = kMsgMinReturnNotValid;
    } else if (ReturnsAreNumbers(returns, message)) {
        run.frontier = SolveFrontier(options, returns, bounds, request);
    } else {
        run.frontier.outcome = FrontierOutcome::Invalid;
        run.frontier.message = message;
    }
    run.frame = FrameOf(input.names, details.dates);
    run.frame.riskMeasure = PrintedMeasure(options);

    const int status = ExitStatus(run.frontier.outcome);
    if (options.json) {
        out << FormatFrontierJson(run);
    } else {
        const CsvForm form = options.wide ? CsvForm::Wide : CsvForm::Long;
        if (options.csv)
            PrintFrontierCsv(out, run, form);
        else
            out << FormatFrontierText(run);
        // "No solution" closes the text as Go's does; CSV keeps standard output CSV only.
        if (run.frontier.outcome == FrontierOutcome::NoSolution && !options.csv)
            out << run.frontier.message << "\n";
        else if (!run.frontier.message.empty())
            err << "korvel-solve: " << run.frontier.message << "\n";
    }
    if (status == kExitRan && !options.plot.empty() && !Draw(run, returns, options, err))
        return kExitUnreadable;
    return status;
}

}  // namespace korvel::cli
