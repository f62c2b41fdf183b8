#include "programs/cli/SolveCommand.h"

#include "programs/cli/DataInput.h"
#include "programs/cli/FrontierCommand.h"
#include "programs/cli/SolveOptions.h"
#include "programs/cli/SolveOutput.h"

#include <exception>
#include <ostream>

namespace korvel::cli {
namespace {

// Answers Continue to every solution, as a user pressing "&Continue" would.
// Every record reaching it has passed the optimizer's check against the data.
class CollectingPresenter : public SolutionPresenter {
public:
    explicit CollectingPresenter(std::vector<SolutionRecord>& records) : m_records(records) {}
    PresenterAnswer Present(const SolutionRecord& record) override {
        m_records.push_back(record);
        return PresenterAnswer::Continue;
    }

private:
    std::vector<SolutionRecord>& m_records;
};

int ExitStatus(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::Invalid:
    case GoOutcome::NotFinite:
        return kExitRejected;
    case GoOutcome::Unsound:
        return kExitUnsound;
    case GoOutcome::PivotLimit:
        return kExitPivotLimit;
    case GoOutcome::Done:
    case GoOutcome::NoSolution:
    case GoOutcome::Unbounded:
        break;
    }
    return kExitRan;
}

// What the Go command's own message leaves out: what is within reach, or
// what a Min Return looks like.
std::string GoNote(const GoResult& go, const WorksheetTable& table) {
    if (go.outcome == GoOutcome::NoSolution)
        return BestShareNote(table);
    if (go.outcome == GoOutcome::Invalid && go.message == "MinReturn not valid !")
        return kMinReturnForms;
    return "";
}

int Solve(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    WorksheetTable table;
    switch (LoadInput("korvel-solve", options.file, options.input, text::kLargeLimits, table, err)) {
    case InputStatus::Rejected:
        return kExitRejected;
    case InputStatus::Unreadable:
        return kExitUnreadable;
    case InputStatus::Loaded:
        break;
    }
    if (options.frontier)
        return RunFrontierCommand(options, table, out, err);
    const std::string minReturn = options.minReturn.value_or(table.minReturnText);

    SolveRun run;
    SolutionRecord record;
    CollectingPresenter presenter(run.solutions);
    run.go = RunGo(minReturn, table, record, presenter);

    const int status = ExitStatus(run.go.outcome);
    if (options.json) {
        out << FormatJson(run);
    } else if (options.csv) {
        // Standard output stays CSV only; a closing message goes with the reasons.
        out << FormatCsv(run);
        if (!run.go.message.empty())
            err << "korvel-solve: " << run.go.message << "\n";
    } else {
        out << FormatText(run);
        if (status != kExitRan)
            err << "korvel-solve: " << run.go.message << "\n";
    }
    if (const std::string note = GoNote(run.go, table); !note.empty())
        err << "korvel-solve: " << note << "\n";
    return status;
}

}  // namespace

int RunSolveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    if (options.help) {
        out << kSolveUsage;
        return kExitRan;
    }
    try {
        return Solve(options, out, err);
    } catch (const std::exception& e) {
        err << "korvel-solve: " << e.what() << "\n";
        return kExitUnreadable;
    }
}

int RunSolveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SolveOptions options;
    std::string error;
    if (!ParseSolveArguments(args, options, error))
        return ReportSolveUsageError(error, err);
    return RunSolveCommand(options, out, err);
}

}  // namespace korvel::cli
