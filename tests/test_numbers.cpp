// Number texts: what reads as a number, a switch or a port, and the zero-padded patterns.
#include "numbers.h"
#include "save_limits.h"

#include <QTest>

#include <optional>
#include <string>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::optional<double>)

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    void readsNumbers_data();
    void readsNumbers();
    void readsSwitches_data();
    void readsSwitches();
    void writesPatterns_data();
    void writesPatterns();
    void readsPortNumbers_data();
    void readsPortNumbers();
    void limitsBoxTexts_data();
    void limitsBoxTexts();
};

void TestNumbers::readsNumbers_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::optional<double>>("value");
    const std::optional<double> none;
    QTest::newRow("whole") << std::string("100") << std::optional(100.0);
    QTest::newRow("zero padded") << std::string("00100") << std::optional(100.0);
    QTest::newRow("fraction") << std::string("12.5") << std::optional(12.5);
    QTest::newRow("negative") << std::string("-3") << std::optional(-3.0);
    QTest::newRow("plus sign") << std::string("+7") << std::optional(7.0);
    QTest::newRow("point first") << std::string(".5") << std::optional(0.5);
    QTest::newRow("point last") << std::string("5.") << std::optional(5.0);
    QTest::newRow("blanks around") << std::string(" \t5 \r\n") << std::optional(5.0);
    QTest::newRow("tiny fraction is zero")
        << std::string("0." + std::string(400, '0') + "1") << std::optional(0.0);
    QTest::newRow("empty") << std::string("") << none;
    QTest::newRow("blanks only") << std::string("   ") << none;
    QTest::newRow("sign only") << std::string("-") << none;
    QTest::newRow("point only") << std::string(".") << none;
    QTest::newRow("word") << std::string("abc") << none;
    QTest::newRow("trailing word") << std::string("12abc") << none;
    QTest::newRow("blank inside") << std::string("1 2") << none;
    QTest::newRow("two points") << std::string("1.2.3") << none;
    QTest::newRow("exponent") << std::string("1e3") << none;
    QTest::newRow("hex") << std::string("0x10") << none;
    QTest::newRow("nan") << std::string("nan") << none;
    QTest::newRow("inf") << std::string("inf") << none;
    QTest::newRow("decimal comma") << std::string("12,5") << none;
    QTest::newRow("beyond a double") << std::string(400, '9') << none;
}

void TestNumbers::readsNumbers() {
    QFETCH(std::string, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(ReadNumber(text), value);
}

void TestNumbers::readsSwitches_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("value"); // -1: not a switch value
    QTest::newRow("00001") << std::string("00001") << 1;
    QTest::newRow("1") << std::string("1") << 1;
    QTest::newRow("-1") << std::string("-1") << 1;
    QTest::newRow("0.5") << std::string("0.5") << 1;
    QTest::newRow("True") << std::string("True") << 1;
    QTest::newRow("TRUE") << std::string("TRUE") << 1;
    QTest::newRow("tRuE") << std::string("tRuE") << 1;
    QTest::newRow("00000") << std::string("00000") << 0;
    QTest::newRow("0") << std::string("0") << 0;
    QTest::newRow("False") << std::string("False") << 0;
    QTest::newRow("false and a line end") << std::string("false\r") << 0;
    QTest::newRow("empty") << std::string("") << -1;
    QTest::newRow("yes") << std::string("yes") << -1;
    QTest::newRow("Truee") << std::string("Truee") << -1;
    QTest::newRow("Tru") << std::string("Tru") << -1;
}

void TestNumbers::readsSwitches() {
    QFETCH(std::string, text);
    QFETCH(int, value);
    const auto got = ReadBoolean(text);
    QCOMPARE(got.has_value() ? int(*got) : -1, value);
}

void TestNumbers::writesPatterns_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<std::string>("text");
    QTest::newRow("5 as 000") << 5.0 << 3 << std::string("005");
    QTest::newRow("100 as 000") << 100.0 << 3 << std::string("100");
    QTest::newRow("7.5 rounds up") << 7.5 << 3 << std::string("008");
    QTest::newRow("7.49 rounds down") << 7.49 << 3 << std::string("007");
    QTest::newRow("2.5 away from zero") << 2.5 << 3 << std::string("003");
    QTest::newRow("-5") << -5.0 << 3 << std::string("-005");
    QTest::newRow("-2.5 away from zero") << -2.5 << 3 << std::string("-003");
    QTest::newRow("-0.2 has no sign") << -0.2 << 3 << std::string("000");
    QTest::newRow("1000 keeps digits") << 1000.0 << 3 << std::string("1000");
    QTest::newRow("1e20 keeps digits") << 1e20 << 3 << std::string("100000000000000000000");
    QTest::newRow("12.5 as 00000") << 12.5 << 5 << std::string("00013");
    QTest::newRow("12.4 as 00000") << 12.4 << 5 << std::string("00012");
    QTest::newRow("99.5 as 00000") << 99.5 << 5 << std::string("00100");
    QTest::newRow("0 as 00000") << 0.0 << 5 << std::string("00000");
    QTest::newRow("123456 as 00000") << 123456.0 << 5 << std::string("123456");
}

void TestNumbers::writesPatterns() {
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(std::string, text);
    QCOMPARE(FormatPattern(value, digits), text);
}

void TestNumbers::readsPortNumbers_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("port"); // -1: beyond 16 bits
    QTest::newRow("3") << std::string("3") << 3;
    QTest::newRow("leading blanks") << std::string("  3") << 3;
    QTest::newRow("3 and words") << std::string("3abc") << 3;
    QTest::newRow("2.5 to even") << std::string("2.5") << 2;
    QTest::newRow("3.5 to even") << std::string("3.5") << 4;
    QTest::newRow("2.6") << std::string("2.6") << 3;
    QTest::newRow("16") << std::string("16") << 16;
    QTest::newRow("words") << std::string("abc") << 0;
    QTest::newRow("empty") << std::string("") << 0;
    QTest::newRow("negative") << std::string("-2") << -2;
    QTest::newRow("32767") << std::string("32767") << 32767;
    QTest::newRow("32768") << std::string("32768") << -1;
    QTest::newRow("huge") << std::string(400, '9') << -1;
}

void TestNumbers::readsPortNumbers() {
    QFETCH(std::string, text);
    QFETCH(int, port);
    const auto got = ReadPortNumber(text);
    QCOMPARE(got.has_value() ? int(*got) : -1, port);
}

void TestNumbers::limitsBoxTexts_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<double>("upper");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<std::string>("replacement"); // empty: the text stays
    QTest::newRow("250 above 200") << std::string("250") << 200.0 << true << std::string("200");
    QTest::newRow("200 at the limit") << std::string("200") << 200.0 << true << std::string();
    QTest::newRow("200.4 above") << std::string("200.4") << 200.0 << true << std::string("200");
    QTest::newRow("100.5 above 100") << std::string("100.5") << 100.0 << true << std::string("100");
    QTest::newRow("99.5 in range") << std::string("99.5") << 100.0 << true << std::string();
    QTest::newRow("0 at the limit") << std::string("0") << 100.0 << true << std::string();
    QTest::newRow("-3 below") << std::string("-3") << 100.0 << true << std::string("0");
    QTest::newRow("-0.2 below") << std::string("-0.2") << 100.0 << true << std::string("0");
    QTest::newRow("empty") << std::string("") << 100.0 << false << std::string();
    QTest::newRow("words") << std::string("fast") << 200.0 << false << std::string();
}

void TestNumbers::limitsBoxTexts() {
    QFETCH(std::string, text);
    QFETCH(double, upper);
    QFETCH(bool, usable);
    QFETCH(std::string, replacement);
    const LimitedText got = LimitBoxText(text, PercentRange{0, upper});
    QCOMPARE(got.usable, usable);
    QCOMPARE(got.text.value_or(std::string()), replacement);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
