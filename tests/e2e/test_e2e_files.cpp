// Save, Open and closing with the real window, the real file dialog and the
// real message boxes: two typed tags are saved through "Spara som...", the
// file's bytes compared, the file opened again, and the window closed with
// changes through the save prompt.
#include "OwnSettings.h"
#include "Process.h"
#include "app/widgets/Huvudbild.h"
#include "table/widgets/GridView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <deque>
#include <functional>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void saveScreenshot(const QString &name)
{
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = QDir(QStringLiteral(TAGGVERK_ARTIFACT_DIR)).filePath(name);
    if (!shot.save(path))
        qWarning("could not save %s", qPrintable(path));
}

// Answers the modal windows a command opens, one step per window, from a
// timer that looks for QApplication::activeModalWidget(). A step acts the
// way a user does and lets the window's own event loop take the click, so
// that a window opened by that click gets its turn too.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget *)>;

    explicit ModalScript(std::deque<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
        m_timer.start();
        m_deadline.setRemainingTime(20000);
    }
    bool done() const { return m_steps.empty() && m_error.isEmpty(); }
    QString error() const { return m_error.isEmpty() && !m_steps.empty() ? QStringLiteral("steps left") : m_error; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_deadline.hasExpired()) {
            m_error = QStringLiteral("no window came for a step");
            m_steps.clear();
            if (modal) // do not leave the test hanging in it
                QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        }
        if (m_steps.empty()) {
            m_timer.stop();
            return;
        }
        if (!modal || !modal->isVisible() || modal == m_last)
            return;
        m_last = modal;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(modal);
    }

    std::deque<Step> m_steps;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    QPointer<QWidget> m_last;
    QString m_error;
};

void clickLater(QAbstractButton *b)
{
    QVERIFY(b);
    QVERIFY(b->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(b->window()));
    // A real mouse click, later, once the window is placed and active.
    QTimer::singleShot(0, b, [b] { QTest::mouseClick(b, Qt::LeftButton); });
}

// A message box step: checks its words and presses one button.
ModalScript::Step answer(const QString &title, const QString &text, QMessageBox::StandardButton button,
                         const QString &screenshot = QString())
{
    return [=](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        QVERIFY2(box, w->metaObject()->className());
        QCOMPARE(box->windowTitle(), title);
        if (!text.isNull())
            QCOMPARE(box->text(), text);
        if (!screenshot.isEmpty()) {
            QTest::qWait(200);
            saveScreenshot(screenshot);
        }
        clickLater(box->button(button));
    };
}

// A file dialog step: types the name as a user would and accepts.
ModalScript::Step chooseFile(const QString &title, const QString &name, const QString &screenshot = QString())
{
    return [=](QWidget *w) {
        auto *dlg = qobject_cast<QFileDialog *>(w);
        QVERIFY2(dlg, w->metaObject()->className());
        QCOMPARE(dlg->windowTitle(), title);
        QCOMPARE(dlg->nameFilters(),
                 QStringList({QStringLiteral("Märkbricksfiler (*.brk)"), QStringLiteral("Alla filer (*.*)")}));
        QCOMPARE(dlg->selectedNameFilter(), QStringLiteral("Märkbricksfiler (*.brk)"));
        QCOMPARE(dlg->defaultSuffix(), QStringLiteral("brk"));
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->clear();
        // The name completer lists the folder in the background and may pop
        // up after the name is typed, taking the click meant for the button;
        // a user would see it and click again, the script cannot.
        edit->setCompleter(nullptr);
        QTest::keyClicks(edit, name);
        if (!screenshot.isEmpty()) {
            QTest::qWait(200);
            saveScreenshot(screenshot);
        }
        auto *buttons = dlg->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        QVERIFY(
            buttons
                ->button(dlg->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open)
                ->isEnabled());
        // Return in the name field, as a user would: it presses the dialog's
        // default button wherever the window manager has put it by now.
        QTimer::singleShot(0, edit, [edit] { QTest::keyClick(edit, Qt::Key_Return); });
    };
}

const QString kPrompt = QStringLiteral("Vill du spara de ändringar du har gjort?");
const QString kPromptTitle = QStringLiteral("Spara ändringar?");
} // namespace

class TestE2eFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;
    QTemporaryDir m_dir;

    void type(const QString &a, const QString &b, const QString &c)
    {
        // Letters outside ASCII cannot be typed by QTest; those go in whole.
        for (auto [edit, text] : {std::pair{w->txtRad1(), a}, {w->txtRad2(), b}, {w->txtAntal(), c}}) {
            edit->clear();
            if (text.toLatin1() == text.toUtf8())
                QTest::keyClicks(edit, text);
            else
                edit->setText(text);
        }
        QTest::mouseClick(w->cmdUppdatera(), Qt::LeftButton);
    }
    // Runs a File menu entry while the script answers what it opens.
    void run(Command command, std::deque<ModalScript::Step> steps)
    {
        ModalScript script(std::move(steps));
        w->action(command)->trigger();
        QVERIFY2(script.done(), qPrintable(script.error()));
    }
    QString cell(int row, int col) const { return w->document().grid.textAt(row, col); }

private slots:
    void initTestCase()
    {
        useOwnSettings();
        QVERIFY(m_dir.isValid());
        Huvudbild::installApplicationSettings(*qApp);
        w = std::make_unique<Huvudbild>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void saveTwoTypedTags()
    {
        type(QStringLiteral("Pump 1"), QString(), QStringLiteral("12"));
        type(QStringLiteral("Källare"), QStringLiteral("A, B"), QStringLiteral("1"));
        QVERIFY(w->document().Andrad());

        // A name without an extension gets ".brk".
        run(Command::SaveAs,
            {chooseFile(QStringLiteral("Spara som"), m_dir.filePath("lista"), "e2e_files_save_dialog.png")});
        const QString file = m_dir.filePath("lista.brk");
        QCOMPARE(readBytes(file), QByteArray("\"Pump 1\",\" \",12\r\n\"K\xe4llare\",\"A, B\",1\r\n"));
        QCOMPARE(w->windowTitle(), QStringLiteral("lista.brk - Ovelda Taggverk"));
        QCOMPARE(w->document().FilNamn, file);
        QVERIFY(!w->document().Andrad());
        // The cursor went back to its cell; the selection is that cell alone.
        QCOMPARE(w->document().grid.row(), 3);
        QCOMPARE(w->document().grid.rowSel(), 3);
        QCOMPARE(w->document().grid.colSel(), 1);
    }

    void saveAsOntoTheFileAsksBeforeReplacing()
    {
        type(QStringLiteral("Tredje"), QString(), QStringLiteral("3"));
        const QString file = m_dir.filePath("lista.brk");
        const QByteArray before = readBytes(file);
        // "No" to replacing leaves the dialog open; then it is cancelled.
        run(Command::SaveAs, {chooseFile(QStringLiteral("Spara som"), file),
                              [](QWidget *box) {
                                  QVERIFY(qobject_cast<QMessageBox *>(box));
                                  clickLater(static_cast<QMessageBox *>(box)->button(QMessageBox::No));
                              },
                              [](QWidget *dlg) {
                                  QVERIFY(qobject_cast<QFileDialog *>(dlg));
                                  QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
                              }});
        QCOMPARE(readBytes(file), before);
        QVERIFY(w->document().Andrad());

        run(Command::SaveAs, {chooseFile(QStringLiteral("Spara som"), file), [](QWidget *box) {
                                  QVERIFY(qobject_cast<QMessageBox *>(box));
                                  clickLater(static_cast<QMessageBox *>(box)->button(QMessageBox::Yes));
                              }});
        QCOMPARE(readBytes(file), before + "\"Tredje\",\" \",3\r\n");
        QVERIFY(!w->document().Andrad());
    }

    void openAgain()
    {
        // A new list, changed, then Open: the prompt, "No", and the dialog.
        run(Command::New, {});
        QCOMPARE(w->windowTitle(), QStringLiteral("Namnlös - Ovelda Taggverk"));
        type(QStringLiteral("kastas"), QString(), QStringLiteral("1"));

        run(Command::Open,
            {answer(kPromptTitle, kPrompt, QMessageBox::No),
             chooseFile(QStringLiteral("Öppna"), m_dir.filePath("finns-inte.brk")),
             answer(QStringLiteral("Fil saknas"), QStringLiteral("Filen fanns inte!"), QMessageBox::Ok)});
        QCOMPARE(cell(1, 1), QStringLiteral("kastas"));

        run(Command::Open,
            {answer(kPromptTitle, kPrompt, QMessageBox::No),
             chooseFile(QStringLiteral("Öppna"), m_dir.filePath("lista.brk"), "e2e_files_open_dialog.png")});
        QCOMPARE(w->windowTitle(), QStringLiteral("lista.brk - Ovelda Taggverk"));
        QCOMPARE(w->document().grid.rows(), 5);
        QCOMPARE(cell(1, 1), QStringLiteral("Pump 1"));
        QCOMPARE(cell(1, 2), QStringLiteral(" "));
        QCOMPARE(cell(2, 1), QStringLiteral("Källare"));
        QCOMPARE(cell(2, 2), QStringLiteral("A, B"));
        QCOMPARE(cell(3, 3), QStringLiteral("3"));
        QCOMPARE(w->document().grid.row(), 4);
        QVERIFY(w->txtRad1()->text().isEmpty() && w->txtAntal()->text().isEmpty());
        QVERIFY(!w->document().Andrad());
        const QAbstractItemModel *m = w->grid()->model();
        QCOMPARE(m->data(m->index(1, 0)).toString(), QStringLiteral("Källare"));
        QTest::qWait(300);
        saveScreenshot(QStringLiteral("e2e_files_opened.png"));
    }

    void openANamedPipe()
    {
#ifdef Q_OS_UNIX
        const QString fifo = m_dir.filePath("x.brk");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // After a second a writer comes: it frees an Open blocked on the pipe
        // (the test then fails instead of hanging) and finds no reader when
        // Open did not touch it.
        std::atomic<bool> blocked = false;
        std::thread watchdog([&] {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                blocked = true;
                ::close(fd);
            }
        });
        const QString before = cell(1, 1);
        run(Command::Open,
            {chooseFile(QStringLiteral("Öppna"), fifo),
             answer(QStringLiteral("Fil saknas"), QStringLiteral("Filen fanns inte!"), QMessageBox::Ok)});
        watchdog.join();
        QVERIFY2(!blocked, "Open waited for a writer on the pipe");
        QCOMPARE(w->windowTitle(), QStringLiteral("lista.brk - Ovelda Taggverk"));
        QCOMPARE(cell(1, 1), before);
        QVERIFY(QFile::remove(fifo));
#else
        QSKIP("named pipes in the file system are a Unix feature");
#endif
    }

    void saveAsksWhenAnotherProgramReplacedTheFile()
    {
        const QString file = m_dir.filePath("lista.brk");
        const QByteArray other("\"annat\",\"program\",1\r\n");
        {
            QFile f(m_dir.filePath("ny.tmp"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(other);
        }
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(m_dir.filePath("ny.tmp"), file));
        type(QStringLiteral("Min"), QStringLiteral("rad"), QStringLiteral("2"));
        const QString question = QStringLiteral("Filen har ändrats av ett annat program sedan den öppnades eller "
                                                "sparades.\nVill du skriva över den?");
        run(Command::Save, {[&](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QStringLiteral("Spara"));
                QCOMPARE(box->text(), question);
                QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
                QTest::qWait(200);
                saveScreenshot(QStringLiteral("e2e_files_changed_on_disk.png"));
                clickLater(box->button(QMessageBox::No));
            }});
        QCOMPARE(readBytes(file), other);
        QVERIFY(w->document().Andrad());

        run(Command::Save, {answer(QStringLiteral("Spara"), question, QMessageBox::Yes)});
        QVERIFY(readBytes(file).endsWith("\"Min\",\"rad\",2\r\n"));
        QVERIFY(!w->document().Andrad());
    }

    void closeWithChanges()
    {
        type(QStringLiteral("Sista"), QStringLiteral("rad"), QStringLiteral("7"));
        const QString file = m_dir.filePath("lista.brk");
        const QByteArray before = readBytes(file);
        {
            // Cancel keeps the window open and the list as it is.
            ModalScript script({answer(kPromptTitle, kPrompt, QMessageBox::Cancel, "e2e_files_close_prompt.png")});
            QVERIFY(!w->close());
            QVERIFY2(script.done(), qPrintable(script.error()));
        }
        QVERIFY(w->isVisible());
        QVERIFY(w->document().Andrad());
        QCOMPARE(readBytes(file), before);
        {
            // Yes saves in place, without a dialog, and the window closes.
            ModalScript script({answer(kPromptTitle, kPrompt, QMessageBox::Yes)});
            QVERIFY(w->close());
            QVERIFY2(script.done(), qPrintable(script.error()));
        }
        QVERIFY(!w->isVisible());
        QCOMPARE(readBytes(file), before + "\"Sista\",\"rad\",7\r\n");
        w.reset();
    }

    // The real program started with a tag file, as a file manager starts
    // it: the list is in its window, named in the caption.
    void startedWithATagFile()
    {
        const QString file = m_dir.filePath(QStringLiteral("start.brk"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\"Pump 1\",\" \",12\r\n");
        }
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(m_dir.path());
        program.start(QStringLiteral(TAGGVERK_PROGRAM), {QStringLiteral("start.brk")});
        QVERIFY(program.waitForStarted());
        QByteArray tree;
        QTRY_VERIFY_WITH_TIMEOUT((runProcess(QStringLiteral("xwininfo"), {"-root", "-tree"}, &tree),
                                  tree.contains("\"start.brk - Ovelda Taggverk\"")),
                                 20000);
        program.kill();
        program.waitForFinished();
    }

    // Three tags typed into the real program, which is then killed: the next
    // start offers them back, and Ja brings them back.
    void killedProgramLosesNothingTyped()
    {
        const QString data = m_dir.filePath(QStringLiteral("kill-data"));
        if (w)
            w->hide(); // the keys must reach the program's window only
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TAGGVERK_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QByteArray id;
        // Its own window, not this test's, which has the same caption.
        const QString pid = QString::number(program.processId());
        QTRY_VERIFY_WITH_TIMEOUT(
            runProcess(QStringLiteral("xdotool"),
                       {"search", "--onlyvisible", "--pid", pid, "--name", "Namnlös - Ovelda Taggverk"}, &id) &&
                !id.trimmed().isEmpty(),
            20000);
        const QString window = QString::fromLatin1(id.trimmed().split('\n').first());
        QTest::qWait(1000); // shown, and its first field given the focus
        QVERIFY(runProcess(QStringLiteral("xdotool"), {"windowfocus", "--sync", window}));
        QTest::qWait(300);
        for (const char *text : {"Pump 1", "Pump 2", "Pump 3"}) {
            // Text 1, Tab Tab to Antal, Tab to Uppdatera and Space: the
            // focus goes back to the first field.
            QVERIFY(runProcess(QStringLiteral("xdotool"), {"type", "--delay", "20", text}));
            QVERIFY(runProcess(QStringLiteral("xdotool"), {"key", "--delay", "50", "Tab", "Tab", "3", "Tab", "space"}));
            QTest::qWait(200);
        }
        QTest::qWait(3000);
        runProcess(QStringLiteral("import"),
                   {"-window", "root", QStringLiteral(TAGGVERK_ARTIFACT_DIR) + QStringLiteral("/e2e_before_kill.png")});
        program.kill(); // SIGKILL: nothing of the program runs after it
        QVERIFY(program.waitForFinished());
        QCOMPARE(QDir(data + QStringLiteral("/Ovelda Taggverk/recovery"))
                     .entryList({QStringLiteral("*.taggverk-kopia")}, QDir::Files)
                     .size(),
                 1);

        // The next start, in this process, with the same data folder.
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        auto again = std::make_unique<Huvudbild>();
        again->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.get()));
        ModalScript script({answer(QStringLiteral("Återställ"),
                                   QStringLiteral("Ovelda Taggverk avslutades utan att ändringarna i \"Namnlös\" "
                                                  "sparades.\nVill du återställa dem?"),
                                   QMessageBox::Yes)});
        again->start({QStringLiteral("taggverk")});
        QVERIFY2(script.done(), qPrintable(script.error()));
        qputenv("XDG_DATA_HOME", before);
        const TagGrid &g = again->document().grid;
        QCOMPARE(g.rows(), 5);
        for (int r = 1; r <= 3; ++r) {
            QCOMPARE(g.textAt(r, 1), QStringLiteral("Pump %1").arg(r));
            QCOMPARE(g.textAt(r, 3), QStringLiteral("3"));
        }
        QVERIFY(again->document().Andrad());
        again->document().markSaved(); // closes without the save prompt
        again.reset();
    }
};

QTEST_MAIN(TestE2eFiles)
#include "test_e2e_files.moc"
