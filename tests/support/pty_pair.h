#pragma once

#include <QByteArray>
#include <QString>

#include <termios.h>

// A pseudo-terminal pair in raw mode. The test plays the far end of the cable on the master
// side; the utility opens the slave path like any serial device. The fixture keeps the slave
// open too, as a cable that is always plugged in: without that, reads at the master fail as
// after a hang-up whenever the utility closes its side.
class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    QString slavePath() const { return m_slavePath; }

    // Writes at the far end. False when the cable has been pulled.
    bool write(const QByteArray& bytes);
    // Everything the utility wrote that arrives within `milliseconds`, while the Qt event loop
    // keeps running. Stops early once `expected` bytes are there (0: wait the whole time).
    QByteArray read(int milliseconds, int expected = 0);
    // Pulls the cable: closes the far end and the fixture's own slave, so the utility's side
    // hangs up.
    void pullCable();
    // The line settings the utility's side of the cable has now.
    termios lineSettings() const;

  private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
