// The real message boxes behind the save prompt and the question before
// writing over another program's change: which button Return and Esc press.
// The real file dialogs: the folder and name they offer, now and at the next
// start.
#include "FakeDesktop.h"

#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"
#include "files/FileCommands.h"
#include "reports/PrintListing.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
using Key = Qt::Key;

// Waits for the next message box, notes it and presses a key in it.
class BoxPresser : public QObject {
public:
    explicit BoxPresser(Key key) : m_key(key)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            m_timer.stop();
            title = box->windowTitle();
            text = box->text();
            defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
            QTest::keyClick(box, m_key);
        });
        m_timer.start(20);
    }
    QString title, text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

private:
    Key m_key;
    QTimer m_timer;
};

// Shows a file dialog and answers it as a user typing answer would (cancels
// without one; types again while the dialog stays, as it may still be
// reading its folder): "folder|name offered|path chosen".
QString answerDialog(QtDesktop &desktop, const Desktop::FileDialogSettings &settings, const QString &answer = {})
{
    QString seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *edit = dlg ? dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit || !dlg->isVisible())
            return;
        if (seen.isEmpty())
            seen = dlg->directory().absolutePath() + '|' + edit->text() + '|';
        if (answer.isEmpty())
            return dlg->reject();
        edit->setText(answer);
        QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
    });
    timer.start(50);
    const std::optional<Desktop::FileChoice> choice = desktop.fileDialog(settings);
    return seen + (choice ? choice->fileName : QString());
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestQtDesktop : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QWidget m_window;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        Huvudbild::installApplicationSettings(*qApp); // the Swedish buttons: "&Ja", "&Nej"
    }

    void savePrompt_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("Return: Ja saves") << int(Qt::Key_Return) << true;
        QTest::newRow("Esc: Avbryt") << int(Qt::Key_Escape) << false;
    }

    void savePrompt()
    {
        QFETCH(int, key);
        QFETCH(bool, goesOn);
        const QString file = m_dir.filePath(QStringLiteral("prompt.brk"));
        QFile::remove(file);
        FakeFields fields;
        QtDesktop desktop(&m_window, Twips());
        Document doc(fields, desktop);
        doc.grid.setRows(2);
        doc.FilNamn = file;
        doc.markChanged();

        BoxPresser press{Key(key)};
        QCOMPARE(maybeSave(doc), goesOn);
        QCOMPARE(press.title, QStringLiteral("Spara ändringar?"));
        QCOMPARE(press.defaultButton, QMessageBox::Yes);
        QCOMPARE(QFile::exists(file), goesOn);
    }

    void changedOnDisk_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Return: Nej") << int(Qt::Key_Return) << false;
        QTest::newRow("Esc: Nej") << int(Qt::Key_Escape) << false;
        QTest::newRow("J: Ja") << int(Qt::Key_J) << true;
    }

    void changedOnDisk()
    {
        QFETCH(int, key);
        QFETCH(bool, saved);
        const QString file = m_dir.filePath(QStringLiteral("andrad.brk"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("annat");
        }
        FakeFields fields;
        QtDesktop desktop(&m_window, Twips());
        Document doc(fields, desktop);
        doc.grid.setRows(2);
        doc.FilNamn = file;
        doc.stamp = FileStamp{1, QDateTime::currentDateTime().addDays(-1)}; // what was read back then

        BoxPresser press{Key(key)};
        bool ok = !saved;
        ok = Spara(doc);
        QCOMPARE(ok, saved);
        QCOMPARE(press.title, QStringLiteral("Spara"));
        QCOMPARE(press.text, QStringLiteral("Filen har ändrats av ett annat program sedan den öppnades eller "
                                            "sparades.\nVill du skriva över den?"));
        QCOMPARE(press.defaultButton, QMessageBox::No);
        QCOMPARE(readBytes(file), saved ? QByteArray() : QByteArray("annat"));
    }

    // The folder of the last tag-file dialog comes back at the next start;
    // the PDF's dialog offers its own name and leaves that folder alone.
    void dialogFolderComesBackAtTheNextStart()
    {
        QTemporaryDir dir;
        const QString a = dir.path() + QStringLiteral("/a"), b = dir.path() + QStringLiteral("/b");
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
        QSettings settings(dir.filePath(QStringLiteral("Taggverk.ini")), QSettings::IniFormat);
        QtDesktop first(&m_window, Twips()), next(&m_window, Twips());
        first.setSettings(&settings);
        next.setSettings(&settings);
        QCOMPARE(answerDialog(first, saveAsDialogSettings(), a + "/lista.brk").section('|', 2), a + "/lista.brk");
        QCOMPARE(answerDialog(next, openDialogSettings()), a + "||");
        FakeFields fields;
        FakeDesktop fake;
        Document doc(fields, fake);
        QCOMPARE(answerDialog(next, pdfDialogSettings(doc), b + "/x.pdf"), a + "|Namnlös.pdf|" + b + "/x.pdf");
        doc.FilNamn = b + "/lista.brk";
        QCOMPARE(answerDialog(next, pdfDialogSettings(doc)), b + "|lista.pdf|");
        QCOMPARE(answerDialog(next, openDialogSettings()), a + "||");
    }
};

QTEST_MAIN(TestQtDesktop)
#include "test_qtdesktop.moc"
