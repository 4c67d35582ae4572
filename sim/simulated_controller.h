#pragma once

#include "controller_messages.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTextStream>

class QSocketNotifier;

// A QTRV controller on a pseudo-terminal. It answers each read request ("R" and a carriage
// return) with a report of its settings and takes each save command into them. Faults make it
// misbehave the way real lines and controllers do.
class SimulatedController : public QObject {
    Q_OBJECT
  public:
    enum class Fault {
        None,
        Silent,  // never answers
        Short,   // answers with fewer characters than a report has
        Garbage, // answers with text that is not a report
        Slow,    // sends the report in small pieces, a pause between them
        Hangup,  // hangs up the line after some seconds
        Flood,   // after the first request, sends reports back to back without end
    };

    struct Options {
        QString name = QStringLiteral("sim");
        TuningParameters settings{100, 100, 100, 100, 0, 33, false, false, false};
        Fault fault = Fault::None;
        int hangupAfterMs = 5000;
        int pieceDelayMs = 100;
    };

    SimulatedController(Options options, QTextStream& log, QObject* parent = nullptr);
    ~SimulatedController() override;

    // Opens the pseudo-terminal and publishes it; false with a message in `error` otherwise.
    bool start(QString* error);
    QString portPath() const { return m_linkPath; }
    QString report() const;

  signals:
    void finished(); // the line was hung up

  private:
    void readRequests();
    void handleLine(const QByteArray& line);
    void takeSaveCommand(const QByteArray& line);
    void send(const QByteArray& bytes);
    void writePending();
    void hangUp();

    Options m_options;
    QTextStream& m_log;
    int m_master = -1;
    int m_slave = -1;
    QString m_linkPath;
    QByteArray m_received;
    QByteArray m_pending; // bytes waiting for room on the line
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
    bool m_flooding = false;
};
