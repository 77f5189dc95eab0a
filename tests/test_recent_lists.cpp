// Arkiv's recent lists: what Open, Spara, Spara som and a chosen entry put on
// the list, in which order, and how the list is kept between runs.
#include "FakeDesktop.h"

#include "app/Commands.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Steps, comma-separated: "open F"/"saveas F" choose F.brk in their dialog,
// "dialog F" answers the next one; "save", "new" and "recent N" run Spara,
// Nytt and Arkiv's Nth list; "change" changes the list; "yes"/"no"/"cancel"
// answer the next save prompt; "rm F" deletes F.brk; "other F" is another
// running copy opening it. Then: the recent lists (newest first), FilNamn and
// the titles of the messages shown.
void row(const char *name, const char *steps, const char *recent, const char *filNamn, const char *titles = "")
{
    QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(recent) << QString::fromUtf8(filNamn)
                        << QString::fromUtf8(titles);
}
} // namespace

class TestRecentLists : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return QDir::cleanPath(m_dir.filePath(name + ".brk")); }
    QString relative(const QString &p) const { return QDir(m_dir.path()).relativeFilePath(p).chopped(4); }

private slots:
    void table_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("recent");
        QTest::addColumn<QString>("filNamn");
        QTest::addColumn<QString>("titles");
        row("open, save in place to the top", "open a/1, other a/2, change, save", "a/1 a/2", "a/1");
        row("save as; save of an untitled list", "saveas a/3, new, change, dialog a/4, save", "a/4 a/3", "a/4");
        row("the same file again moves to the top", "open a/1, open a/2, open a/1", "a/1 a/2", "a/1");
        row("more than four: the oldest goes", "open a/1, open a/2, open a/3, open a/4, open b/1, open a/5",
            "a/5 b/1 a/4 a/3", "a/5");
        row("the same name in two folders", "open a/1, open b/1", "b/1 a/1", "b/1");
        row("chosen from the list", "open a/1, open a/2, recent 2", "a/1 a/2", "a/1");
        row("a file that is gone leaves the list", "open a/1, open a/2, rm a/1, recent 2", "a/2", "a/2", "Fil saknas");
        row("the prompt first: Avbryt", "open a/1, open a/2, change, cancel, recent 2", "a/2 a/1", "a/2",
            "Spara ändringar?");
        row("the prompt, Ja: saved, then opened", "open a/1, new, change, yes, dialog a/3, recent 1", "a/1 a/3", "a/1",
            "Spara ändringar?");
        row("Open or Save As that fails", "open a/1, open a/x, saveas x/1", "a/1", "x/1",
            "Fil saknas, Fel vid sparande");
#ifndef Q_OS_WIN
        row("names that differ in letter case only", "open c/Lista, open c/lista", "c/lista c/Lista", "c/lista");
#else
        row("the same file in other letter case", "open a/1, open a/2, open A/1", "A/1 a/2", "A/1");
#endif
    }
    void table()
    {
        QFETCH(QString, steps);
        for (const char *name : {"a/1", "a/2", "a/3", "a/4", "a/5", "b/1", "c/Lista", "c/lista"}) {
            QDir(m_dir.path()).mkpath(QFileInfo(path(name)).path());
            QFile f(path(name));
            if (!f.exists() && f.open(QIODevice::WriteOnly))
                f.write("\"Pump 1\",\" \",12\r\n");
        }
        TestDoc t;
        for (const QString &step : steps.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
            const QString verb = step.section(' ', 0, 0), arg = step.section(' ', 1);
            if (verb == "open" || verb == "saveas" || verb == "dialog")
                t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path(arg)));
            if (verb == "yes" || verb == "no" || verb == "cancel")
                t.desktop.answers.push_back(verb == "yes"  ? Desktop::Answer::Yes
                                            : verb == "no" ? Desktop::Answer::No
                                                           : Desktop::Answer::Cancel);
            if (verb == "open" || verb == "saveas" || verb == "save" || verb == "new" || verb == "recent")
                runCommand(t.doc, verb == "open"     ? Command::Open
                                  : verb == "saveas" ? Command::SaveAs
                                  : verb == "save"   ? Command::Save
                                  : verb == "new"    ? Command::New
                                                     : Command(int(Command::OpenRecent1) + arg.toInt() - 1));
            if (verb == "change")
                t.doc.markChanged();
            if (verb == "rm")
                QVERIFY(QFile::remove(path(arg)));
            if (verb == "other")
                t.doc.recent.add(path(arg));
        }
        QStringList recent, titles;
        for (const QString &p : t.doc.recent.paths())
            recent << relative(p);
        // "Fil saknas" with any other text than Open's would show as "Fil saknas?".
        for (const FakeDesktop::Message &m : t.desktop.messages)
            titles << m.title + (m.title == "Fil saknas" && m.prompt != "Filen fanns inte!" ? "?" : "");
        QTEST(recent.join(' '), "recent");
        QTEST(relative(t.doc.FilNamn), "filNamn");
        QTEST(titles.join(QStringLiteral(", ")), "titles");
    }

    // Kept in the settings: back at the next start, at most four distinct
    // names whatever the store holds, and two running copies keep each
    // other's lists.
    void keptInTheSettings()
    {
        QSettings settings(m_dir.filePath(QStringLiteral("Taggverk.ini")), QSettings::IniFormat);
        settings.setValue(RecentLists::kKey,
                          QStringList{"/x/1.brk", "", "/x/1.brk", "/x/2.brk", "/x/3.brk", "/x/4.brk", "/x/5.brk"});
        RecentLists first, other;
        first.setStore(&settings);
        QCOMPARE(first.paths().size(), RecentLists::kMax);
        QCOMPARE(QFileInfo(first.paths().constLast()).fileName(), QStringLiteral("4.brk"));
        other.setStore(&settings);
        other.add(path("b/1"));
        first.add(path("a/1"));
        first.remove(first.paths().constLast());
        RecentLists next;
        next.setStore(&settings);
        QCOMPARE(next.paths().mid(0, 2), QStringList({path("a/1"), path("b/1")}));
        QCOMPARE(next.paths().size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestRecentLists)
#include "test_recent_lists.moc"
