// The real message boxes behind the save prompt and the question before
// writing over another program's change: which button Return and Esc press.
#include "FakeDesktop.h"

#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"
#include "files/FileCommands.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
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
};

QTEST_MAIN(TestQtDesktop)
#include "test_qtdesktop.moc"
