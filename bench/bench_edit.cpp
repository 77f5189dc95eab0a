// The row commands on a list at its limit of 32,765 tags, and Paste of the
// longest text a cell may hold.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "document/TableRoutines.h"
#include "edit/FindReplace.h"
#include "edit/RowCommands.h"
#include "edit/RowText.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#define TAGGVERK_HAVE_RUSAGE 1
#endif

namespace {

constexpr int kVisibleRows = 30; // about what the window shows

std::unique_ptr<TestDoc> fullList(int tags)
{
    auto t = std::make_unique<TestDoc>();
    TagGrid &g = t->doc.grid;
    g.setVisibleRowCount(kVisibleRows);
    g.setRows(tags + 2);
    for (int r = 1; r <= tags; ++r) {
        g.setTextAt(r, 1, QStringLiteral("Bricka nummer %1").arg(r));
        g.setTextAt(r, 2, QStringLiteral("Avdelning %1").arg(r % 97));
        g.setTextAt(r, 3, QString::number(r % 50 + 1));
    }
    g.setRow(tags + 1);
    NumreraRader(t->doc);
    MarkeraRader(t->doc);
    HamtaRad(t->doc);
    return t;
}

void selectRows(TestDoc &t, int row, int rowSel)
{
    t.doc.grid.setRow(row);
    MarkeraRader(t.doc);
    t.doc.grid.setRowSel(rowSel);
}

// The benchmark runs on one thread, so the process's CPU time is the thread's.
double cpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Wall time of f, the measured figure; the thread's CPU time of f is added to
// the "cpu_ms" counter, since the build machine is shared and wall time then
// includes waiting for a core.
template <typename F> double seconds(benchmark::State &state, F &&f)
{
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    f();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["cpu_ms"] += (cpuSeconds() - cpuStart) * 1e3;
    return wall;
}

void averageCpu(benchmark::State &state)
{
    if (state.iterations() > 0)
        state.counters["cpu_ms"] /= static_cast<double>(state.iterations());
}

// Peak resident memory of the process in KiB, where the system reports it.
long peakKib()
{
#ifdef TAGGVERK_HAVE_RUSAGE
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
#ifdef __APPLE__
    return u.ru_maxrss / 1024;
#else
    return u.ru_maxrss;
#endif
#else
    return 0;
#endif
}

// One line whose first text is the longest a cell may hold. Registered
// first, so that the growth of the process's peak memory is this paste's
// (with the clipboard text of 128 KiB).
void BM_PasteLongestLine(benchmark::State &state)
{
    // Taken on the first run only: later runs find the peak already reached.
    static const long peakBefore = peakKib();
    const QString text = QString(kMaxTextLength, QLatin1Char('x')) + QStringLiteral("\tKällare\t1\n");
    for (auto _ : state) {
        TestDoc t;
        t.doc.grid.setVisibleRowCount(kVisibleRows);
        t.desktop.clipboard = text;
        state.SetIterationTime(seconds(state, [&] { runCommand(t.doc, Command::Paste); }));
        if (t.doc.grid.rows() != 3 || t.doc.grid.textAt(1, 1).size() != kMaxTextLength)
            state.SkipWithError("line not pasted");
    }
    state.counters["peak_kib"] = static_cast<double>(peakKib() - peakBefore);
    averageCpu(state);
}

// A line of 20 million characters is left out with a warning, without
// copying it and in time linear in its length.
void BM_PasteHugeLine(benchmark::State &state)
{
    const QString text = QString(20'000'000, QLatin1Char('x')) + QStringLiteral("\t\t1\n");
    for (auto _ : state) {
        TestDoc t;
        t.desktop.clipboard = text;
        state.SetIterationTime(seconds(state, [&] { runCommand(t.doc, Command::Paste); }));
        if (t.doc.grid.rows() != 2 || t.desktop.messages.size() != 1)
            state.SkipWithError("line not left out");
    }
    averageCpu(state);
}

void BM_DeleteAllRows(benchmark::State &state)
{
    for (auto _ : state) {
        auto t = fullList(kMaxTags);
        selectRows(*t, 1, t->doc.grid.rows() - 1);
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::Delete); }));
        if (t->doc.grid.rows() != 2)
            state.SkipWithError("rows left");
    }
    averageCpu(state);
}

void BM_CopyAllRows(benchmark::State &state)
{
    auto t = fullList(kMaxTags);
    selectRows(*t, 1, kMaxTags);
    for (auto _ : state) {
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::Copy); }));
        benchmark::DoNotOptimize(t->desktop.clipboard);
    }
    state.counters["chars"] = static_cast<double>(t->desktop.clipboard->size());
    state.counters["html_chars"] = static_cast<double>(t->desktop.clipboardHtml.size());
    averageCpu(state);
}

// The rows as Copy writes them (CR LF), or as spreadsheets on Linux write
// them (LF alone).
void BM_PasteIntoEmptyList(benchmark::State &state)
{
    const auto source = fullList(kMaxTags);
    QString text = rowText(source->doc.grid, 1, kMaxTags);
    if (state.range(0) == 1)
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (auto _ : state) {
        TestDoc t;
        t.doc.grid.setVisibleRowCount(kVisibleRows);
        t.desktop.clipboard = text;
        state.SetIterationTime(seconds(state, [&] { runCommand(t.doc, Command::Paste); }));
        if (t.doc.grid.rows() != kMaxRows || !t.desktop.messages.empty())
            state.SkipWithError("not all rows pasted");
    }
    averageCpu(state);
}

void BM_InsertRowAtTop(benchmark::State &state)
{
    auto t = fullList(kMaxTags - 1);
    for (auto _ : state) {
        selectRows(*t, 1, 1);
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::InsertRow); }));
        if (t->doc.grid.rows() != kMaxRows)
            state.SkipWithError("row not inserted");
        t->doc.grid.deleteRows(1, 1); // back to one short of the limit, untimed
    }
    averageCpu(state);
}

// Ångra and Gör om of the largest steps the history holds: all rows of a
// full list removed at once, or pasted at once into an empty list. The
// command itself runs untimed; only the step taken back or made again is.
enum class Step { DeleteAll, PasteAll };

std::unique_ptr<TestDoc> afterStep(Step step, const QString &pasteText)
{
    if (step == Step::DeleteAll) {
        auto t = fullList(kMaxTags);
        selectRows(*t, 1, t->doc.grid.rows() - 1);
        runCommand(t->doc, Command::Delete);
        return t;
    }
    auto t = std::make_unique<TestDoc>();
    t->doc.grid.setVisibleRowCount(kVisibleRows);
    t->desktop.clipboard = pasteText;
    runCommand(t->doc, Command::Paste);
    return t;
}

QString fullListText()
{
    const auto source = fullList(kMaxTags);
    return rowText(source->doc.grid, 1, kMaxTags);
}

// Rows the list has once the step is done (2: header and entry row only).
int rowsAfter(Step step)
{
    return step == Step::DeleteAll ? 2 : kMaxRows;
}

int rowsBefore(Step step)
{
    return step == Step::DeleteAll ? kMaxRows : 2;
}

void BM_Undo(benchmark::State &state, Step step)
{
    const QString text = step == Step::PasteAll ? fullListText() : QString();
    for (auto _ : state) {
        auto t = afterStep(step, text);
        if (t->doc.grid.rows() != rowsAfter(step))
            state.SkipWithError("step not made");
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::Undo); }));
        if (t->doc.grid.rows() != rowsBefore(step) || !t->doc.history.canRedo())
            state.SkipWithError("step not taken back");
        if (step == Step::DeleteAll && t->doc.grid.textAt(kMaxTags, 1) != QStringLiteral("Bricka nummer 32765"))
            state.SkipWithError("rows not restored");
    }
    averageCpu(state);
}

void BM_Redo(benchmark::State &state, Step step)
{
    const QString text = step == Step::PasteAll ? fullListText() : QString();
    for (auto _ : state) {
        auto t = afterStep(step, text);
        runCommand(t->doc, Command::Undo);
        if (t->doc.grid.rows() != rowsBefore(step))
            state.SkipWithError("step not taken back");
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::Redo); }));
        if (t->doc.grid.rows() != rowsAfter(step) || t->doc.history.canRedo())
            state.SkipWithError("step not made again");
        if (step == Step::PasteAll && t->doc.grid.textAt(kMaxTags, 1) != QStringLiteral("Bricka nummer 32765"))
            state.SkipWithError("rows not pasted again");
    }
    averageCpu(state);
}

// Sök nästa through the whole list without a match, from row 1 round to
// it; with and without the box for upper and lower case.
void BM_FindNextNoMatch(benchmark::State &state)
{
    auto t = fullList(kMaxTags);
    selectRows(*t, 1, 1);
    const FindSettings search{QStringLiteral("Ventil V317"), QString(), state.range(0) == 1, false};
    for (auto _ : state) {
        t->desktop.messages.clear();
        bool found = true;
        state.SetIterationTime(seconds(state, [&] { found = findNext(t->doc, search, kFindTitle); }));
        if (found || t->desktop.messages.size() != 1 || t->doc.grid.row() != 1)
            state.SkipWithError("a match, or no message");
    }
    averageCpu(state);
}

// Ersätt alla on a full list: "Bricka" in every Rad 1 (32,765 matches), or
// "e" in both texts of every row (65,530 matches, every text rebuilt).
const FindSettings kReplaceSearches[] = {{QStringLiteral("Bricka"), QStringLiteral("B"), false, true},
                                         {QStringLiteral("e"), QStringLiteral("E"), true, true}};
const int kReplaceCounts[] = {kMaxTags, 2 * kMaxTags};

void BM_ReplaceAll(benchmark::State &state)
{
    const auto which = static_cast<size_t>(state.range(0));
    const QString message = QStringLiteral("%1 ersättningar gjordes.").arg(kReplaceCounts[which]);
    for (auto _ : state) {
        auto t = fullList(kMaxTags);
        state.SetIterationTime(seconds(state, [&] { replaceAll(t->doc, kReplaceSearches[which]); }));
        if (t->desktop.messages.size() != 1 || t->desktop.messages[0].prompt != message || t->doc.history.steps() != 1)
            state.SkipWithError("not every match replaced in one step");
    }
    averageCpu(state);
}

void BM_UndoReplaceAll(benchmark::State &state)
{
    const auto which = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        auto t = fullList(kMaxTags);
        replaceAll(t->doc, kReplaceSearches[which]);
        state.SetIterationTime(seconds(state, [&] { runCommand(t->doc, Command::Undo); }));
        if (t->doc.grid.textAt(kMaxTags, 1) != QStringLiteral("Bricka nummer 32765") ||
            t->doc.grid.textAt(1, 2) != QStringLiteral("Avdelning 1") || !t->doc.history.canRedo())
            state.SkipWithError("rows not restored");
    }
    averageCpu(state);
}

// Resident pages of the process in KiB (Linux only; 0 elsewhere).
long residentKib()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    return resident * 4; // 4 KiB pages on the machines this runs on
}

#ifdef __GLIBC__
// What the history holds after a delete-all of a full list: the text it
// counts against its bound, the heap it keeps (freed when it is cleared),
// and how the process's resident memory moved across the Ta bort. The
// removed texts are shared with the list until the list lets them go, so
// the heap kept is about what the list held.
void BM_HistoryAfterDeleteAll(benchmark::State &state)
{
    for (auto _ : state) {
        auto t = fullList(kMaxTags);
        selectRows(*t, 1, t->doc.grid.rows() - 1);
        malloc_trim(0);
        const long rssBefore = residentKib();
        runCommand(t->doc, Command::Delete);
        const long rssAfter = residentKib();
        const size_t heapWithHistory = mallinfo2().uordblks;
        state.counters["history_MB"] = double(t->doc.history.bytes()) / (1024.0 * 1024.0);
        state.counters["steps"] = t->doc.history.steps();
        t->doc.history.clear();
        state.counters["heap_kept_MB"] = double(heapWithHistory - mallinfo2().uordblks) / (1024.0 * 1024.0);
        state.counters["rss_growth_MB"] = double(rssAfter - rssBefore) / 1024.0;
        if (t->doc.grid.rows() != 2)
            state.SkipWithError("rows left");
    }
}
#endif
} // namespace

BENCHMARK(BM_PasteLongestLine)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteHugeLine)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAllRows)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAllRows)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteIntoEmptyList)->ArgName("lf")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertRowAtTop)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Undo, DeleteAll, Step::DeleteAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Undo, PasteAll, Step::PasteAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Redo, DeleteAll, Step::DeleteAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Redo, PasteAll, Step::PasteAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextNoMatch)->ArgName("case")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll)->ArgName("both")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoReplaceAll)->ArgName("both")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
#ifdef __GLIBC__
BENCHMARK(BM_HistoryAfterDeleteAll)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK_MAIN();
