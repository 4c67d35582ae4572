// Connect, Disconnect, taking in reports, a line that dies, and Exit, on the real window with
// the controller played on a pseudo-terminal.
#include "indicator_shape.h"
#include "window_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kWaiting = "Waiting for QTRV to respond... check your com port!";
const QString kReceived = "Parmeters Received from Controller.";

} // namespace

class TestLinkControl : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void connectShowsWaitingAndSendsOnlyTheRequest();
    void aReportConnects();
    void fortyEightCharactersDoNothing();
    void reportValuesShowAsThreeDigits_data();
    void reportValuesShowAsThreeDigits();
    void aReportInConnectedDiscardsEdits();
    void disconnectKeepsTheBoxes();
    void disconnectWhileWaiting();
    void textAfterDisconnectIsNeverRead();
    void theButtonFollowsThePortNotItsCaption();
    void portNumberReadings_data();
    void portNumberReadings();
    void aPortThatWillNotOpenChangesOnlyTheStatus();
    void anUnreadableAnswerChangesNothing_data();
    void anUnreadableAnswerChangesNothing();
    void aPulledCableShowsTheLinkLost_data();
    void aPulledCableShowsTheLinkLost();
    void pickingAnotherPortWhileOpenChangesNothing();
    void exitClosesThePortAfterSending();
    void closingTheWindowClosesThePort();
    void ourMessagesFitTheStatusLine_data();
    void ourMessagesFitTheStatusLine();

  private:
    // The window's look in one state: indicator, Connect caption, twelve enabled states.
    void verifyLook(quint32 colour, const QString& caption, bool editing);
    std::unique_ptr<WindowDriver> d;
    QTRV* w = nullptr;
};

void TestLinkControl::init() {
    d = std::make_unique<WindowDriver>();
    w = &d->window();
}

void TestLinkControl::cleanup() {
    d.reset();
}

void TestLinkControl::verifyLook(quint32 colour, const QString& caption, bool editing) {
    QCOMPARE(w->Shape1->fillColor(), colour);
    QCOMPARE(w->bOpen->text(), caption);
    QVERIFY(w->bExit->isEnabled());
    QVERIFY(w->bOpen->isEnabled());
    QVERIFY(w->pCPort->isEnabled());
    for (QWidget* control :
         std::initializer_list<QWidget*>{w->bSave, w->bTPS, w->bEbrk, w->bCalG, w->bDef, w->tAccel,
                                         w->tDecel, w->tMin, w->tMax, w->tLFB, w->tTurn}) {
        QVERIFY2(control->isEnabled() == editing, qPrintable(control->accessibleName()));
    }
}

void TestLinkControl::connectShowsWaitingAndSendsOnlyTheRequest() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    QVERIFY(w->MSComm1->isOpen());
    verifyLook(QTRV::kYellow, "Disconnect", false);
    QCOMPARE(w->tStatus->text(), kWaiting);
    QCOMPARE(d->controller().read(200), QByteArray()); // nothing more
}

void TestLinkControl::aReportConnects() {
    QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    verifyLook(QTRV::kGreen, "Disconnect", true);
    QCOMPARE(w->tStatus->text(), kReceived);
    const QStringList boxes{w->tAccel->text(), w->tDecel->text(), w->tTurn->text(),
                            w->tMax->text(),   w->tMin->text(),   w->tLFB->text()};
    QCOMPARE(boxes, (QStringList{"100", "095", "120", "100", "010", "050"}));
    QCOMPARE(w->bTPS->text(), QString("TPS = Reverse"));
    QCOMPARE(w->bEbrk->text(), QString("Ebrake Cut = On"));
    QVERIFY(w->parameters().TpsReverse && !w->parameters().EbrakeCutOff &&
            !w->parameters().CalibrateG);
}

void TestLinkControl::fortyEightCharactersDoNothing() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    const QByteArray report = WindowDriver::typicalReport(); // 57 characters
    d->controller().write(report.left(48));
    QTest::qWait(200);
    QCOMPARE(w->Shape1->fillColor(), QTRV::kYellow);
    QCOMPARE(w->tStatus->text(), kWaiting);
    d->controller().write(report.mid(48));
    QTRY_COMPARE_WITH_TIMEOUT(w->Shape1->fillColor(), QTRV::kGreen, 2000);
    QCOMPARE(w->tLFB->text(), QString("050"));
}

void TestLinkControl::reportValuesShowAsThreeDigits_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("7.5") << "7.5"
                         << "008";
    QTest::newRow("100") << "100"
                         << "100";
    QTest::newRow("5") << "5"
                       << "005";
    QTest::newRow("-5") << "-5"
                        << "-005";
    QTest::newRow("1000") << "1000"
                          << "1000";
    QTest::newRow("250, not limited") << "250"
                                      << "250";
}

void TestLinkControl::reportValuesShowAsThreeDigits() {
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QVERIFY(d->connectWithReport(WindowDriver::report(QString("x,%1,0,0,0,0,0,0,1,0").arg(value))));
    QCOMPARE(w->tAccel->text(), shown);
    QCOMPARE(w->bTPS->text(), QString("TPS = Normal"));
    QCOMPARE(w->bEbrk->text(), QString("Ebrake Cut = Off"));
}

void TestLinkControl::aReportInConnectedDiscardsEdits() {
    QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    d->type(w->tAccel, "150");
    d->click(w->bTPS);
    QCOMPARE(w->tAccel->text(), QString("150"));
    d->controller().write(WindowDriver::typicalReport());
    QTRY_COMPARE_WITH_TIMEOUT(w->tAccel->text(), QString("100"), 2000);
    QCOMPARE(w->bTPS->text(), QString("TPS = Reverse"));
    QCOMPARE(w->tStatus->text(), kReceived);
    verifyLook(QTRV::kGreen, "Disconnect", true);
}

void TestLinkControl::disconnectKeepsTheBoxes() {
    QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    const TuningParameters before = w->parameters();
    d->click(w->bOpen);
    QVERIFY(!w->MSComm1->isOpen());
    verifyLook(QTRV::kRed, "Connect", false);
    QCOMPARE(w->tStatus->text(), QString("Disconnected."));
    QCOMPARE(w->tDecel->text(), QString("095"));
    QCOMPARE(w->parameters(), before);
}

void TestLinkControl::disconnectWhileWaiting() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    d->click(w->bOpen);
    verifyLook(QTRV::kRed, "Connect", false);
    QCOMPARE(w->tStatus->text(), QString("Disconnected."));
    // and the link can be made again
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    QCOMPARE(w->Shape1->fillColor(), QTRV::kYellow);
}

void TestLinkControl::textAfterDisconnectIsNeverRead() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    d->click(w->bOpen);
    d->controller().write(WindowDriver::typicalReport());
    QTest::qWait(200);
    QCOMPARE(w->Shape1->fillColor(), QTRV::kRed);
    QVERIFY(w->tAccel->text().isEmpty());
}

void TestLinkControl::theButtonFollowsThePortNotItsCaption() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    w->bOpen->setText("Connect");
    d->click(w->bOpen);
    QVERIFY(!w->MSComm1->isOpen());
    QCOMPARE(w->tStatus->text(), QString("Disconnected."));
}

void TestLinkControl::portNumberReadings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("status");
    QTest::newRow("1") << "1" << true << kWaiting;
    QTest::newRow("1 and words") << "1abc" << true << kWaiting;
    QTest::newRow("blanks first") << "   1" << true << kWaiting;
    QTest::newRow("1.4") << "1.4" << true << kWaiting;
    QTest::newRow("0.5 to even") << "0.5" << false
                                 << "Cannot open port 0: no device has that number.";
    QTest::newRow("1.5 to even") << "1.5" << false
                                 << "Cannot open port 2: no device has that number.";
    QTest::newRow("words") << "abc" << false << "Cannot open port 0: no device has that number.";
    QTest::newRow("beyond 16 bits")
        << "99999" << false << "Cannot open port \"99999\": not a port number.";
}

void TestLinkControl::portNumberReadings() {
    QFETCH(QString, text);
    QFETCH(bool, opens);
    QFETCH(QString, status);
    w->pCPort->setEditText(text);
    d->click(w->bOpen);
    QCOMPARE(w->MSComm1->isOpen(), opens);
    QCOMPARE(w->tStatus->text(), status);
    QCOMPARE(d->controller().read(100), opens ? QByteArray("R\r") : QByteArray());
}

void TestLinkControl::aPortThatWillNotOpenChangesOnlyTheStatus() {
    // Every control's text and enabled state, but for the status line.
    auto snapshot = [this] {
        QStringList state;
        for (QWidget* control : w->findChildren<QWidget*>()) {
            if (control == w->tStatus) {
                continue;
            }
            QString text;
            if (auto* b = qobject_cast<QPushButton*>(control)) {
                text = b->text();
            } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
                text = e->text();
            }
            state << QString("%1 %2 %3")
                         .arg(control->metaObject()->className(), text,
                              control->isEnabled() ? "on" : "off");
        }
        return state << QString::number(w->Shape1->fillColor());
    };
    const QStringList before = snapshot();
    QSerialPort other;
    other.setPortName(d->controller().slavePath());
    QVERIFY(other.open(QIODevice::ReadWrite));
    d->click(w->bOpen);
    QVERIFY(!w->MSComm1->isOpen());
    QCOMPARE(snapshot(), before);
    QCOMPARE(w->tStatus->text(), QString("Cannot open port 1: busy, another program holds it."));
}

void TestLinkControl::anUnreadableAnswerChangesNothing_data() {
    QTest::addColumn<bool>("connectedFirst");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("waiting, garbage")
        << false << QByteArray("ERR:unknown command; controller firmware busy, try again later\r");
    QTest::newRow("waiting, bad switch") << false << WindowDriver::report("x,1,2,3,4,5,6,yes,0,0");
    QTest::newRow("connected, bad switch") << true << WindowDriver::report("x,1,2,3,4,5,6,yes,0,0");
    QTest::newRow("connected, nine fields") << true << WindowDriver::report("x,1,2,3,4,5,6,0,0");
}

void TestLinkControl::anUnreadableAnswerChangesNothing() {
    QFETCH(bool, connectedFirst);
    QFETCH(QByteArray, answer);
    if (connectedFirst) {
        QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    } else {
        QCOMPARE(d->connectLink(), QByteArray("R\r"));
    }
    const TuningParameters before = w->parameters();
    const QString accel = w->tAccel->text();
    const quint32 colour = w->Shape1->fillColor();
    d->controller().write(answer);
    QTRY_COMPARE_WITH_TIMEOUT(w->tStatus->text(),
                              QString("Could not read QTRV's answer; nothing was changed."), 2000);
    QCOMPARE(w->parameters(), before);
    QCOMPARE(w->tAccel->text(), accel);
    QCOMPARE(w->Shape1->fillColor(), colour);
    verifyLook(colour, "Disconnect", connectedFirst);
    QVERIFY(w->MSComm1->isOpen());
}

void TestLinkControl::aPulledCableShowsTheLinkLost_data() {
    QTest::addColumn<bool>("connectedFirst");
    QTest::newRow("waiting") << false;
    QTest::newRow("connected") << true;
}

void TestLinkControl::aPulledCableShowsTheLinkLost() {
    QFETCH(bool, connectedFirst);
    if (connectedFirst) {
        QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    } else {
        QCOMPARE(d->connectLink(), QByteArray("R\r"));
    }
    QSignalSpy notifications(w->MSComm1, &SerialLink::onComm);
    d->controller().pullCable();
    QTRY_VERIFY_WITH_TIMEOUT(!w->MSComm1->isOpen(), 2000);
    QTest::qWait(200);
    QCOMPARE(notifications.count(), 1); // closed at once: no storm of errors
    verifyLook(QTRV::kRed, "Connect", false);
    QCOMPARE(w->tStatus->text(),
             QString("Link to QTRV lost. Check the cable and power, then Connect."));
}

void TestLinkControl::pickingAnotherPortWhileOpenChangesNothing() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    w->pCPort->setEditText("7");
    QTest::qWait(50);
    QVERIFY(w->MSComm1->isOpen());
    QCOMPARE(w->MSComm1->commPort(), qint16(1));
    d->controller().write(WindowDriver::typicalReport());
    QTRY_COMPARE_WITH_TIMEOUT(w->Shape1->fillColor(), QTRV::kGreen, 2000);
}

void TestLinkControl::exitClosesThePortAfterSending() {
    QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
    w->MSComm1->output("S,00100,00095,00120,00100,00010,00050,00001,00000,00000,\r");
    d->click(w->bExit);
    QVERIFY(!w->MSComm1->isOpen());
    QVERIFY(!w->isVisible());
    QCOMPARE(d->controller().read(300).size(), 57);
}

void TestLinkControl::closingTheWindowClosesThePort() {
    QCOMPARE(d->connectLink(), QByteArray("R\r"));
    QVERIFY(w->close());
    QVERIFY(!w->MSComm1->isOpen());
}

void TestLinkControl::ourMessagesFitTheStatusLine_data() {
    QTest::addColumn<QString>("message");
    for (const char* m : {"Waiting for QTRV to respond... check your com port!",
                          "Cannot open port 16: permission denied (join the dialout group).",
                          "Cannot open port 16: busy, another program holds it.",
                          "Cannot open port 16: no serial hardware behind it.",
                          "Cannot open port \"123456789012\": not a port number.",
                          "Could not read QTRV's answer; nothing was changed.",
                          "Link to QTRV lost. Check the cable and power, then Connect.",
                          "Save not sent: LFB Threshold % is not a number.",
                          "Save did not go out: the port did not take it."}) {
        QTest::newRow(m) << QString(m);
    }
}

void TestLinkControl::ourMessagesFitTheStatusLine() {
    QFETCH(QString, message);
    w->tStatus->setText(message);
    QVERIFY2(w->tStatus->heightForWidth(w->tStatus->width()) <= w->tStatus->height(),
             qPrintable(QString::number(w->tStatus->heightForWidth(w->tStatus->width()))));
}

QTEST_MAIN(TestLinkControl)
#include "test_link_control.moc"
