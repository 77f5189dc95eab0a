// New, Exit and closing the window: the save prompt and what each answer
// does to the list, its file name and the changes flag.
#include "FakeDesktop.h"

#include "app/Commands.h"
#include "edit/RowEditor.h"
#include "files/FileCommands.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
using A = Desktop::Answer;

enum class Drop { New, Close, Exit };
// What the save answer scripted for the Yes case does.
enum class SaveOutcome { None, Saved, DialogCancelled, WriteFails };
} // namespace

Q_DECLARE_METATYPE(Drop)
Q_DECLARE_METATYPE(SaveOutcome)
Q_DECLARE_METATYPE(std::optional<Desktop::Answer>)
Q_DECLARE_METATYPE(std::function<void()>)

class TestClosing : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // Runs the command; true when the list was dropped (reset or closed).
    static bool run(TestDoc &t, Drop c)
    {
        switch (c) {
        case Drop::New: {
            const int rows = t.doc.grid.rows();
            newFile(t.doc);
            return t.doc.grid.rows() == 2 && rows != 2;
        }
        case Drop::Close:
            return !Form_QueryUnload(t.doc);
        case Drop::Exit: {
            bool closed = false;
            t.desktop.onRequestClose = [&] { closed = !Form_QueryUnload(t.doc); };
            runCommand(t.doc, Command::Exit);
            return closed;
        }
        }
        return false;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void promptAnswers_data()
    {
        QTest::addColumn<Drop>("command");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<std::optional<A>>("answer");
        QTest::addColumn<SaveOutcome>("save");
        QTest::addColumn<bool>("dropped");

        const std::pair<Drop, const char *> commands[] = {
            {Drop::New, "New"}, {Drop::Close, "close"}, {Drop::Exit, "Exit"}};
        for (const auto &[c, name] : commands) {
            auto row = [&](const char *what) -> QTestData & { return QTest::addRow("%s, %s", name, what); };
            row("no changes") << c << false << std::optional<A>() << SaveOutcome::None << true;
            row("No") << c << true << std::optional(A::No) << SaveOutcome::None << true;
            row("Cancel") << c << true << std::optional(A::Cancel) << SaveOutcome::None << false;
            row("Yes, saved") << c << true << std::optional(A::Yes) << SaveOutcome::Saved << true;
            row("Yes, dialog cancelled") << c << true << std::optional(A::Yes) << SaveOutcome::DialogCancelled << false;
            row("Yes, file not written") << c << true << std::optional(A::Yes) << SaveOutcome::WriteFails << false;
        }
    }

    void promptAnswers()
    {
        QFETCH(Drop, command);
        QFETCH(bool, changed);
        QFETCH(std::optional<A>, answer);
        QFETCH(SaveOutcome, save);
        QFETCH(bool, dropped);

        TestDoc t;
        if (changed) {
            // Typed, so that there is a step Ångra would take back: nothing
            // but the save prompt may follow the command.
            t.fields.set("Pump 1", "", "12");
            cmdUppdatera_Click(t.doc);
        } else {
            t.addTags({{"Pump 1", "", "12"}});
        }
        if (answer)
            t.desktop.answers.push_back(*answer);
        const QString target = m_dir.filePath(QStringLiteral("%1.brk").arg(QTest::currentDataTag()));
        QFile::remove(target);
        if (save == SaveOutcome::Saved)
            t.desktop.dialogAnswers.push_back(FakeDesktop::choice(target));
        if (save == SaveOutcome::WriteFails)
            t.desktop.dialogAnswers.push_back(FakeDesktop::choice(m_dir.filePath("saknas/x.brk")));

        QCOMPARE(run(t, command), dropped);

        if (changed) {
            QVERIFY(!t.desktop.messages.empty());
            const auto &p = t.desktop.messages[0];
            QCOMPARE(p.prompt, QStringLiteral("Vill du spara de ändringar du har gjort?"));
            QCOMPARE(p.title, QStringLiteral("Spara ändringar?"));
            QCOMPARE(p.icon, Desktop::Icon::Question);
            QCOMPARE(p.buttons, Desktop::Buttons::YesNoCancel);
        } else {
            QVERIFY(t.desktop.messages.empty());
        }
        // A failed write is reported; nothing else is shown.
        QCOMPARE(t.desktop.messages.size(), size_t(changed ? (save == SaveOutcome::WriteFails ? 2 : 1) : 0));
        QCOMPARE(t.desktop.dialogs.size(), size_t(save == SaveOutcome::None ? 0 : 1));
        QCOMPARE(QFile::exists(target), save == SaveOutcome::Saved);

        if (command == Drop::New && dropped) {
            QCOMPARE(t.doc.FilNamn, QString());
            QCOMPARE(t.desktop.caption, QStringLiteral("Namnlös - Ovelda Taggverk"));
            QVERIFY(!t.doc.Andrad());
        }
        if (!dropped) {
            QCOMPARE(t.column(1), QStringList({"Pump 1", ""}));
            QVERIFY(t.doc.Andrad());
        }
    }

    void aFailingCommandNeverEndsTheProgram_data()
    {
        QTest::addColumn<std::function<void()>>("work");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("out of memory") << std::function<void()>([] { throw std::bad_alloc(); })
                                       << QStringLiteral("Minnet räckte inte.");
        QTest::newRow("the table refuses") << std::function<void()>([] { throw TagGrid::Error("Ogiltigt radnummer"); })
                                           << QStringLiteral("Kommandot kunde inte slutföras.\nOgiltigt radnummer");
    }
    void aFailingCommandNeverEndsTheProgram()
    {
        QFETCH(std::function<void()>, work);
        QFETCH(QString, prompt);
        TestDoc t;
        runGuarded(t.doc, work);
        QCOMPARE(t.desktop.messages.size(), size_t(1));
        QCOMPARE(t.desktop.messages[0].prompt, prompt);
        QCOMPARE(t.desktop.messages[0].title, QStringLiteral("Fel"));
        QCOMPARE(t.desktop.messages[0].icon, Desktop::Icon::Warning);
    }

    void newResetsAnOpenFileAtOnce()
    {
        TestDoc t;
        t.addTags({{"a", "b", "1"}, {"c", "d", "2"}});
        t.doc.FilNamn = QStringLiteral("/tmp/lista.brk");
        t.desktop.caption = QStringLiteral("lista.brk - Ovelda Taggverk");
        runCommand(t.doc, Command::New);
        QVERIFY(t.desktop.messages.empty());
        QCOMPARE(t.doc.FilNamn, QString());
        QCOMPARE(t.desktop.caption, QStringLiteral("Namnlös - Ovelda Taggverk"));
        QCOMPARE(t.doc.grid.rows(), 2);
        QCOMPARE(t.rowText(1), QStringLiteral("1|||"));
        QCOMPARE(t.doc.grid.row(), 1);
        QCOMPARE(t.doc.grid.colSel(), 3);
    }

    void closeYesSavesInPlace()
    {
        const QString target = m_dir.filePath(QStringLiteral("stang.BRK"));
        TestDoc t;
        t.addTags({{"a", "", "1"}});
        t.doc.FilNamn = target;
        t.doc.markChanged();
        t.desktop.answers.push_back(A::Yes);
        QVERIFY(!Form_QueryUnload(t.doc));
        QVERIFY(t.desktop.dialogs.empty());
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\"a\",\" \",1\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestClosing)
#include "test_closing.moc"
