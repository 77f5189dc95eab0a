// Open and Save of a full list (32,765 tags), and Open of 10 MB of garbage.
#include "FakeDesktop.h"

#include "document/TabellRutiner.h"
#include "files/FilKommandon.h"
#include "files/TaggfilLasare.h"
#include "files/TaggfilSkrivare.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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
    rows.reserve(Document::kMaxTags);
    for (int i = 1; i <= Document::kMaxTags; ++i)
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
        if (!f.open(QIODevice::WriteOnly) || f.write(skrivTaggfil(t.doc.grid).bytes) < 0)
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

void openEach(benchmark::State &state, const QString &path, bool expectWarning)
{
    TestDoc t;
    t.doc.grid.setVisibleRowCount(25);
    for (auto _ : state) {
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path));
        Oppna(t.doc);
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
        Oppna(t.doc);
        benchmark::DoNotOptimize(t.doc.grid.rows());
    }
    if (t.doc.grid.rows() != Document::kMaxRows || !t.desktop.messages.empty())
        state.SkipWithError("unexpected result");
}
BENCHMARK(BM_Open_FullList_IntoNewList)->Unit(benchmark::kMillisecond);

void BM_Open_Garbage10MB(benchmark::State &state)
{
    openEach(state, garbageFile(), true);
}
BENCHMARK(BM_Open_Garbage10MB)->Unit(benchmark::kMillisecond);

void BM_Save_FullList(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    t.doc.FilNamn = dir().filePath(QStringLiteral("spara.brk"));
    bool saved = false;
    for (auto _ : state) {
        Spara(t.doc, saved);
        benchmark::DoNotOptimize(saved);
    }
    if (!saved)
        state.SkipWithError("not saved");
}
BENCHMARK(BM_Save_FullList)->Unit(benchmark::kMillisecond);

// The two halves on their own, for where the time goes.
void BM_Reader_FullList(benchmark::State &state)
{
    QFile f(fullFile());
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : state) {
        const Lasning l = lasTaggfil(bytes, Document::kMaxTags);
        benchmark::DoNotOptimize(l.rader.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Reader_FullList)->Unit(benchmark::kMillisecond);

void BM_Writer_FullList(benchmark::State &state)
{
    TestDoc t;
    fillFull(t);
    for (auto _ : state) {
        const Taggfil f = skrivTaggfil(t.doc.grid);
        benchmark::DoNotOptimize(f.bytes.size());
    }
}
BENCHMARK(BM_Writer_FullList)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
