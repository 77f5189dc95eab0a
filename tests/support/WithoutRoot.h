#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Runs a block without root's right to write anywhere; the saved user id
// lets the test become root again. Elsewhere a read-only file is read-only
// for everyone.
class WithoutRoot {
public:
#ifdef Q_OS_UNIX
    WithoutRoot()
    {
        if (geteuid() == 0)
            m_dropped = setresuid(65534, 65534, 0) == 0;
    }
    ~WithoutRoot()
    {
        if (m_dropped && setresuid(0, 0, 0) != 0)
            qFatal("could not become root again");
    }
    bool ok() const
    {
        return geteuid() != 0;
    }

private:
    bool m_dropped = false;
#else
    bool ok() const
    {
        return true;
    }
#endif
};
