// The window as created: every control's place, caption, font and state, and the keyboard order.
#include "indicator_shape.h"
#include "window_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestWindowLayout : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void controlsAsCreated_data();
    void controlsAsCreated();
    void windowIsFixed();
    void keyboardOrderFromExit();
    void keyboardReachesEveryControlOnceConnected();
    void longStatusWrapsOntoTwoCentredLines();
    void typingInLfbBeforeConnecting();

  private:
    std::unique_ptr<WindowDriver> m_driver;
    QTRV* w = nullptr;
};

void TestWindowLayout::init() {
    m_driver = std::make_unique<WindowDriver>();
    w = &m_driver->window();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

void TestWindowLayout::cleanup() {
    m_driver.reset();
}

void TestWindowLayout::controlsAsCreated_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips"); // left, top, width, height
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const char* kind, const char* text, int l, int t, int wd, int h,
                  const char* family, double points, bool enabled) {
        QTest::newRow(name) << QString(name) << QString(kind) << QString(text) << QRect(l, t, wd, h)
                            << QString(family) << points << enabled;
    };
    row("tTitle", "QLabel", "Tuning Utility V2.0", 2760, 360, 2535, 375, "Arial", 9.75, true);
    row("tLogo", "QLabel", "qtrv.example", 120, 240, 2655, 495, "Magneto", 15.75, true);
    row("tCPort", "QLabel", "Com Port", 537, 1080, 1215, 330, "Arial", 9.75, true);
    row("pCPort", "QComboBox", "1", 1857, 1080, 735, 330, "Arial", 8.25, true);
    row("bOpen", "QPushButton", "Connect", 2817, 1080, 1215, 330, "Arial", 8.25, true);
    row("lAccel", "QLabel", "Acceleration %", 240, 1920, 1575, 255, "Arial", 9.75, true);
    row("tAccel", "QLineEdit", "", 1920, 1920, 495, 285, "Arial", 9.75, false);
    row("lMin", "QLabel", "Min Output %", 2880, 1920, 1455, 255, "Arial", 9.75, true);
    row("tMin", "QLineEdit", "", 4440, 1920, 495, 285, "Arial", 9.75, false);
    row("lDecel", "QLabel", "Deceleration %", 240, 2400, 1575, 255, "Arial", 9.75, true);
    row("tDecel", "QLineEdit", "", 1920, 2400, 495, 285, "Arial", 9.75, false);
    row("lMax", "QLabel", "Max Output %", 2880, 2400, 1455, 255, "Arial", 9.75, true);
    row("tMax", "QLineEdit", "", 4440, 2400, 495, 285, "Arial", 9.75, false);
    row("lTurn", "QLabel", "Turning %", 240, 2880, 1575, 255, "Arial", 9.75, true);
    row("tTurn", "QLineEdit", "", 1920, 2880, 495, 285, "Arial", 9.75, false);
    row("Label2", "QLabel", "LFB Threshold %", 2880, 2880, 1455, 375, "MS Sans Serif", 8.25, true);
    row("tLFB", "QLineEdit", "", 4440, 2880, 495, 285, "Arial", 9, true);
    row("bCalG", "QPushButton", "Calibrate G-Sensor", 1800, 3360, 1815, 375, "Arial", 8.25, false);
    row("bTPS", "QPushButton", "TPS = Normal", 600, 3840, 1815, 375, "Arial", 8.25, false);
    row("bEbrk", "QPushButton", "Ebrake Cut = On", 3098, 3840, 1815, 375, "Arial", 8.25, false);
    row("bDef", "QPushButton", "Default", 720, 4320, 855, 375, "Arial", 8.25, false);
    row("bSave", "QPushButton", "Save", 2040, 4320, 975, 375, "Arial", 8.25, false);
    row("bExit", "QPushButton", "Exit", 3360, 4320, 975, 375, "Arial", 8.25, true);
    row("tStatus", "QLabel", "", 945, 4800, 3495, 495, "Arial", 9.75, true);
    row("Label1", "QLabel", "Support: help@qtrv.example", 720, 5640, 3975, 615, "Magneto", 12,
        true);
}

void TestWindowLayout::controlsAsCreated() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, enabled);
    const std::map<QString, QWidget*> controls{
        {"tTitle", w->tTitle}, {"tLogo", w->tLogo},   {"tCPort", w->tCPort},
        {"pCPort", w->pCPort}, {"bOpen", w->bOpen},   {"lAccel", w->lAccel},
        {"tAccel", w->tAccel}, {"lMin", w->lMin},     {"tMin", w->tMin},
        {"lDecel", w->lDecel}, {"tDecel", w->tDecel}, {"lMax", w->lMax},
        {"tMax", w->tMax},     {"lTurn", w->lTurn},   {"tTurn", w->tTurn},
        {"Label2", w->Label2}, {"tLFB", w->tLFB},     {"bCalG", w->bCalG},
        {"bTPS", w->bTPS},     {"bEbrk", w->bEbrk},   {"bDef", w->bDef},
        {"bSave", w->bSave},   {"bExit", w->bExit},   {"tStatus", w->tStatus},
        {"Label1", w->Label1}};
    QWidget* control = controls.at(name);
    QCOMPARE(control->metaObject()->className(), kind);
    QString shown;
    if (auto* l = qobject_cast<QLabel*>(control)) {
        shown = l->text();
        QVERIFY(l->wordWrap());
        QCOMPARE(l->focusPolicy(), Qt::NoFocus);
    } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
        shown = e->text();
        QCOMPARE(e->alignment(), Qt::AlignCenter);
        QVERIFY(!e->isReadOnly());
    } else if (auto* b = qobject_cast<QPushButton*>(control)) {
        shown = b->text();
        QVERIFY(!b->isDefault() && !b->autoDefault());
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        shown = c->currentText();
        QVERIFY(c->isEditable());
    }
    QCOMPARE(shown, text);
    const QRect expected(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                         qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
    QCOMPARE(control->geometry(), expected);
    QCOMPARE(control->font().family(), family);
    QCOMPARE(control->font().pointSizeF(), points);
    QVERIFY(control->font().bold());
    QVERIFY(!control->font().italic() && !control->font().underline());
    QCOMPARE(control->isEnabled(), enabled);
    QVERIFY(control->isVisible());
}

void TestWindowLayout::windowIsFixed() {
    QCOMPARE(w->size(), QSize(358, 436));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->Shape1->geometry(), QRect(289, 72, 33, 22));
    QCOMPARE(w->Shape1->fillColor(), QTRV::kRed);
    QCOMPARE(w->windowTitle(), QString("www.qtrv.example"));
}

void TestWindowLayout::keyboardOrderFromExit() {
    QCOMPARE(QApplication::focusWidget(), w->bExit);
    const QList<QWidget*> expected{w->bOpen, w->pCPort, w->tLFB, w->bExit, w->bOpen};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The editable port box hands focus to its line edit.
        QCOMPARE(focus == w->pCPort->lineEdit() ? w->pCPort : focus, next);
    }
}

void TestWindowLayout::keyboardReachesEveryControlOnceConnected() {
    QVERIFY(m_driver->connectWithReport(WindowDriver::typicalReport()));
    w->tAccel->setFocus();
    const QList<QWidget*> order{w->tDecel, w->tTurn, w->bSave, w->bTPS,  w->bEbrk,
                                w->tMin,   w->tMax,  w->bExit, w->bCalG, w->bOpen,
                                w->pCPort, w->tLFB,  w->bDef,  w->tAccel};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QCOMPARE(focus == w->pCPort->lineEdit() ? w->pCPort : focus, next);
    }
    // Space on a focused button is a click.
    w->bTPS->setFocus();
    QTest::keyClick(w->bTPS, Qt::Key_Space);
    QCOMPARE(w->bTPS->text(), QString("TPS = Normal"));
    QCOMPARE(w->tStatus->text(), QString("TPS Changed, save required."));
}

void TestWindowLayout::longStatusWrapsOntoTwoCentredLines() {
    const QString message = "Waiting for QTRV to respond... check your com port!";
    w->tStatus->setText(message);
    const QFontMetrics metrics(w->tStatus->font());
    QVERIFY(metrics.horizontalAdvance(message) > w->tStatus->width()); // needs two lines
    QVERIFY(w->tStatus->heightForWidth(w->tStatus->width()) <= w->tStatus->height());
    QCOMPARE(w->tStatus->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void TestWindowLayout::typingInLfbBeforeConnecting() {
    QTest::keyClicks(w->tLFB, "4");
    QCOMPARE(w->tStatus->text(), QString("LFB Threshold Changed, save required."));
    QVERIFY(!w->bSave->isEnabled());
    for (QLineEdit* box : {w->tAccel, w->tDecel, w->tTurn, w->tMax, w->tMin}) {
        QVERIFY(box->text().isEmpty());
    }
}

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
