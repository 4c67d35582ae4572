#include "pty_pair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        qFatal("cannot make a pseudo-terminal: %s", strerror(errno));
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    pullCable();
}

bool PtyPair::write(const QByteArray& bytes) {
    if (m_master < 0) {
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const auto n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (n > 0) {
            done += n;
        } else {
            QCoreApplication::processEvents();
        }
    }
    return true;
}

QByteArray PtyPair::read(int milliseconds, int expected) {
    QByteArray got;
    const QDeadlineTimer deadline(milliseconds);
    while (m_master >= 0) {
        QCoreApplication::processEvents();
        char buffer[4096];
        const auto n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, n);
            if (expected > 0 && got.size() >= expected) {
                break;
            }
            continue;
        }
        if (deadline.hasExpired()) {
            break;
        }
        pollfd wait{m_master, POLLIN, 0};
        ::poll(&wait, 1, 5);
    }
    return got;
}

void PtyPair::pullCable() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

termios PtyPair::lineSettings() const {
    termios settings{};
    ::tcgetattr(m_slave, &settings);
    return settings;
}
