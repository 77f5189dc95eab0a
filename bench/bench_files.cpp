// Open and Save of a full list (32,765 tags), the check before Spara in place
// on it, Open of 10 MB of garbage, and Open of a tag with a text at the length
// limit and a click on that row.
#include "FakeDesktop.h"
#include "OwnSettings.h"

#include "document/ListLock.h"
#include "document/TableRoutines.h"
#include "files/FileCommands.h"
#include "files/FileSystem.h"
#include "files/RecoveryCopy.h"
#include "files/TagFileReader.h"
#include "files/TagFileWriter.h"

#include "app/widgets/Huvudbild.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
QTemporaryDir &dir()
{
    static QTemporaryDir d;
    return d;
}

// A full list, built in one step (appending tag by tag would measure the
// set-up instead).
void fillFull(TestDoc &t)
{
    std::vector<QStringList> rows;
    rows.reserve(kMaxTags);
    for (int i = 1; i <= kMaxTags; ++i)
        rows.push_back({QString::number(i), QStringLiteral("Pump %1 källare").arg(i),
                        QStringLiteral("Ventil V-%1").arg(i % 977), QString::number(1 + i % 40)});
    TagGrid &g = t.doc.grid;
    g.insertRows(1, rows);
    g.setTextAt(g.rows() - 1, 0, QString::number(g.rows() - 1));
    g.setRow(g.rows() - 1);
}

QString fullFile()
{
    static const QString path = [] {
        const QString p = dir().filePath(QStringLiteral("full.brk"));
        TestDoc t;
        fillFull(t);
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(writeTagFile(t.doc.grid).bytes) < 0)
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }();
    return path;
}

QString garbageFile()
{
    static const QString path = [] {
        const QString p = dir().filePath(QStringLiteral("skrap.bin"));
        QByteArray bytes(10 * 1024 * 1024, Qt::Uninitialized);
        quint32 x = 2024;
        for (char &c : bytes) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 24);
        }
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }();
    return path;
}

// 2 GB of zeros, a sparse file: no list at all, and far more file than list.
QString zerosFile()
{
    static const QString path = [] {
        const QString p = dir().filePath(QStringLiteral("nollor.brk"));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(qint64(2) << 30))
            qFatal("cannot make %s", qPrintable(p));
        return p;
    }();
    return path;
}

// One tag whose first text has the most characters a text may hold.
QString longTextFile()
{
    static const QString path = [] {
        const QString p = dir().filePath(QStringLiteral("lang.brk"));
        QFile f(p);
        const QByteArray bytes = "\"" + QByteArray(kMaxTextLength, 'x') + "\",\"kort\",1\r\n";
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }();
    return path;
}

// The process's peak resident memory so far, in MB (run one benchmark per
// process, with --benchmark_filter, to read it for that benchmark alone).
void reportPeakMemory(benchmark::State &state)
{
#ifdef Q_OS_UNIX
    rusage u{};
    if (getrusage(RUSAGE_SELF, &u) == 0)
        state.counters["peak_MB"] = double(u.ru_maxrss) / 1024.0;
#else
    Q_UNUSED(state);
#endif
}

void openEach(benchmark::State &state, const QString &path, bool expectWarning)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(25);
    for (auto _ : state) {
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path));
        openFile(t.doc);
        benchmark::DoNotOptimize(t.doc.grid.rows());
    }
    if (t.doc.grid.rows() < 2 || t.desktop.messages.empty() != !expectWarning)
        state.SkipWithError("unexpected result");
    state.counters["rows"] = t.doc.grid.rows();
}

// Each run replaces the full list the run before loaded.
void BM_Open_FullList(benchmark::State &state)
{
    openEach(state, fullFile(), false);
}
BENCHMARK(BM_Open_FullList)->Unit(benchmark::kMillisecond);

// Each run starts from a new, empty list.
void BM_Open_FullList_IntoNewList(benchmark::State &state)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(25);
    const QString path = fullFile();
    for (auto _ : state) {
        state.PauseTiming();
        NyLista(t.doc);
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path));
        state.ResumeTiming();
        openFile(t.doc);
        benchmark::DoNotOptimize(t.doc.grid.rows());
    }
    if (t.doc.grid.rows() != kMaxRows || !t.desktop.messages.empty())
        state.SkipWithError("unexpected result");
}
BENCHMARK(BM_Open_FullList_IntoNewList)->Unit(benchmark::kMillisecond);

void BM_Open_Garbage10MB(benchmark::State &state)
{
    openEach(state, garbageFile(), true);
}
BENCHMARK(BM_Open_Garbage10MB)->Unit(benchmark::kMillisecond);

// Open of a damaged file of any size stops where the list stops.
void BM_Open_Zeros2GB(benchmark::State &state)
{
    openEach(state, zerosFile(), true);
    reportPeakMemory(state);
}
BENCHMARK(BM_Open_Zeros2GB)->Unit(benchmark::kMillisecond);

// Opening a list takes its lock: made exclusively beside the list (the
// check is the exclusive creation itself), then let go as Nytt does.
void BM_Lock_TakeAndRelease(benchmark::State &state)
{
    const QString list = fullFile();
    ListLock lock;
    bool taken = true;
    for (auto _ : state) {
        taken = lock.take(list) == ListLock::Result::Taken && taken;
        lock.release();
    }
    if (!taken)
        state.SkipWithError("not taken");
}
BENCHMARK(BM_Lock_TakeAndRelease)->Unit(benchmark::kMicrosecond);

void BM_Save_FullList(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    t.doc.FilNamn = dir().filePath(QStringLiteral("spara.brk"));
    bool saved = false;
    for (auto _ : state) {
        saved = Spara(t.doc);
        benchmark::DoNotOptimize(saved);
    }
    if (!saved)
        state.SkipWithError("not saved");
}
BENCHMARK(BM_Save_FullList)->Unit(benchmark::kMillisecond);

// A file with a second name is written in place, its old bytes first.
void BM_Save_FullList_TwoNames(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    t.doc.FilNamn = dir().filePath(QStringLiteral("tva.brk"));
    const QString second = dir().filePath(QStringLiteral("tva-andra.brk"));
    bool saved = Spara(t.doc);
#ifdef Q_OS_UNIX
    QFile::remove(second);
    if (!saved || ::link(QFile::encodeName(t.doc.FilNamn).constData(), QFile::encodeName(second).constData()) != 0)
        state.SkipWithError("no hard link");
#else
    state.SkipWithError("hard links made here on Unix only");
#endif
    for (auto _ : state) {
        saved = Spara(t.doc);
        benchmark::DoNotOptimize(saved);
    }
    if (!saved)
        state.SkipWithError("not saved");
}
BENCHMARK(BM_Save_FullList_TwoNames)->Unit(benchmark::kMillisecond);

// The recovery copy of a full list, as the window writes it on its own
// thread a while after a change.
void BM_RecoveryCopy_FullList(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    RecoveryCopy copy(dir().filePath(QStringLiteral("recovery")));
    for (auto _ : state)
        if (!copy.write(t.doc))
            state.SkipWithError("not written");
    state.counters["bytes"] = double(QFileInfo(copy.path()).size());
    copy.remove();
}
BENCHMARK(BM_RecoveryCopy_FullList)->Unit(benchmark::kMillisecond);

// The check before Spara in place writes over a full list's file that no
// other program changed: size and time, then the content read back and
// hashed. Spara above includes it from its second run on.
void BM_SaveCheck_FullList(benchmark::State &state)
{
    TestDoc t;
    t.desktop.dialogAnswers.push_back(FakeDesktop::choice(fullFile()));
    openFile(t.doc);
    if (!t.doc.stamp || t.doc.grid.rows() != kMaxRows) {
        state.SkipWithError("not opened");
        return;
    }
    bool unchanged = false;
    for (auto _ : state) {
        unchanged = fileUnchangedSince(t.doc.FilNamn, *t.doc.stamp);
        benchmark::DoNotOptimize(unchanged);
    }
    if (!unchanged)
        state.SkipWithError("the unchanged file counted as changed");
    state.SetBytesProcessed(state.iterations() * t.doc.stamp->size);
}
BENCHMARK(BM_SaveCheck_FullList)->Unit(benchmark::kMillisecond);

void BM_Open_LongestText(benchmark::State &state)
{
    openEach(state, longTextFile(), false);
    reportPeakMemory(state);
}
BENCHMARK(BM_Open_LongestText)->Unit(benchmark::kMillisecond);

// A click on that row loads the long text into the fields.
void BM_Click_LongestTextRow(benchmark::State &state)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(25);
    t.desktop.dialogAnswers.push_back(FakeDesktop::choice(longTextFile()));
    openFile(t.doc);
    for (auto _ : state) {
        state.PauseTiming();
        t.doc.grid.setRow(2); // the entry row, as after Open
        state.ResumeTiming();
        t.doc.grid.setRow(1);
        grdGrid_Click(t.doc);
        benchmark::DoNotOptimize(t.fields.values[0].size());
    }
    if (t.fields.values[0].size() != kMaxTextLength)
        state.SkipWithError("the long text did not load");
    reportPeakMemory(state);
}
BENCHMARK(BM_Click_LongestTextRow)->Unit(benchmark::kMillisecond);

// The same in the real window (offscreen): the table shows the long cell and
// the click puts the text into a real line edit; both are painted.
void loadLongTextIntoWindow(Huvudbild &w)
{
    TagGrid &g = w.document().grid;
    g.setRows(3);
    g.setTextAt(1, 0, QStringLiteral("1"));
    g.setTextAt(1, 1, QString(kMaxTextLength, QLatin1Char('x')));
    g.setTextAt(1, 2, QStringLiteral("kort"));
    g.setTextAt(1, 3, QStringLiteral("1"));
    g.setTextAt(2, 0, QStringLiteral("2"));
    g.setRow(2);
}

void BM_Show_LongestText_Window(benchmark::State &state)
{
    Huvudbild w;
    w.show();
    QCoreApplication::processEvents(); // exposed, so that repaint() paints
    for (auto _ : state) {
        state.PauseTiming();
        NyLista(w.document());
        w.refreshView();
        w.repaint();
        state.ResumeTiming();
        loadLongTextIntoWindow(w);
        w.refreshView();
        w.repaint();
    }
    reportPeakMemory(state);
}
BENCHMARK(BM_Show_LongestText_Window)->Unit(benchmark::kMillisecond);

void BM_Click_LongestTextRow_Window(benchmark::State &state)
{
    Huvudbild w;
    w.show();
    QCoreApplication::processEvents(); // exposed, so that repaint() paints
    loadLongTextIntoWindow(w);
    w.refreshView();
    for (auto _ : state) {
        state.PauseTiming();
        w.txtRad1()->clear();
        w.document().grid.setRow(2);
        w.repaint();
        state.ResumeTiming();
        w.document().grid.setRow(1);
        grdGrid_Click(w.document());
        w.refreshView();
        w.repaint();
    }
    if (w.txtRad1()->text().size() != kMaxTextLength)
        state.SkipWithError("the long text did not load");
    reportPeakMemory(state);
}
BENCHMARK(BM_Click_LongestTextRow_Window)->Unit(benchmark::kMillisecond);

// The two halves on their own, for where the time goes.
void BM_Reader_FullList(benchmark::State &state)
{
    QFile f(fullFile());
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        const TagFileContent l = readTagFile(bytes, kMaxTags);
        benchmark::DoNotOptimize(l.rows.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Reader_FullList)->Unit(benchmark::kMillisecond);

void BM_Writer_FullList(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    for (auto _ : state) {
        const TagFileBytes f = writeTagFile(t.doc.grid);
        benchmark::DoNotOptimize(f.bytes.size());
    }
}
BENCHMARK(BM_Writer_FullList)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    // The window benchmarks need no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Huvudbild::installApplicationSettings(app);
    useOwnSettings(); // the windows made here leave the user's settings alone
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
