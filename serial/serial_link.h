#pragma once

#include "port_catalogue.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The window's serial port. It offers exactly what the window needs of a port: a port number,
// line settings, read length, receive threshold, open, is-open, write, a notification with its
// kind, read all waiting, and close. Nothing of QSerialPort shows through.
class SerialLink : public QObject {
    Q_OBJECT
  public:
    enum class CommEvent {
        None,
        Receive,  // at least the receive threshold of characters wait unread
        LinkLost, // the device went away or the far end hung up; the port is closed
    };

    struct OpenResult {
        bool opened = false;
        QString reason; // plain words when not opened: "busy, another program holds it"
    };

    explicit SerialLink(PortCatalogue catalogue, QObject* parent = nullptr);
    ~SerialLink() override;

    void setCommPort(qint16 portNumber);
    qint16 commPort() const { return m_portNumber; }
    // "baud,parity,data bits,stop bits", as in "57600,N,8,1". False when not understood.
    bool setSettings(const QString& settings);
    // Characters a read returns at most; 0 reads all waiting.
    void setInputLen(int characters) { m_inputLen = characters; }
    // Characters that must wait unread before a Receive notification; 0: never notify.
    void setRThreshold(int characters) { m_threshold = characters; }

    OpenResult open();
    bool isOpen() const { return m_port.isOpen(); }
    // Queues the bytes and hands them to the system at once. False when the port is closed or
    // did not take them (the link may have been lost meanwhile).
    bool output(const QByteArray& bytes);
    QByteArray input();
    // Writes out what is still queued, then closes.
    void close();

    // The kind of the latest notification, read inside a handler of onComm.
    CommEvent commEvent() const { return m_event; }
    const PortCatalogue& catalogue() const { return m_catalogue; }

  signals:
    void onComm();

  private:
    void dataArrived();
    void portError(QSerialPort::SerialPortError error);
    void notify(CommEvent event);

    PortCatalogue m_catalogue;
    QSerialPort m_port;
    qint16 m_portNumber = 1;
    qint32 m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    int m_inputLen = 0;
    int m_threshold = 0;
    CommEvent m_event = CommEvent::None;
};
