// Arkiv's recent lists: what Open, Spara, Spara som and a chosen entry put on
// the list, in which order, and how the list is kept between runs.
#include "FakeDesktop.h"

#include "app/Commands.h"
#include "document/RecentLists.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
using A = Desktop::Answer;
} // namespace

class TestRecentLists : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return QDir::cleanPath(m_dir->filePath(name)); }
    QString relative(const QString &p) const { return QDir(m_dir->path()).relativeFilePath(p); }

    void writeList(const QString &name)
    {
        QVERIFY(QDir(m_dir->path()).mkpath(QFileInfo(path(name)).path()));
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"Pump 1\",\" \",12\r\n");
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const char *name : {"a/1.brk", "a/2.brk", "a/3.brk", "a/4.brk", "a/5.brk", "b/1.brk"})
            writeList(QString::fromLatin1(name));
#ifndef Q_OS_WIN
        // Names that differ in letter case only are two files here.
        writeList(QStringLiteral("c/Lista.brk"));
        writeList(QStringLiteral("c/lista.brk"));
#endif
    }

    // Steps, run in order: "open F" and "saveas F" choose F in their dialog;
    // "save", "new" and "recent N" run Spara, Nytt and Arkiv's Nth recent
    // list; "change" makes the list changed; "yes"/"no"/"cancel" answer the
    // next save prompt and "dialog F" the next dialog; "rm F" deletes F;
    // "other F" is another running copy of the program opening F.
    void table_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("recent");   // newest first
        QTest::addColumn<QString>("filNamn");  // afterwards
        QTest::addColumn<QString>("messages"); // titles
        QTest::newRow("nothing yet") << QStringList{} << ""
                                     << ""
                                     << "";
        QTest::newRow("open") << QStringList{"open a/1.brk"} << "a/1.brk"
                              << "a/1.brk"
                              << "";
        QTest::newRow("save as") << QStringList{"saveas a/ny.brk"} << "a/ny.brk"
                                 << "a/ny.brk"
                                 << "";
        QTest::newRow("save in place goes to the top")
            << QStringList{"open a/1.brk", "other a/2.brk", "change", "save"} << "a/1.brk a/2.brk"
            << "a/1.brk"
            << "";
        QTest::newRow("save of an untitled list")
            << QStringList{"open a/1.brk", "new", "change", "dialog a/ny.brk", "save"} << "a/ny.brk a/1.brk"
            << "a/ny.brk"
            << "";
        QTest::newRow("the same file again moves to the top")
            << QStringList{"open a/1.brk", "open a/2.brk", "open a/1.brk"} << "a/1.brk a/2.brk"
            << "a/1.brk"
            << "";
        QTest::newRow("more than four: the oldest goes")
            << QStringList{"open a/1.brk", "open a/2.brk", "open a/3.brk", "open a/4.brk", "open a/5.brk"}
            << "a/5.brk a/4.brk a/3.brk a/2.brk"
            << "a/5.brk"
            << "";
        QTest::newRow("the same name in two folders")
            << QStringList{"open a/1.brk", "open b/1.brk"} << "b/1.brk a/1.brk"
            << "b/1.brk"
            << "";
        QTest::newRow("chosen from the list")
            << QStringList{"open a/1.brk", "open a/2.brk", "recent 2"} << "a/1.brk a/2.brk"
            << "a/1.brk"
            << "";
        QTest::newRow("a file that is gone leaves the list")
            << QStringList{"open a/1.brk", "open a/2.brk", "rm a/1.brk", "recent 2"} << "a/2.brk"
            << "a/2.brk"
            << "Fil saknas";
        QTest::newRow("the save prompt first: Avbryt")
            << QStringList{"open a/1.brk", "open a/2.brk", "change", "cancel", "recent 2"} << "a/2.brk a/1.brk"
            << "a/2.brk"
            << "Spara ändringar?";
        QTest::newRow("the save prompt first: Ja saves, then opens")
            << QStringList{"open a/1.brk", "new", "change", "yes", "dialog a/ny.brk", "recent 1"} << "a/1.brk a/ny.brk"
            << "a/1.brk"
            << "Spara ändringar?";
        QTest::newRow("the save prompt, then a file that is gone")
            << QStringList{"open a/1.brk", "change", "rm a/1.brk", "no", "recent 1"} << ""
            << "a/1.brk"
            << "Spara ändringar?, Fil saknas";
        QTest::newRow("an Open that fails is not recorded")
            << QStringList{"open a/1.brk", "open a/finns-inte.brk"} << "a/1.brk"
            << "a/1.brk"
            << "Fil saknas";
        QTest::newRow("a Save As that fails is not recorded") << QStringList{"saveas finns-inte/x.brk"} << ""
                                                              << "finns-inte/x.brk"
                                                              << "Fel vid sparande";
        QTest::newRow("an entry past the list does nothing") << QStringList{"open a/1.brk", "recent 3"} << "a/1.brk"
                                                             << "a/1.brk"
                                                             << "";
#ifndef Q_OS_WIN
        QTest::newRow("names that differ in letter case only")
            << QStringList{"open c/Lista.brk", "open c/lista.brk"} << "c/lista.brk c/Lista.brk"
            << "c/lista.brk"
            << "";
#else
        QTest::newRow("the same file in other letter case")
            << QStringList{"open a/1.brk", "open a/2.brk", "open A/1.BRK"} << "A/1.BRK a/2.brk"
            << "A/1.BRK"
            << "";
#endif
    }
    void table()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, recent);
        QFETCH(QString, filNamn);
        QFETCH(QString, messages);
        TestDoc t;
        t.addTags({{"a", "", "1"}});
        t.doc.Andrad = false;
        for (const QString &step : steps) {
            const QString verb = step.section(QLatin1Char(' '), 0, 0);
            const QString arg = step.section(QLatin1Char(' '), 1);
            if (verb == "open" || verb == "saveas") {
                t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path(arg)));
                runCommand(t.doc, verb == "open" ? Command::Open : Command::SaveAs);
            } else if (verb == "save") {
                runCommand(t.doc, Command::Save);
            } else if (verb == "new") {
                runCommand(t.doc, Command::New);
            } else if (verb == "recent") {
                runCommand(t.doc, Command(int(Command::OpenRecent1) + arg.toInt() - 1));
            } else if (verb == "change") {
                t.doc.markChanged();
            } else if (verb == "yes" || verb == "no" || verb == "cancel") {
                t.desktop.answers.push_back(verb == "yes" ? A::Yes : verb == "no" ? A::No : A::Cancel);
            } else if (verb == "dialog") {
                t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path(arg)));
            } else if (verb == "rm") {
                QVERIFY(QFile::remove(path(arg)));
            } else if (verb == "other") {
                t.doc.recent.add(path(arg));
            } else {
                QFAIL(qPrintable(step));
            }
        }
        QStringList got;
        for (const QString &p : t.doc.recent.paths())
            got << relative(p);
        QCOMPARE(got.join(QLatin1Char(' ')), recent);
        QCOMPARE(t.doc.FilNamn.isEmpty() ? QString() : relative(t.doc.FilNamn), filNamn);
        QStringList titles;
        for (const FakeDesktop::Message &m : t.desktop.messages)
            titles << m.title;
        QCOMPARE(titles.join(QStringLiteral(", ")), messages);
        for (const FakeDesktop::Message &m : t.desktop.messages)
            if (m.title == QStringLiteral("Fil saknas"))
                QCOMPARE(m.prompt, QStringLiteral("Filen fanns inte!"));
    }

    // The list lives in the settings: it comes back at the next start, and
    // two running copies of the program keep each other's lists.
    void keptInTheSettings()
    {
        const QString file = m_dir->filePath(QStringLiteral("Taggverk.ini"));
        {
            QSettings settings(file, QSettings::IniFormat);
            RecentLists first;
            first.setStore(&settings);
            first.add(path("a/1.brk"));
            first.add(path("a/2.brk"));

            QSettings otherSettings(file, QSettings::IniFormat);
            RecentLists other;
            other.setStore(&otherSettings);
            QCOMPARE(other.paths(), first.paths());
            other.add(path("b/1.brk"));
            first.add(path("a/3.brk"));
            QCOMPARE(first.paths(), QStringList({path("a/3.brk"), path("b/1.brk"), path("a/2.brk"), path("a/1.brk")}));
            first.remove(path("b/1.brk"));
        }
        QSettings settings(file, QSettings::IniFormat);
        RecentLists next;
        next.setStore(&settings);
        QCOMPARE(next.paths(), QStringList({path("a/3.brk"), path("a/2.brk"), path("a/1.brk")}));

        // Whatever a store holds, at most four distinct names are shown.
        settings.setValue(RecentLists::kKey,
                          QStringList{"/x/1.brk", "", "/x/1.brk", "/x/2.brk", "/x/3.brk", "/x/4.brk", "/x/5.brk"});
        next.setStore(&settings);
        QCOMPARE(next.paths().size(), RecentLists::kMax);
        QCOMPARE(QFileInfo(next.paths().constLast()).fileName(), QStringLiteral("4.brk"));
    }
};

QTEST_GUILESS_MAIN(TestRecentLists)
#include "test_recent_lists.moc"
