// Editing and saving on the real window, reading the exact bytes that reach the controller.
#include "indicator_shape.h"
#include "window_driver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

// What the typical report puts in the boxes, as the save command carries it, with the
// switches TPS reverse, e-brake cut on and no calibration.
const QStringList kReportedFields{"00100", "00095", "00120", "00100", "00010",
                                  "00050", "00001", "00000", "00000"};

QByteArray command(const QStringList& fields) {
    return "S," + fields.join(',').toLatin1() + ",\r";
}

bool wellFormed(const QByteArray& sent) {
    static const QRegularExpression shape(QStringLiteral("^S(,\\d{5}){9},\\r$"));
    return shape.match(QString::fromLatin1(sent)).hasMatch();
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void saveLimitsAndSends_data();
    void saveLimitsAndSends();
    void saveRefusesABoxThatIsNotANumber_data();
    void saveRefusesABoxThatIsNotANumber();
    void defaultThenSave();
    void defaultWhenTheBoxesHoldTheDefaults();
    void calibrationGoesOutUntilAReport();
    void defaultClearsTheCalibrationButNotTheButton();
    void switchesFollowTheirCaption_data();
    void switchesFollowTheirCaption();
    void everyChangeOfABoxReports_data();
    void everyChangeOfABoxReports();
    void aSaveTheLineDoesNotTakeIsNotASuccess();
    void boxesAreNamedByTheirCaption();
    void theWholeEditWithTheKeyboard();

  private:
    QLineEdit* box(const QString& name);
    std::unique_ptr<WindowDriver> d;
    QTRV* w = nullptr;
};

void TestEditing::init() {
    d = std::make_unique<WindowDriver>();
    w = &d->window();
    QVERIFY(d->connectWithReport(WindowDriver::typicalReport()));
}

void TestEditing::cleanup() {
    d.reset();
}

QLineEdit* TestEditing::box(const QString& name) {
    const std::map<QString, QLineEdit*> boxes{{"tAccel", w->tAccel}, {"tDecel", w->tDecel},
                                              {"tTurn", w->tTurn},   {"tMax", w->tMax},
                                              {"tMin", w->tMin},     {"tLFB", w->tLFB}};
    return boxes.at(name);
}

void TestEditing::saveLimitsAndSends_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("field"); // its place in the command, from 0
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<QString>("sent");
    auto row = [](const char* tag, const char* name, int field, const char* typed,
                  const char* shown, const char* sent) {
        QTest::newRow(tag) << QString(name) << field << QString(typed) << QString(shown)
                           << QString(sent);
    };
    row("accel 250 above", "tAccel", 0, "250", "200", "00200");
    row("accel 200 at the limit", "tAccel", 0, "200", "200", "00200");
    row("accel 200.4 above", "tAccel", 0, "200.4", "200", "00200");
    row("accel 199.5 rounds up", "tAccel", 0, "199.5", "199.5", "00200");
    row("decel 12.5 half up", "tDecel", 1, "12.5", "12.5", "00013");
    row("decel 12.4", "tDecel", 1, "12.4", "12.4", "00012");
    row("turn 201", "tTurn", 2, "201", "200", "00200");
    row("turn -1", "tTurn", 2, "-1", "0", "00000");
    row("max 100.5 above", "tMax", 3, "100.5", "100", "00100");
    row("max 99.5 in range", "tMax", 3, "99.5", "99.5", "00100");
    row("min -3 below", "tMin", 4, "-3", "0", "00000");
    row("min -0.2 below", "tMin", 4, "-0.2", "0", "00000");
    row("min 0 at the limit", "tMin", 4, "0", "0", "00000");
    row("lfb 7", "tLFB", 5, "7", "7", "00007");
    row("lfb with blanks", "tLFB", 5, " 33 ", " 33 ", "00033");
    row("lfb 1000 above", "tLFB", 5, "1000", "100", "00100");
}

void TestEditing::saveLimitsAndSends() {
    QFETCH(QString, name);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, shownAfter);
    QFETCH(QString, sent);
    d->type(box(name), typed);
    const QByteArray bytes = d->save();
    QStringList fields = kReportedFields;
    fields[field] = sent;
    QCOMPARE(bytes, command(fields));
    QVERIFY(wellFormed(bytes));
    QCOMPARE(box(name)->text(), shownAfter);
    QCOMPARE(w->tStatus->text(), QString("Save was successful!"));
}

void TestEditing::saveRefusesABoxThatIsNotANumber_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("empty accel") << "tAccel"
                                 << ""
                                 << "Acceleration %";
    QTest::newRow("words in decel") << "tDecel"
                                    << "fast"
                                    << "Deceleration %";
    QTest::newRow("nan in turn") << "tTurn"
                                 << "nan"
                                 << "Turning %";
    QTest::newRow("inf in max") << "tMax"
                                << "inf"
                                << "Max Output %";
    QTest::newRow("exponent in min") << "tMin"
                                     << "1e2"
                                     << "Min Output %";
    QTest::newRow("beyond a double in lfb") << "tLFB" << QString(400, '9') << "LFB Threshold %";
}

void TestEditing::saveRefusesABoxThatIsNotANumber() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    d->type(w->tAccel, "250"); // first in Save's order: limited before the refusal
    d->type(box(name), typed);
    QCOMPARE(d->save(), QByteArray());
    QCOMPARE(w->tStatus->text(), QString("Save not sent: %1 is not a number.").arg(caption));
    if (name != "tAccel") {
        QCOMPARE(w->tAccel->text(), QString("200"));
    }
    QCOMPARE(box(name)->text(), typed);
    QVERIFY(w->MSComm1->isOpen());
}

void TestEditing::defaultThenSave() {
    d->click(w->bCalG);
    d->click(w->bDef);
    QCOMPARE(w->tStatus->text(), QString("Default loaded, save required."));
    const QStringList shown{w->tAccel->text(), w->tDecel->text(), w->tTurn->text(),
                            w->tMax->text(),   w->tMin->text(),   w->tLFB->text()};
    QCOMPARE(shown, (QStringList{"100", "100", "100", "100", "0", "33"}));
    QCOMPARE(w->bTPS->text(), QString("TPS = Normal"));
    QCOMPARE(w->bEbrk->text(), QString("Ebrake Cut = On"));
    QCOMPARE(d->save(), QByteArray("S,00100,00100,00100,00100,00000,00033,00000,00000,00000,\r"));
}

void TestEditing::defaultWhenTheBoxesHoldTheDefaults() {
    d->click(w->bDef);
    w->tStatus->setText("something else");
    d->click(w->bDef);
    QCOMPARE(w->tStatus->text(), QString("Default loaded, save required."));
}

void TestEditing::calibrationGoesOutUntilAReport() {
    d->click(w->bCalG);
    QVERIFY(!w->bCalG->isEnabled());
    QCOMPARE(w->tStatus->text(), QString("G-Sensor changed, save required."));
    QStringList fields = kReportedFields;
    fields[8] = "00001";
    QCOMPARE(d->save(), command(fields));
    QCOMPARE(d->save(), command(fields));
    QVERIFY(!w->bCalG->isEnabled());
    // The next report says whether the controller still wants calibrating, and frees the button.
    d->controller().write(WindowDriver::typicalReport());
    QTRY_VERIFY_WITH_TIMEOUT(w->bCalG->isEnabled(), 2000);
    QCOMPARE(d->save(), command(kReportedFields));
}

void TestEditing::defaultClearsTheCalibrationButNotTheButton() {
    d->click(w->bCalG);
    d->click(w->bDef);
    QVERIFY(!w->parameters().CalibrateG);
    QVERIFY(!w->bCalG->isEnabled());
    QVERIFY(d->save().endsWith(",00000,00000,00000,\r"));
}

void TestEditing::switchesFollowTheirCaption_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("captionBefore");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("captionAfter");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<QString>("field"); // its save field
    QTest::newRow("tps once") << "bTPS"
                              << "TPS = Normal" << 1 << "TPS = Reverse" << true << "00001";
    QTest::newRow("tps twice") << "bTPS"
                               << "TPS = Normal" << 2 << "TPS = Normal" << false << "00000";
    QTest::newRow("tps odd caption") << "bTPS"
                                     << "tps = normal" << 1 << "TPS = Normal" << false << "00000";
    QTest::newRow("ebrake once") << "bEbrk"
                                 << "Ebrake Cut = On" << 1 << "Ebrake Cut = Off" << true << "00001";
    QTest::newRow("ebrake twice") << "bEbrk"
                                  << "Ebrake Cut = On" << 2 << "Ebrake Cut = On" << false
                                  << "00000";
}

void TestEditing::switchesFollowTheirCaption() {
    QFETCH(QString, button);
    QFETCH(QString, captionBefore);
    QFETCH(int, clicks);
    QFETCH(QString, captionAfter);
    QFETCH(bool, flag);
    QFETCH(QString, field);
    const bool tps = button == "bTPS";
    QPushButton* b = tps ? w->bTPS : w->bEbrk;
    b->setText(captionBefore);
    for (int i = 0; i < clicks; ++i) {
        w->tStatus->clear();
        d->click(b);
        QCOMPARE(w->tStatus->text(), tps ? QString("TPS Changed, save required.")
                                         : QString("Ebrake Changed, save required."));
    }
    QCOMPARE(b->text(), captionAfter);
    QCOMPARE(tps ? w->parameters().TpsReverse : w->parameters().EbrakeCutOff, flag);
    QStringList fields = kReportedFields;
    fields[tps ? 6 : 7] = field;
    QCOMPARE(d->save(), command(fields));
}

void TestEditing::everyChangeOfABoxReports_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("accel") << "tAccel"
                           << "Accel Changed, save required.";
    QTest::newRow("decel") << "tDecel"
                           << "Decel Changed, save required.";
    QTest::newRow("turn") << "tTurn"
                          << "Turning Changed, save required.";
    QTest::newRow("max") << "tMax"
                         << "Maximum Changed, save required.";
    QTest::newRow("min") << "tMin"
                         << "Minimum Changed, save required.";
    QTest::newRow("lfb") << "tLFB"
                         << "LFB Threshold Changed, save required.";
}

void TestEditing::everyChangeOfABoxReports() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTest::keyClick(box(name), Qt::Key_End);
    QTest::keyClicks(box(name), "5");
    QCOMPARE(w->tStatus->text(), message);
    // Set from code too, at once; a report then leaves its own message last.
    w->tStatus->clear();
    box(name)->setText("17");
    QCOMPARE(w->tStatus->text(), message);
    d->controller().write(WindowDriver::typicalReport());
    QTRY_COMPARE_WITH_TIMEOUT(w->tStatus->text(), QString("Parmeters Received from Controller."),
                              2000);
}

void TestEditing::aSaveTheLineDoesNotTakeIsNotASuccess() {
    d->controller().pullCable();
    w->bSave->click(); // before the window has heard of the hang-up
    QVERIFY(!w->MSComm1->isOpen());
    QCOMPARE(w->tStatus->text(), QString("Save did not go out: the port did not take it."));
    QCOMPARE(w->Shape1->fillColor(), QTRV::kRed);
    QVERIFY(!w->bSave->isEnabled());
}

void TestEditing::boxesAreNamedByTheirCaption() {
    const QList<std::pair<QLineEdit*, QLabel*>> pairs{
        {w->tAccel, w->lAccel}, {w->tDecel, w->lDecel}, {w->tTurn, w->lTurn},
        {w->tMax, w->lMax},     {w->tMin, w->lMin},     {w->tLFB, w->Label2}};
    for (const auto& [edit, caption] : pairs) {
        QCOMPARE(edit->accessibleName(), caption->text());
    }
}

void TestEditing::theWholeEditWithTheKeyboard() {
    w->tAccel->setFocus();
    QTest::keyClick(w->tAccel, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w->tAccel, "150");
    // tAccel -> tDecel -> tTurn -> bSave
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), w->bSave);
    QTest::keyClick(w->bSave, Qt::Key_Space);
    QStringList fields = kReportedFields;
    fields[0] = "00150";
    QCOMPARE(d->controller().read(300), command(fields));
}

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
