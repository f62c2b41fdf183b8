#include "cli/SolveCommand.h"

#include "cli/FrontierCommand.h"
#include "cli/SolveOptions.h"
#include "cli/SolveOutput.h"
#include "worksheet/core/DocumentFormat.h"

#include <exception>
#include <ostream>

namespace korvel::cli {
namespace {

// Answers Continue to every solution, as a user pressing "&Continue" would.
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

std::string LoadFailure(doc::LoadError error) {
    if (error == doc::LoadError::CountsOutOfRange)
        return "unexpected file format: row or column count out of range (rows " +
               std::to_string(doc::kMinRows) + " to " + std::to_string(doc::kMaxRows) + ", columns " +
               std::to_string(doc::kMinCols) + " to " + std::to_string(doc::kMaxCols) + ")";
    return "unexpected file format: the file ends early";
}

bool LoadWorksheet(const std::string& path, WorksheetTable& table, std::ostream& err) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!doc::ReadFileBytes(path, bytes, reason)) {
        err << "korvel-solve: " << path << ": " << reason << "\n";
        return false;
    }
    // Tavo opens a zero-byte file as the reset worksheet; so does korvel-solve.
    if (bytes.empty()) {
        table = WorksheetTable();
        return true;
    }
    doc::LoadResult loaded = doc::LoadDocument(bytes);
    if (loaded.error != doc::LoadError::None) {
        err << "korvel-solve: " << path << ": " << LoadFailure(loaded.error) << "\n";
        return false;
    }
    table = std::move(loaded.table);
    return true;
}

int ExitStatus(GoOutcome outcome) {
    switch (outcome) {
    case GoOutcome::Invalid:
    case GoOutcome::NotFinite:
    case GoOutcome::Unsound: return kExitRejected;
    case GoOutcome::PivotLimit: return kExitPivotLimit;
    case GoOutcome::Done:
    case GoOutcome::NoSolution:
    case GoOutcome::Unbounded: break;
    }
    return kExitRan;
}

int Solve(const SolveOptions& options, std::ostream& out, std::ostream& err) {
    WorksheetTable table;
    if (!LoadWorksheet(options.file, table, err)) return kExitUnreadable;
    if (options.frontier) return RunFrontierCommand(options, table, out, err);
    const std::string minReturn = options.minReturn.value_or(table.minReturnText);

    SolveRun run;
    SolutionRecord record;
    CollectingPresenter presenter(run.solutions);
    run.go = RunGo(minReturn, table, record, presenter);

    const int status = ExitStatus(run.go.outcome);
    if (options.json) {
        out << FormatJson(run);
    } else {
        out << FormatText(run);
        if (status != kExitRan) err << "korvel-solve: " << run.go.message << "\n";
    }
    return status;
}

}  // namespace

int RunSolveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SolveOptions options;
    std::string error;
    if (!ParseSolveArguments(args, options, error)) {
        err << "korvel-solve: " << error << "\n" << kSolveUsageLine;
        return kExitUnreadable;
    }
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

}  // namespace korvel::cli
