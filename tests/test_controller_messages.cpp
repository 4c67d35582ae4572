// The three controller messages: the read request, the report and the save command.
#include "controller_messages.h"

#include <QTest>

#include <string>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(TuningParameters)

namespace {

TuningParameters params(float a, float d, float t, float mx, float mn, float lfb, bool tps,
                        bool ebrk, bool calg) {
    return TuningParameters{a, d, t, mx, mn, lfb, tps, ebrk, calg};
}

// A record no report in the tables below can produce by accident.
const TuningParameters kBefore = params(1, 2, 3, 4, 5, 6, true, true, true);

} // namespace

class TestControllerMessages : public QObject {
    Q_OBJECT
  private slots:
    void readRequestIsRAndCarriageReturn();
    void parsesReports_data();
    void parsesReports();
    void badReportsLeaveTheRecordAlone_data();
    void badReportsLeaveTheRecordAlone();
    void buildsTheSaveCommand_data();
    void buildsTheSaveCommand();
    void refusesBoxesThatAreNotFiveDigits_data();
    void refusesBoxesThatAreNotFiveDigits();
};

void TestControllerMessages::readRequestIsRAndCarriageReturn() {
    QCOMPARE(ReadRequest(), std::string("\x52\x0D"));
}

void TestControllerMessages::parsesReports_data() {
    QTest::addColumn<std::string>("report");
    QTest::addColumn<TuningParameters>("expected");
    QTest::newRow("typical, trailing comma and line end")
        << std::string("P,00100,00095,00120,00100,00000,00033,00001,00000,00000,\r")
        << params(100, 95, 120, 100, 0, 33, true, false, false);
    QTest::newRow("exactly ten fields, last with a line end")
        << std::string("x,1,2,3,4,5,12.5,0,1,True\r\n")
        << params(1, 2, 3, 4, 5, 12.5f, false, true, true);
    QTest::newRow("eleventh field ignored whatever it holds")
        << std::string("x,1,2,3,4,5,6,0,0,0,garbage,more")
        << params(1, 2, 3, 4, 5, 6, false, false, false);
    QTest::newRow("spaces around fields") << std::string("x , 5 ,5,5,5,5,5, TRUE ,False, -1")
                                          << params(5, 5, 5, 5, 5, 5, true, false, true);
    QTest::newRow("report values are not limited")
        << std::string("x,250,-7,1000,100,0,0,0,0,0")
        << params(250, -7, 1000, 100, 0, 0, false, false, false);
    QTest::newRow("leading comma shifts the fields")
        << std::string(",9,1,2,3,4,5,6,0,0,1") << params(1, 2, 3, 4, 5, 6, false, false, true);
    QTest::newRow("empty field shifts the fields")
        << std::string("x,,1,2,3,4,5,6,1,0,0") << params(1, 2, 3, 4, 5, 6, true, false, false);
    QTest::newRow("single precision kept")
        << std::string("x,0.1,0,0,0,0,0,0,0,0") << params(0.1f, 0, 0, 0, 0, 0, false, false, false);
}

void TestControllerMessages::parsesReports() {
    QFETCH(std::string, report);
    QFETCH(TuningParameters, expected);
    TuningParameters record = kBefore;
    QVERIFY(ParseParameterReport(report, record));
    QCOMPARE(record, expected);
}

void TestControllerMessages::badReportsLeaveTheRecordAlone_data() {
    QTest::addColumn<std::string>("report");
    QTest::newRow("nine fields") << std::string("x,1,2,3,4,5,6,0,0");
    QTest::newRow("empty") << std::string("");
    QTest::newRow("word among numbers") << std::string("x,1,2,fast,4,5,6,0,0,0");
    QTest::newRow("switch not a switch") << std::string("x,1,2,3,4,5,6,yes,0,0");
    QTest::newRow("last switch bad") << std::string("x,1,2,3,4,5,6,0,0,maybe");
    QTest::newRow("exponent") << std::string("x,1e2,2,3,4,5,6,0,0,0");
    QTest::newRow("beyond a float")
        << std::string("x,1" + std::string(60, '0') + ",2,3,4,5,6,0,0,0");
    QTest::newRow("noise") << std::string(49, '\xff');
}

void TestControllerMessages::badReportsLeaveTheRecordAlone() {
    QFETCH(std::string, report);
    TuningParameters record = kBefore;
    QVERIFY(!ParseParameterReport(report, record));
    QCOMPARE(record, kBefore);
}

void TestControllerMessages::buildsTheSaveCommand_data() {
    QTest::addColumn<BoxTexts>("boxes");
    QTest::addColumn<TuningParameters>("switches");
    QTest::addColumn<std::string>("command");
    QTest::newRow("the 57-byte example")
        << BoxTexts{"100", "95", "120", "100", "10", "50"}
        << params(0, 0, 0, 0, 0, 0, false, true, false)
        << std::string("S,00100,00095,00120,00100,00010,00050,00000,00001,00000,\r");
    QTest::newRow("defaults") << BoxTexts{"100", "100", "100", "100", "0", "33"}
                              << params(0, 0, 0, 0, 0, 0, false, false, false)
                              << std::string(
                                     "S,00100,00100,00100,00100,00000,00033,00000,00000,00000,\r");
    QTest::newRow("fractions round half away")
        << BoxTexts{"12.5", "12.4", "199.5", "99.5", "0.49", " 7 "}
        << params(9, 9, 9, 9, 9, 9, true, true, true)
        << std::string("S,00013,00012,00200,00100,00000,00007,00001,00001,00001,\r");
    QTest::newRow("box values, not the record's")
        << BoxTexts{"1", "2", "3", "4", "5", "6"}
        << params(100, 100, 100, 100, 100, 100, false, false, false)
        << std::string("S,00001,00002,00003,00004,00005,00006,00000,00000,00000,\r");
}

void TestControllerMessages::buildsTheSaveCommand() {
    QFETCH(BoxTexts, boxes);
    QFETCH(TuningParameters, switches);
    QFETCH(std::string, command);
    const auto built = SaveCommand(boxes, switches);
    QVERIFY(built.has_value());
    QCOMPARE(*built, command);
    QCOMPARE(built->size(), std::size_t(57));
}

void TestControllerMessages::refusesBoxesThatAreNotFiveDigits_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<std::string>("text");
    QTest::newRow("empty") << 0 << std::string("");
    QTest::newRow("words") << 1 << std::string("fast");
    QTest::newRow("nan") << 2 << std::string("nan");
    QTest::newRow("inf") << 3 << std::string("inf");
    QTest::newRow("beyond a double") << 4 << std::string(400, '9');
    QTest::newRow("negative") << 5 << std::string("-1");
    QTest::newRow("six digits") << 0 << std::string("100000");
}

void TestControllerMessages::refusesBoxesThatAreNotFiveDigits() {
    QFETCH(int, box);
    QFETCH(std::string, text);
    BoxTexts boxes{"1", "2", "3", "4", "5", "6"};
    boxes[static_cast<std::size_t>(box)] = text;
    QVERIFY(!SaveCommand(boxes, TuningParameters{}).has_value());
}

QTEST_APPLESS_MAIN(TestControllerMessages)
#include "test_controller_messages.moc"
