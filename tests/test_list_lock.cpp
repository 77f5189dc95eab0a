// The lock beside an open list, on the real file system: its bytes (the
// same from every system), what each command does with it, and what a user
// sees when another program holds the list.
#include "FakeDesktop.h"
#include "WithoutRoot.h"

#include "app/Commands.h"
#include "document/ListLock.h"
#include "files/FileCommands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
using A = Desktop::Answer;
using Action = std::function<void(TestDoc &, const QString &dir)>;

QByteArray fixture()
{
    QFile f(QStringLiteral(":/lock-linux.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// A lock another program holds: on this computer (a process that runs, this
// very one) or on another.
QByteArray lockOf(const QString &host, qint64 pid)
{
    LockOwner o;
    o.user = QStringLiteral("anna");
    o.host = host;
    o.pid = pid;
    o.since = QDateTime(QDate(2026, 12, 7), QTime(14, 2));
    return o.toBytes();
}

void open(TestDoc &t, const QString &path)
{
    t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path));
    runCommand(t.doc, Command::Open);
}

// The list names whose lock this program holds, in the folder.
QStringList lockedByUs(const QString &dir)
{
    QStringList names;
    for (const QString &name : QDir(dir).entryList({".*.taggverk-lock"}, QDir::Files | QDir::Hidden)) {
        const auto owner = ListLock::holderOf(dir + "/" + name.mid(1).chopped(14));
        // Hidden from a folder's listing (on Windows by the attribute).
        if (owner && owner->isThisProgram() && QFileInfo(dir + "/" + name).isHidden())
            names << name.mid(1).chopped(14);
    }
    return names;
}
} // namespace

Q_DECLARE_METATYPE(Action)

class TestListLock : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        for (const char *name : {"lista.brk", "annan.brk"})
            write(path(name), "\"a\",\"b\",1\r\n");
    }
    void cleanup()
    {
        QDir dir(m_dir.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            dir.remove(name);
    }

    // Written by the Linux program; read, and written the same, here.
    void bytesAreTheSameEverywhere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("as written") << fixture();
        QTest::newRow("CR LF, a key unknown, a blank line")
            << QByteArray(fixture()).replace("\n", "\r\n").prepend("version=2\r\n\r\n");
    }
    void bytesAreTheSameEverywhere()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!fixture().isEmpty());
        const LockOwner o = LockOwner::fromBytes(bytes);
        QCOMPARE(o.user, QStringLiteral("åsa"));
        QCOMPARE(o.host, QStringLiteral("verkstad-pc"));
        QCOMPARE(o.pid, qint64(4242));
        QCOMPARE(o.since, QDateTime(QDate(2026, 12, 7), QTime(14, 2)));
        QCOMPARE(o.toBytes(), fixture());
        // A lock of another computer is never stale; this one is ours.
        QVERIFY(!o.isStale() && !o.isThisProgram());
        QVERIFY(LockOwner::thisProgram().isThisProgram() && !LockOwner::thisProgram().user.isEmpty());
    }

    void lifeCycle_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("locked"); // the lists whose lock is ours afterwards
        QTest::newRow("Öppna") << Action([](TestDoc &t, const QString &d) { open(t, d + "/lista.brk"); })
                               << QStringList{"lista.brk"};
        QTest::newRow("Öppna, Nytt") << Action([](TestDoc &t, const QString &d) {
            open(t, d + "/lista.brk");
            runCommand(t.doc, Command::New);
        }) << QStringList();
        QTest::newRow("Öppna, Öppna another") << Action([](TestDoc &t, const QString &d) {
            open(t, d + "/lista.brk");
            open(t, d + "/annan.brk");
        }) << QStringList{"annan.brk"};
        QTest::newRow("Öppna, Öppna the same") << Action([](TestDoc &t, const QString &d) {
            open(t, d + "/lista.brk");
            open(t, d + "/lista.brk");
        }) << QStringList{"lista.brk"};
        QTest::newRow("Öppna, Spara som") << Action([](TestDoc &t, const QString &d) {
            open(t, d + "/lista.brk");
            t.desktop.dialogAnswers.push_back(FakeDesktop::choice(d + "/ny.brk"));
            runCommand(t.doc, Command::SaveAs);
        }) << QStringList{"ny.brk"};
        QTest::newRow("Spara som, untitled") << Action([](TestDoc &t, const QString &d) {
            t.desktop.dialogAnswers.push_back(FakeDesktop::choice(d + "/ny.brk"));
            runCommand(t.doc, Command::SaveAs);
        }) << QStringList{"ny.brk"};
        QTest::newRow("a stale lock: taken over") << Action([](TestDoc &t, const QString &d) {
            // This computer, a process that is gone: what a crash leaves.
            write(d + "/.lista.brk.taggverk-lock", lockOf(LockOwner::thisProgram().host, 0x7ffffff0));
            open(t, d + "/lista.brk");
        }) << QStringList{"lista.brk"};
#ifdef Q_OS_UNIX
        QTest::newRow("through a symbolic link: beside the file") << Action([](TestDoc &t, const QString &d) {
            QFile::link(d + "/lista.brk", d + "/länk.brk");
            open(t, d + "/länk.brk");
        }) << QStringList{"lista.brk"};
        QTest::newRow("a folder that takes no lock") << Action([](TestDoc &t, const QString &d) {
            QFile::setPermissions(d, QFile::Permissions(0x5555));
            {
                WithoutRoot user;
                open(t, d + "/lista.brk");
            }
            QFile::setPermissions(d, QFile::Permissions(0x7777));
            QCOMPARE(t.doc.FilNamn, d + "/lista.brk");
        }) << QStringList();
#endif
    }
    void lifeCycle()
    {
        QFETCH(Action, action);
        QFETCH(QStringList, locked);
        {
            TestDoc t;
            action(t, m_dir.path());
            QCOMPARE(lockedByUs(m_dir.path()), locked);
            QVERIFY(t.desktop.messages.empty());
            QVERIFY(!t.desktop.caption.contains(QStringLiteral("skrivskyddad")));
        }
        // Closed: nothing of ours is left.
        QCOMPARE(lockedByUs(m_dir.path()), QStringList());
    }

    void heldByAnother_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<A>("answer");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("readOnly");
        const QString here = LockOwner::thisProgram().host; // with this process, which runs
        QTest::newRow("Ja: read-only") << here << A::Yes << true << true;
        QTest::newRow("Nej: without a lock") << here << A::No << true << false;
        QTest::newRow("Avbryt: nothing") << here << A::Cancel << false << false;
        QTest::newRow("another computer's, its process unknown here")
            << QStringLiteral("verkstad-pc") << A::Yes << true << true;
    }
    void heldByAnother()
    {
        QFETCH(QString, host);
        QFETCH(A, answer);
        QFETCH(bool, opened);
        QFETCH(bool, readOnly);
        const QString lock = path(".lista.brk.taggverk-lock");
        const QByteArray theirs =
            lockOf(host, host == LockOwner::thisProgram().host ? QCoreApplication::applicationPid() : 0x7ffffff0);
        write(lock, theirs);
        TestDoc t;
        t.addTags({{"mitt", "", "2"}});
        t.desktop.answers.push_back(answer);
        open(t, path("lista.brk"));

        QCOMPARE(t.desktop.messages.size(), size_t(1));
        const FakeDesktop::Message &m = t.desktop.messages[0];
        QCOMPARE(m.prompt, QStringLiteral("Listan \"lista.brk\" är öppen hos anna på %1 sedan 2026-12-07 14:02.\n"
                                          "Vill du öppna den skrivskyddad?")
                               .arg(host));
        QCOMPARE(m.title, QStringLiteral("Listan används"));
        QCOMPARE(m.icon, Desktop::Icon::Question);
        QCOMPARE(m.buttons, Desktop::Buttons::YesNoCancel);
        QCOMPARE(m.defaultButton, std::optional(A::Yes));
        QCOMPARE(t.doc.FilNamn, opened ? path("lista.brk") : QString());
        QCOMPARE(t.column(1).first(), opened ? QStringLiteral("a") : QStringLiteral("mitt"));
        QCOMPARE(t.desktop.caption, opened ? QStringLiteral("lista.brk%1 - Ovelda Taggverk")
                                                 .arg(readOnly ? QStringLiteral(" (skrivskyddad)") : QString())
                                           : QStringLiteral("Namnlös - Ovelda Taggverk"));
        // Their lock stays theirs, whatever the answer.
        QFile f(lock);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), theirs);
        if (!opened)
            return;
        // Spara: a read-only list asks for a new name, refused while another
        // holds that one too; one opened without a lock is written in place.
        write(path(".annan.brk.taggverk-lock"), theirs);
        t.doc.markChanged();
        t.desktop.dialogAnswers.push_back(FakeDesktop::choice(path("annan.brk")));
        runCommand(t.doc, Command::Save);
        QCOMPARE(t.desktop.dialogs.size(), size_t(readOnly ? 2 : 1));
        QCOMPARE(t.doc.Andrad(), readOnly);
        QCOMPARE(t.doc.FilNamn, path("lista.brk"));
        if (readOnly) {
            QCOMPARE(t.desktop.messages.back().prompt,
                     QStringLiteral("Listan \"annan.brk\" är öppen hos anna på %1 sedan 2026-12-07 14:02.\n"
                                    "Den kan inte sparas nu.")
                         .arg(host));
            QCOMPARE(t.desktop.messages.back().title, QStringLiteral("Spara"));
            QCOMPARE(t.desktop.messages.back().icon, Desktop::Icon::Warning);
            QVERIFY(t.desktop.caption.contains(QStringLiteral("(skrivskyddad)")));
            // A free list next: read-only no more, saved in place.
            write(path("fri.brk"), "\"f\",\"g\",1\r\n");
            t.desktop.answers.push_back(A::No); // the changes above are let go
            open(t, path("fri.brk"));
            QCOMPARE(t.desktop.caption, QStringLiteral("fri.brk - Ovelda Taggverk"));
            t.doc.markChanged();
            runCommand(t.doc, Command::Save);
            QVERIFY(!t.doc.Andrad());
            QCOMPARE(t.desktop.dialogs.size(), size_t(3)); // the Öppna dialog only
        }
    }

    // Two programs on one computer: the second asks; once the first has
    // closed the list, it is the second's.
    void twoPrograms()
    {
        auto first = std::make_unique<TestDoc>();
        open(*first, path("lista.brk"));
        TestDoc second;
        second.desktop.answers.push_back(A::Cancel);
        open(second, path("lista.brk"));
        QCOMPARE(second.desktop.messages.size(), size_t(1));
        QVERIFY(second.doc.FilNamn.isEmpty());
        first.reset();
        open(second, path("lista.brk"));
        QCOMPARE(second.desktop.messages.size(), size_t(1));
        QCOMPARE(lockedByUs(m_dir.path()), QStringList{"lista.brk"});
        // Taken over meanwhile by one that believed it stale: closing leaves
        // the new holder's lock alone.
        const QByteArray theirs = lockOf(QStringLiteral("verkstad-pc"), 1);
        write(path(".lista.brk.taggverk-lock"), theirs);
        runCommand(second.doc, Command::New);
        QFile f(path(".lista.brk.taggverk-lock"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), theirs);
    }
};

QTEST_GUILESS_MAIN(TestListLock)
#include "test_list_lock.moc"
