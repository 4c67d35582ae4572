// The serial link: Connect and Disconnect, the port's notifications, taking in a report, Exit.
#include "qtrv.h"

#include "indicator_shape.h"
#include "numbers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string_view>

namespace {

const QString kLineSettings = QStringLiteral("57600,N,8,1");
constexpr int kReadAllWaiting = 0;
constexpr int kReceiveThreshold = 49; // a report is never shorter
constexpr int kBoxDigits = 3;

QString boxText(float value) {
    return QString::fromStdString(FormatPattern(value, kBoxDigits));
}

} // namespace

void QTRV::bOpen_Click() {
    if (MSComm1->isOpen()) {
        disconnectLink();
    } else {
        connectLink();
    }
}

void QTRV::connectLink() {
    const QString portText = pCPort->currentText();
    const auto portNumber = ReadPortNumber(portText.toStdString());
    if (!portNumber) {
        tStatus->setText(
            QStringLiteral("Cannot open port \"%1\": not a port number.").arg(portText.left(12)));
        return;
    }
    MSComm1->setCommPort(*portNumber);
    MSComm1->setSettings(kLineSettings);
    MSComm1->setInputLen(kReadAllWaiting);
    MSComm1->setRThreshold(kReceiveThreshold);
    const SerialLink::OpenResult opened = MSComm1->open();
    if (!opened.opened) {
        // Nothing else changes: the link stays down and the user can pick another port.
        tStatus->setText(
            QStringLiteral("Cannot open port %1: %2.").arg(*portNumber).arg(opened.reason));
        return;
    }
    Shape1->setFillColor(kYellow);
    bOpen->setText(QStringLiteral("Disconnect"));
    setEditingEnabled(false);
    tStatus->setText(QStringLiteral("Waiting for QTRV to respond... check your com port!"));
    // A request the port does not take shows as a lost link, through MSComm1_OnComm.
    MSComm1->output(QByteArray::fromStdString(ReadRequest()));
}

void QTRV::disconnectLink() {
    MSComm1->close();
    showLinkDown();
    tStatus->setText(QStringLiteral("Disconnected."));
}

void QTRV::showLinkDown() {
    Shape1->setFillColor(kRed);
    bOpen->setText(QStringLiteral("Connect"));
    setEditingEnabled(false);
}

void QTRV::setEditingEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{bSave, bTPS, bEbrk, bCalG, bDef, tAccel,
                                                            tDecel, tMin, tMax, tLFB, tTurn}) {
        control->setEnabled(enabled);
    }
    bExit->setEnabled(true);
}

void QTRV::MSComm1_OnComm() {
    switch (MSComm1->commEvent()) {
    case SerialLink::CommEvent::Receive:
        m_received = MSComm1->input();
        HandleInput(m_received);
        break;
    case SerialLink::CommEvent::LinkLost:
        // The port is closed already; show it, once.
        showLinkDown();
        tStatus->setText(
            QStringLiteral("Link to QTRV lost. Check the cable and power, then Connect."));
        break;
    case SerialLink::CommEvent::None:
        break;
    }
}

void QTRV::HandleInput(const QByteArray& dRecv) {
    if (!ParseParameterReport(std::string_view(dRecv.constData(), dRecv.size()), m_parameters)) {
        tStatus->setText(QStringLiteral("Could not read QTRV's answer; nothing was changed."));
        return;
    }
    // Each text set here runs that box's change reaction at once, before the next line.
    tAccel->setText(boxText(m_parameters.Accel));
    tDecel->setText(boxText(m_parameters.Decel));
    tTurn->setText(boxText(m_parameters.Turn));
    tMax->setText(boxText(m_parameters.MaxOutput));
    tMin->setText(boxText(m_parameters.MinOutput));
    tLFB->setText(boxText(m_parameters.LfbThreshold));
    bTPS->setText(m_parameters.TpsReverse ? QStringLiteral("TPS = Reverse")
                                          : QStringLiteral("TPS = Normal"));
    bEbrk->setText(m_parameters.EbrakeCutOff ? QStringLiteral("Ebrake Cut = Off")
                                             : QStringLiteral("Ebrake Cut = On"));
    Shape1->setFillColor(kGreen);
    setEditingEnabled(true);
    tStatus->setText(QStringLiteral("Parmeters Received from Controller."));
}

void QTRV::bExit_Click() {
    if (MSComm1->isOpen()) {
        MSComm1->close();
    }
    close();
    QCoreApplication::quit();
}

void QTRV::closeEvent(QCloseEvent* event) {
    MSComm1->close(); // what was written still goes out first
    event->accept();
}
