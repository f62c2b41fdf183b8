// The grid's share of each user action on a full worksheet (1001 rows by 12
// columns, as Assets 1000 and Periods 10 make it), on the offscreen platform.
#include "gui/grid/MSFlexGrid.h"
#include "support/GridTestSupport.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 1001;
constexpr int kCols = 12;

struct Worksheet {
    QWidget parent;
    CMSFlexGrid grid;

    Worksheet() {
        parent.resize(800, 600);
        if (!grid.Create(&parent, QRect(0, 0, 800, 600)))
            qFatal("the grid control could not be created");
        grid.SetRows(kRows);
        grid.SetCols(kCols);
        grid.SetColWidth(0, 500);
        // The worksheet's own colouring of the current cell.
        QObject::connect(&grid, &CMSFlexGrid::LeaveCell, &grid, [this] { grid.SetCurrentCellColor(0xFFFFFF); });
        QObject::connect(&grid, &CMSFlexGrid::RowColChange, &grid, [this] { grid.SetCurrentCellColor(0xC0FFFF); });
        Fill();
        parent.show();
        QApplication::processEvents();
    }

    void Fill() {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid.SetTextMatrix(r, c, r == 0 || c == 0 ? std::to_string(r) : "0.0" + std::to_string(r % 97));
    }

    QAbstractScrollArea* Area() { return qobject_cast<QAbstractScrollArea*>(grid.Widget()); }
    void Repaint() { Area()->viewport()->repaint(); }
};

void BM_FillTexts(benchmark::State& state) {
    Worksheet sheet;
    for (auto _ : state)
        sheet.Fill();
    state.counters["cells"] = kRows * kCols;
}
BENCHMARK(BM_FillTexts)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
    Worksheet sheet;
    for (auto _ : state)
        sheet.Repaint();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_ScrollStep(benchmark::State& state) {
    Worksheet sheet;
    QScrollBar* bar = sheet.Area()->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() < bar->maximum() ? bar->value() + 1 : 0);
        sheet.Repaint();
    }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

// A far jump: SetRow fires the cell events, recolours two cells and scrolls
// the new current cell into view.
void BM_SetRowScrollIntoView(benchmark::State& state) {
    Worksheet sheet;
    bool far = false;
    for (auto _ : state) {
        far = !far;
        sheet.grid.SetRow(far ? kRows - 1 : 1);
        sheet.Repaint();
    }
}
BENCHMARK(BM_SetRowScrollIntoView)->Unit(benchmark::kMillisecond);

// One Assets step at 1000 shares: the grid loses and regains its last row.
void BM_SetRowsStep(benchmark::State& state) {
    Worksheet sheet;
    bool shrink = false;
    for (auto _ : state) {
        shrink = !shrink;
        sheet.grid.SetRows(shrink ? kRows - 1 : kRows);
        sheet.Repaint();
    }
}
BENCHMARK(BM_SetRowsStep)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    korvel::test::IsolatedHome home;
    korvel::test::UseOffscreenPlatformByDefault();
    QApplication app(argc, argv);
    if (!korvel::test::RegisterGridControlForTests())
        qFatal("the grid control could not be registered");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
