// The row editor's commit, renumbering, the view update after a command and
// start-up, on lists up to the limit of 32,765 tags. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_table
#include "FakeDesktop.h"
#include "OwnSettings.h"
#include "app/widgets/Huvudbild.h"
#include "document/TableRoutines.h"
#include "edit/RowEditor.h"
#include "table/widgets/GridView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <memory>

namespace {
void fill(Document &doc, int tags)
{
    TagGrid &g = doc.grid;
    g.setRows(tags + 2);
    for (int r = 1; r <= tags; ++r) {
        g.setTextAt(r, 1, QStringLiteral("Pump %1 källare").arg(r));
        g.setTextAt(r, 2, QStringLiteral("Ventil V-%1").arg(r % 977));
        g.setTextAt(r, 3, QString::number(1 + r % 40));
    }
    g.setRow(tags + 1);
    NumreraRader(doc);
    MarkeraRader(doc);
    HamtaRad(doc);
}

// A commit into the entry row, its step recorded, then the list put back as
// it was outside the timing, so every iteration commits into a list of the
// same size. The steps pile up to the history's bound, so the timing includes
// dropping the oldest, as it does after a long session.
void BM_CommitIntoEntryRow(benchmark::State &state)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(11);
    fill(t.doc, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        t.fields.set(QStringLiteral("Pump 9"), QStringLiteral("Källare"), QStringLiteral("12"));
        cmdUppdatera_Click(t.doc);
        state.PauseTiming();
        if (!t.doc.history.canUndo())
            state.SkipWithError("no step recorded");
        TagGrid &g = t.doc.grid;
        g.setRows(g.rows() - 1);
        g.setRow(g.rows() - 1);
        for (int c = 1; c <= 3; ++c)
            g.setTextAt(g.rows() - 1, c, QString());
        state.ResumeTiming();
    }
    state.counters["history_steps"] = t.doc.history.steps();
}
BENCHMARK(BM_CommitIntoEntryRow)->Arg(10)->Arg(1000)->Arg(kMaxTags - 1)->Unit(benchmark::kMicrosecond);

void BM_NumreraRader(benchmark::State &state)
{
    TestDoc t;
    fill(t.doc, static_cast<int>(state.range(0)));
    for (auto _ : state)
        NumreraRader(t.doc);
}
BENCHMARK(BM_NumreraRader)->Arg(kMaxTags)->Unit(benchmark::kMillisecond);

// What the window does after every command at the limit: one update of the
// view for the whole change.
void BM_ViewUpdateAfterCommit(benchmark::State &state)
{
    Huvudbild w;
    w.show();
    fill(w.document(), kMaxTags - 1);
    w.refreshView();
    QApplication::processEvents();
    for (auto _ : state) {
        w.txtRad1()->setText(QStringLiteral("Pump 9"));
        w.txtAntal()->setText(QStringLiteral("3"));
        w.cmdUppdatera()->click();
        QApplication::processEvents(); // paint
        state.PauseTiming();
        TagGrid &g = w.document().grid;
        g.setRows(g.rows() - 1);
        g.setRow(g.rows() - 1);
        for (int c = 1; c <= 3; ++c)
            g.setTextAt(g.rows() - 1, c, QString());
        w.refreshView();
        state.ResumeTiming();
    }
    w.document().markSaved();
}
BENCHMARK(BM_ViewUpdateAfterCommit)->Unit(benchmark::kMillisecond);

// A typed text of 100,000 characters: committed, shown and painted.
void BM_HugeTextCommit(benchmark::State &state)
{
    const QString big(100000, QLatin1Char('W'));
    for (auto _ : state) {
        Huvudbild w;
        w.show();
        w.txtRad1()->setText(big);
        w.txtAntal()->setText(QStringLiteral("1"));
        w.cmdUppdatera()->click();
        w.grid()->viewport()->repaint();
        QApplication::processEvents();
        w.document().markSaved();
    }
}
BENCHMARK(BM_HugeTextCommit)->Unit(benchmark::kMillisecond)->Iterations(5);

// A keyboard move of the cursor at the limit, through the window as the user
// makes it: the key, the move (row selected, loaded, shown), one view update
// and the paint. Down and Up in turn, so every iteration moves.
void BM_KeyboardMove(benchmark::State &state)
{
    Huvudbild w;
    w.show();
    fill(w.document(), kMaxTags);
    w.document().grid.setRow(kMaxTags / 2);
    MarkeraRader(w.document());
    w.refreshView();
    w.grid()->setFocus();
    QApplication::processEvents();
    bool down = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(w.grid(), &press);
        w.grid()->viewport()->repaint();
        down = !down;
    }
    w.document().markSaved();
}
BENCHMARK(BM_KeyboardMove)->Unit(benchmark::kMicrosecond);

// The routine the view calls, at its worst: Ctrl+End from the top scrolls
// through the whole list, Ctrl+Home back.
void BM_KeyboardMoveRoutine(benchmark::State &state)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(11);
    fill(t.doc, kMaxTags);
    bool down = true;
    for (auto _ : state) {
        tableKeyPress(t.doc, down ? TableKey::Last : TableKey::First, false);
        down = !down;
    }
}
BENCHMARK(BM_KeyboardMoveRoutine)->Unit(benchmark::kMicrosecond);

void BM_StartUp(benchmark::State &state)
{
    for (auto _ : state) {
        Huvudbild w;
        w.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(10);

#ifdef __GLIBC__
// Heap in use for a full list beyond an empty one (reported, not timed; the
// figure comes from the GNU C library's allocator).
void BM_MemoryFullList(benchmark::State &state)
{
    for (auto _ : state) {
        malloc_trim(0);
        const size_t before = mallinfo2().uordblks;
        {
            auto t = std::make_unique<TestDoc>();
            fill(t->doc, kMaxTags);
            state.counters["MB_above_empty"] = double(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
        }
    }
}
BENCHMARK(BM_MemoryFullList)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Huvudbild::installApplicationSettings(app);
    useOwnSettings(); // the windows made here leave the user's settings alone
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
