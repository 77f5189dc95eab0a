// The recovery copy: lossless, owned by one running program, offered after
// a crash with both answers, and a copy cut short.
#include "FakeDesktop.h"
#include "app/Commands.h"
#include "files/FileCommands.h"
#include "files/RecoveryCopy.h"
#include "files/Session.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

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

    void aCopyOfARunningProgramIsNotOffered_data()
    {
        QTest::addColumn<int>("lockAge"); // seconds since the running program took its lock
        QTest::newRow("just taken") << 0;
        QTest::newRow("an hour old") << 3600;
    }
    void aCopyOfARunningProgramIsNotOffered()
    {
        QFETCH(int, lockAge);
        TestDoc t;
        t.addTags(kTags);
        t.doc.markChanged();
        RecoveryCopy running(m_dir.path());
        QVERIFY(running.write(t.doc));
        // Written again: still one copy, no second file for a later start.
        QVERIFY(running.write(t.doc));
        QCOMPARE(QDir(m_dir.path()).entryList({"*.taggverk-kopia"}, QDir::Files).size(), 1);
#ifdef Q_OS_UNIX
        // The user's alone.
        const auto ownerGroupOther = QFile::Permissions(0x7077);
        QCOMPARE(QFile::permissions(running.path()) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFile::permissions(m_dir.path()) & ownerGroupOther,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
        // A lock is never stale by age while its program runs. (Windows
        // keeps a held lock file open to no one else: age cannot reach it.)
#ifdef Q_OS_UNIX
        QFile lock(running.path() + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-lockAge), QFileDevice::FileModificationTime));
        lock.close();
#else
        Q_UNUSED(lockAge);
#endif
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

    void sparaAfterRecoveryAsksWhenTheFileChanged_data()
    {
        QTest::addColumn<bool>("changed"); // by another program while the copy waited
        QTest::newRow("unchanged: saved at once") << false;
        QTest::newRow("changed: asked first") << true;
    }
    void sparaAfterRecoveryAsksWhenTheFileChanged()
    {
        QFETCH(bool, changed);
        const QString list = m_dir.filePath(QStringLiteral("lista.brk"));
        const QByteArray before("\"a\",\"b\",1\r\n");
        {
            QFile f(list);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
        }
        {
            // Opened, a tag added, and the program died.
            TestDoc t;
            openPath(t.doc, list, QStringLiteral("lista.brk"));
            t.fields.set(QStringLiteral("ny"), QString(), QStringLiteral("2"));
            runCommand(t.doc, Command::Save); // nothing changed yet: no question
            RecoveryCopy dead(m_dir.filePath(QStringLiteral("kopior")));
            t.doc.grid.setRow(t.doc.grid.rows() - 1);
            t.addTags({{"ny", "", "2"}});
            t.doc.markChanged();
            QVERIFY(dead.write(t.doc));
        }
        const QByteArray other("\"annat\",\"program\",9\r\n");
        if (changed) {
            QFile f(list);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(other) == other.size());
        }
        TestDoc t;
        t.desktop.answers = {Desktop::Answer::Yes, Desktop::Answer::No}; // Återställ: Ja; overwrite: Nej
        RecoveryCopy mine(m_dir.filePath(QStringLiteral("kopior")));
        QVERIFY(offerRecovery(t.doc, mine));
        // The list of a file is locked again, as Open locks it.
        const std::optional<LockOwner> holder = ListLock::holderOf(list);
        QVERIFY(holder && holder->isThisProgram());
        runCommand(t.doc, Command::Save);
        QCOMPARE(t.desktop.messages.size(), size_t(changed ? 2 : 1));
        if (changed)
            QVERIFY(t.desktop.messages[1].prompt.startsWith(QStringLiteral("Filen har ändrats av ett annat program")));
        QFile f(list);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), changed ? other : before + "\"ny\",\" \",2\r\n");
        QCOMPARE(t.doc.Andrad(), changed);
    }

    // A list another program holds, recovered: Avbryt at its question
    // leaves the copy for a later start.
    void recoveredListHeldByAnother()
    {
        const QString list = m_dir.filePath(QStringLiteral("delad.brk"));
        QFile f(list);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("\"a\",\"b\",1\r\n") > 0);
        f.close();
        LockOwner other;
        other.user = QStringLiteral("anna");
        other.host = QStringLiteral("verkstad-pc");
        other.pid = 1;
        QFile lock(ListLock::lockPathFor(list));
        QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write(other.toBytes()) > 0);
        lock.close();
        const QString folder = m_dir.filePath(QStringLiteral("kopior"));
        const QString copy = leaveCopy(folder, 2, list);
        TestDoc t;
        t.desktop.answers = {Desktop::Answer::Yes, Desktop::Answer::Cancel};
        RecoveryCopy mine(folder);
        QVERIFY(!offerRecovery(t.doc, mine));
        QCOMPARE(t.desktop.messages.size(), size_t(2));
        QCOMPARE(t.desktop.messages[1].title, QStringLiteral("Listan används"));
        QCOMPARE(t.doc.grid.rows(), 2);
        RecoveryCopy later(folder);
        QVERIFY(later.adoptOrphan());
        QCOMPARE(later.path(), copy);
    }

    // The session: the copy a while after a change, not put off by later
    // ones; gone once the list is saved or replaced, and at a normal end.
    void sessionKeepsTheCopyWhileThereAreChanges()
    {
        TestDoc t;
        const QString folder = m_dir.filePath(QStringLiteral("kopior"));
        auto session = std::make_unique<Session>(t.doc, folder);
        t.addTags(kTags);
        t.doc.markChanged();
        session->afterCommand();
        QVERIFY(session->copyTimer().isActive());
        QVERIFY(session->recoveryCopy().path().isEmpty()); // not at once
        const int first = session->copyTimer().remainingTime();
        QVERIFY(first > Session::kCopyDelayMs - 1000);
        QThread::msleep(100);
        t.doc.markChanged();
        session->afterCommand();
        QVERIFY(session->copyTimer().remainingTime() <= first - 90);
        session->writeCopy();
        const QString copy = session->recoveryCopy().path();
        QVERIFY(QFile::exists(copy));
        session->afterCommand(); // nothing new: no copy due
        QVERIFY(!session->copyTimer().isActive());

        t.doc.markSaved(); // saved, or replaced by Nytt or Öppna
        session->afterCommand();
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!session->copyTimer().isActive());

        t.doc.markChanged();
        session->afterCommand();
        session->writeCopy();
        QVERIFY(QFile::exists(session->recoveryCopy().path()));
        // A normal end, after Nej at the save prompt: the copy goes too.
        const QString last = session->recoveryCopy().path();
        session.reset();
        QVERIFY(!QFile::exists(last));
    }

    void sessionStartsWithTheCopyThenTheArgument_data()
    {
        QTest::addColumn<bool>("copyLeft");
        QTest::addColumn<bool>("yes");         // the answer to Återställ
        QTest::addColumn<QString>("argument"); // after the program's name; "-" for none
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("messages");
        QTest::newRow("a file") << false << false << "start.brk"
                                << "start.brk - Ovelda Taggverk" << 0;
        QTest::newRow("no argument") << false << false << "-"
                                     << "Namnlös - Ovelda Taggverk" << 0;
        QTest::newRow("an empty argument") << false << false << ""
                                           << "Namnlös - Ovelda Taggverk" << 0;
        QTest::newRow("a missing file") << false << false << "saknas.brk"
                                        << "Namnlös - Ovelda Taggverk" << 1;
        QTest::newRow("a copy taken back: the file waits") << true << true << "start.brk"
                                                           << "lista.brk - Ovelda Taggverk" << 1;
        QTest::newRow("a copy refused: the file opens") << true << false << "start.brk"
                                                        << "start.brk - Ovelda Taggverk" << 1;
    }
    void sessionStartsWithTheCopyThenTheArgument()
    {
        QFETCH(bool, copyLeft);
        QFETCH(bool, yes);
        QFETCH(QString, argument);
        QFETCH(QString, caption);
        QFETCH(int, messages);
        const QString folder = m_dir.filePath(QStringLiteral("kopior"));
        if (copyLeft)
            QVERIFY(!leaveCopy(folder).isEmpty());
        QFile f(m_dir.filePath(QStringLiteral("start.brk")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("\"s\",\"t\",1\r\n") > 0);
        f.close();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        TestDoc t;
        t.desktop.answers.push_back(yes ? Desktop::Answer::Yes : Desktop::Answer::No);
        Session session(t.doc, folder);
        QStringList arguments{QStringLiteral("taggverk")};
        if (argument != QLatin1String("-"))
            arguments << argument << QStringLiteral("ignored.brk");
        session.start(arguments);
        QCOMPARE(t.desktop.caption, caption);
        QCOMPARE(int(t.desktop.messages.size()), messages);
        if (messages == 1 && !copyLeft)
            QCOMPARE(t.desktop.messages[0].prompt, QStringLiteral("Filen fanns inte!"));
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
