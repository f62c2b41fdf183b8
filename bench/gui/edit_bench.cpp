// Insert share and Delete Period on the largest worksheets, on the real form
// and main window (offscreen).
#include "support/FormControls.h"
#include "support/GridTestSupport.h"

#include "gui/app/MainFrame.h"
#include "gui/app/TavoApp.h"
#include "gui/framework/MessageBox.h"
#include "gui/worksheet/TavoDoc.h"
#include "gui/worksheet/TavoView.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <string>

namespace {

CTavoApp* g_app = nullptr;

CTavoView& View() {
    return *g_app->MainFrame()->GetActiveView();
}

// shares x periods of distinct texts, the current cell in row 1.
void FillWorksheet(int shares, int periods) {
    CTavoView& view = View();
    korvel::test::PeriodsBox(view)->setText(QString::number(periods));
    korvel::test::AssetsBox(view)->setText(QString::number(shares));
    for (int32_t row = 1; row <= shares; ++row) {
        view.SetCellBytes(row, 1, "Share " + std::to_string(row));
        for (int32_t period = 1; period <= periods; ++period)
            view.SetCellBytes(row, period + 1, std::to_string(row) + "." + std::to_string(period));
    }
    view.MakeCurrent(1, 2);
    // The refill's own repaint is not the command's.
    QCoreApplication::processEvents();
}

// The command's time as the user sees it: the command, then the repaint it asked for.
void FinishRepaint() {
    QCoreApplication::processEvents();
}

void BM_InsertShareInRow1Of999x10(benchmark::State& state) {
    FillWorksheet(999, 10);
    CTavoView& view = View();
    for (auto _ : state) {
        view.OnInsertShare();
        FinishRepaint();
        state.PauseTiming();
        if (view.Grid().GetRows() != 1001)
            state.SkipWithError("Insert share did not add a row");
        // Back to 999 shares: the blank row goes, the others move up again.
        FillWorksheet(999, 10);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertShareInRow1Of999x10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DeletePeriodOn1000x10(benchmark::State& state) {
    FillWorksheet(1000, 10);
    CMainFrame& frame = *g_app->MainFrame();
    for (auto _ : state) {
        frame.OnDeletePeriod();
        FinishRepaint();
        state.PauseTiming();
        FillWorksheet(1000, 10);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeletePeriodOn1000x10)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    korvel::test::IsolatedHome home;
    korvel::test::UseOffscreenPlatformByDefault();
    QApplication qtApp(argc, argv);
    korvel::SetMessageBoxPresenter([](const korvel::MessageBoxRequest&) { return int(korvel::IDYES); });
    CTavoApp app;
    app.SetExecutableDir(korvel::test::GridControlModulePath().section(QLatin1Char('/'), 0, -2));
    if (!app.InitInstance({}))
        return 1;
    g_app = &app;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_app = nullptr;
    return 0;
}
