#include "Process.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

bool runProcess(const QString &program, const QStringList &args, QByteArray *out, int timeoutMs)
{
    QProcess p;
    if (!out) {
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
    }
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (p.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(10);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
