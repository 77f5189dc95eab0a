// The recovery copy: lossless, owned by one running program, offered after
// a crash with both answers, and a copy cut short.
#include "FakeDesktop.h"
#include "files/RecoveryCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const std::vector<std::array<QString, 3>> kTags = {
    {QStringLiteral("Ω-ventil 🔧"), QStringLiteral("17\" rör"), QStringLiteral("2")},
    {QStringLiteral("a\tb"), QString(), QStringLiteral("1,5")},
    {QStringLiteral("Källare"), QStringLiteral("A, B"), QStringLiteral("12")},
};

// A copy left by a program that died: written, and its lock gone with it.
QString leaveCopy(const QString &folder, int cursorRow = 2, const QString &fileName = QStringLiteral("/x/lista.brk"))
{
    TestDoc t;
    t.addTags(kTags);
    t.doc.FilNamn = fileName;
    t.doc.grid.setRow(cursorRow);
    // Its lock goes with the object, the copy stays: as when the program
    // ends without removing it.
    RecoveryCopy dead(folder);
    return dead.write(t.doc) ? dead.path() : QString();
}
} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void offeredAfterACrash_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nej") << false;
    }
    void offeredAfterACrash()
    {
        QFETCH(bool, yes);
        const QString copy = leaveCopy(m_dir.path());
        QVERIFY(!copy.isEmpty());
        TestDoc t;
        t.desktop.answers.push_back(yes ? Desktop::Answer::Yes : Desktop::Answer::No);
        RecoveryCopy mine(m_dir.path());
        QCOMPARE(offerRecovery(t.doc, mine), yes);

        QCOMPARE(t.desktop.messages.size(), size_t(1));
        const FakeDesktop::Message &m = t.desktop.messages.front();
        QCOMPARE(m.prompt, QStringLiteral("Ovelda Taggverk avslutades utan att ändringarna i \"lista.brk\" sparades.\n"
                                          "Vill du återställa dem?"));
        QCOMPARE(m.title, QStringLiteral("Återställ"));
        QCOMPARE(m.icon, Desktop::Icon::Question);
        QCOMPARE(m.buttons, Desktop::Buttons::YesNo);
        QCOMPARE(m.defaultButton, std::optional(Desktop::Answer::Yes));
        QCOMPARE(QFile::exists(copy), yes); // kept until saved or closed; Nej removes it
        if (!yes) {
            QCOMPARE(t.doc.grid.rows(), 2);
            QVERIFY(!t.doc.Andrad());
            return;
        }
        // Every text exactly as it was, where the tag file would not keep it.
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                QCOMPARE(t.doc.grid.textAt(r, c), kTags[size_t(r - 1)][size_t(c - 1)]);
        QCOMPARE(t.doc.grid.rows(), 5);
        QCOMPARE(t.doc.FilNamn, QStringLiteral("/x/lista.brk"));
        QCOMPARE(t.desktop.caption, QStringLiteral("lista.brk - Ovelda Taggverk"));
        QVERIFY(t.doc.Andrad());
        QCOMPARE(t.doc.grid.row(), 2);
        QCOMPARE(t.fields.values[0], kTags[1][0]);
        QCOMPARE(mine.path(), copy);
        mine.remove();
        QVERIFY(!QFile::exists(copy));
    }

    void aCopyOfARunningProgramIsNotOffered()
    {
        TestDoc t;
        t.addTags(kTags);
        t.doc.markChanged();
        RecoveryCopy running(m_dir.path());
        QVERIFY(running.write(t.doc));
        RecoveryCopy other(m_dir.path());
        QVERIFY(!other.adoptOrphan());
        TestDoc second;
        QVERIFY(!offerRecovery(second.doc, other));
        QVERIFY(second.desktop.messages.empty());
        QVERIFY(QFile::exists(running.path()));
    }

    void theNewestOfSeveralIsOffered()
    {
        const QString older = leaveCopy(m_dir.path(), 1, QStringLiteral("/x/gammal.brk"));
        QTest::qWait(20);
        const QString newer = leaveCopy(m_dir.path(), 1, QString());
        QFile f(newer);
        QVERIFY(f.open(QIODevice::Append));
        f.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime);
        f.close();
        TestDoc t;
        t.desktop.answers.push_back(Desktop::Answer::Yes);
        RecoveryCopy mine(m_dir.path());
        QVERIFY(offerRecovery(t.doc, mine));
        QVERIFY(t.desktop.messages.front().prompt.contains(QStringLiteral("\"Namnlös\"")));
        QCOMPARE(t.desktop.caption, QStringLiteral("Namnlös - Ovelda Taggverk"));
        QVERIFY(QFile::exists(older)); // waits for a later start
        RecoveryCopy later(m_dir.path());
        QVERIFY(later.adoptOrphan());
        QCOMPARE(later.path(), older);
    }

    void aCopyCutShortGivesWhatItHolds()
    {
        const QString copy = leaveCopy(m_dir.path());
        QFile f(copy);
        QVERIFY(f.resize(f.size() - 10)); // the last tag loses its end
        TestDoc t;
        t.desktop.answers.push_back(Desktop::Answer::Yes);
        RecoveryCopy mine(m_dir.path());
        QVERIFY(offerRecovery(t.doc, mine));
        QCOMPARE(t.doc.grid.rows(), 4);
        QCOMPARE(t.desktop.messages.size(), size_t(2));
        QCOMPARE(t.desktop.messages[1].prompt,
                 QStringLiteral("Filen kunde inte läsas till slut. 2 brickor lästes in."));
        QCOMPARE(t.desktop.messages[1].title, QStringLiteral("Fil skadad"));
    }

    void aFolderThatCannotBeWrittenMeansNoCopy()
    {
        const QString blocked = m_dir.filePath(QStringLiteral("fil"));
        QFile f(blocked);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TestDoc t;
        t.addTags(kTags);
        RecoveryCopy copy(blocked + QStringLiteral("/recovery"));
        QVERIFY(!copy.write(t.doc));
        QVERIFY(copy.path().isEmpty());
        QVERIFY(!copy.adoptOrphan());
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "test_recovery.moc"
