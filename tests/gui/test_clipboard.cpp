// The real desktop's clipboard on the offscreen platform: only text counts
// as something to paste.
#include "WindowTest.h"
#include "app/widgets/Huvudbild.h"
#include "app/widgets/QtDesktop.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

namespace {
}

class TestClipboard : public QObject {
    Q_OBJECT

    std::unique_ptr<Huvudbild> w;

    // Everything Paste could change, as one text.
    QString state() const
    {
        const TagGrid &g = w->document().grid;
        QStringList s;
        for (int r = 0; r < g.rows(); ++r)
            for (int c = 0; c < g.cols(); ++c)
                s << g.textAt(r, c);
        s << QStringLiteral("%1,%2,%3,%4").arg(g.row()).arg(g.col()).arg(g.rowSel()).arg(g.colSel());
        s << w->txtRad1()->text() << w->txtRad2()->text() << w->txtAntal()->text();
        s << QString::number(w->document().Andrad());
        return s.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase() { Huvudbild::installApplicationSettings(*qApp); }
    void init()
    {
        useOwnSettings();
        w = std::make_unique<Huvudbild>();
        QVERIFY(shown(*w));
        commitTag(*w, QStringLiteral("Pump 1"), QStringLiteral("Källare"), QStringLiteral("12"));
        w->document().markSaved();
        // Typed but not committed: a Paste that reloads the fields loses it.
        w->txtRad1()->setText(QStringLiteral("påbörjad"));
    }
    void cleanup() { QVERIFY(closeDiscarding(w)); }

    void onlyTextIsPasted_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("hasText");
        QTest::newRow("a picture alone") << QStringLiteral("image") << false;
        QTest::newRow("other data alone") << QStringLiteral("other") << false;
        QTest::newRow("nothing") << QStringLiteral("empty") << false;
        QTest::newRow("text") << QStringLiteral("text") << true;
        QTest::newRow("an empty text") << QStringLiteral("emptytext") << true;
    }
    void onlyTextIsPasted()
    {
        QFETCH(QString, kind);
        QFETCH(bool, hasText);
        auto *data = new QMimeData;
        if (kind == QLatin1String("image")) {
            QImage image(16, 16, QImage::Format_RGB32);
            image.fill(Qt::red);
            data->setImageData(image);
        } else if (kind == QLatin1String("other")) {
            data->setData(QStringLiteral("application/x-other"), "A\t\t1\n");
        } else if (kind == QLatin1String("text")) {
            data->setText(QStringLiteral("Ny\tÅ\t4\n"));
        } else if (kind == QLatin1String("emptytext")) {
            data->setText(QString());
        }
        QGuiApplication::clipboard()->setMimeData(data);

        QtDesktop desktop(nullptr, Twips());
        QCOMPARE(desktop.clipboardHasText(), hasText);

        const QString before = state();
        w->action(Command::Paste)->trigger();
        if (!hasText) {
            // Nothing at all: the list is not marked changed, the typed text stays.
            QCOMPARE(state(), before);
            return;
        }
        // Any text counts: reselected, reloaded (the entry row) and changed.
        QVERIFY(w->document().Andrad());
        QCOMPARE(w->txtRad1()->text(), QString());
        QCOMPARE(w->document().grid.rows(), kind == QLatin1String("text") ? 4 : 3);
    }
};

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
