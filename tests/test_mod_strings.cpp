// The escaped field list: splitting, joining, and joining then splitting again.
#include "mod_strings.h"

#include <QTest>

#include <string>
#include <vector>

using Fields = std::vector<std::string>;
Q_DECLARE_METATYPE(Fields)
Q_DECLARE_METATYPE(std::string)

namespace {

std::string s(const char* text) {
    return text;
}

QString show(const Fields& fields) {
    QStringList quoted;
    for (const auto& f : fields) {
        quoted << QString("\"%1\"").arg(QString::fromStdString(f));
    }
    return quoted.join(", ");
}

} // namespace

class TestModStrings : public QObject {
    Q_OBJECT
  private slots:
    void splitsTheControllerFormat_data();
    void splitsTheControllerFormat();
    void splitsWithOtherArguments_data();
    void splitsWithOtherArguments();
    void nulEndsAField();
    void splitsLongTextsWholly();
    void joins_data();
    void joins();
    void joinOfNothingIsEmpty();
    void joinThenSplitGivesTheListBack_data();
    void joinThenSplitGivesTheListBack();
};

void TestModStrings::splitsTheControllerFormat_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<Fields>("fields");
    QTest::newRow("plain") << s("a,b,c") << Fields{"a", "b", "c"};
    QTest::newRow("escaped separator") << s("a,b\\,c") << Fields{"a", "b,c"};
    QTest::newRow("two escapes in one field") << s("a\\,b\\,c,d") << Fields{"a,b,c", "d"};
    QTest::newRow("escaped then plain") << s("x\\,,y") << Fields{"x,", "y"};
    QTest::newRow("empty field inside dropped") << s("a,,b") << Fields{"a", "b"};
    QTest::newRow("leading separator") << s(",a") << Fields{"a"};
    QTest::newRow("one trailing separator") << s("a,") << Fields{"a"};
    QTest::newRow("two trailing separators") << s("a,,") << Fields{"a", ""};
    QTest::newRow("three trailing separators") << s("a,,,") << Fields{"a", ""};
    QTest::newRow("only one separator") << s(",") << Fields{""};
    QTest::newRow("only separators") << s(",,,") << Fields{""};
    QTest::newRow("empty text") << s("") << Fields{""};
    QTest::newRow("spaces trimmed") << s(" a , b ,c ") << Fields{"a", "b", "c"};
    QTest::newRow("trimmed after joining parts") << s(" a\\, b ") << Fields{"a, b"};
    QTest::newRow("escape before a letter stays") << s("a\\b,c") << Fields{"a\\b", "c"};
    QTest::newRow("double escape") << s("a\\\\,b") << Fields{"a\\,b"};
    QTest::newRow("escape at the end stays") << s("abc\\") << Fields{"abc\\"};
    QTest::newRow("escaped separator first") << s("\\,a") << Fields{",a"};
    QTest::newRow("escaped separator last") << s("a\\,") << Fields{"a,"};
    QTest::newRow("escaped then separator last") << s("x\\,,") << Fields{"x,"};
    QTest::newRow("escaped then two separators") << s("x\\,,,") << Fields{"x,", ""};
    QTest::newRow("tabs and line ends are not trimmed") << s("\ta ,b\r") << Fields{"\ta", "b\r"};
    QTest::newRow("beyond eleven fields")
        << s("1,2,3,4,5,6,7,8,9,10,11,12,13")
        << Fields{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
}

void TestModStrings::splitsTheControllerFormat() {
    QFETCH(std::string, text);
    QFETCH(Fields, fields);
    const Fields got = modStrings::SplitEscaped(text, ",", "\\", true);
    QVERIFY2(got == fields, qPrintable(show(got)));
}

void TestModStrings::splitsWithOtherArguments_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("separators");
    QTest::addColumn<std::string>("escape");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<Fields>("fields");
    QTest::newRow("no trimming") << s(" a , b ,c ") << s(",") << s("\\") << false
                                 << Fields{" a ", " b ", "c "};
    QTest::newRow("no separators") << s("abc") << s("") << s("\\") << true << Fields{""};
    QTest::newRow("no escape") << s("a\\,b") << s(",") << s("") << true << Fields{"a\\", "b"};
    QTest::newRow("first escape character only")
        << s("a/,b") << s(",") << s("/x") << true << Fields{"a,b"};
    QTest::newRow("each separator on its own")
        << s("a;b,c") << s(",;") << s("\\") << true << Fields{"a", "b", "c"};
    QTest::newRow("separator letters in either case")
        << s("aXbxc") << s("x") << s("\\") << true << Fields{"a", "b", "c"};
    QTest::newRow("escaped letter keeps its case")
        << s("a\\Xb") << s("x") << s("\\") << true << Fields{"aXb"};
    QTest::newRow("escape letter by exact case")
        << s("aE,b") << s(",") << s("e") << true << Fields{"aE", "b"};
}

void TestModStrings::splitsWithOtherArguments() {
    QFETCH(std::string, text);
    QFETCH(std::string, separators);
    QFETCH(std::string, escape);
    QFETCH(bool, trim);
    QFETCH(Fields, fields);
    const Fields got = modStrings::SplitEscaped(text, separators, escape, trim);
    QVERIFY2(got == fields, qPrintable(show(got)));
}

void TestModStrings::nulEndsAField() {
    const std::string text("ab\0cd", 5);
    QCOMPARE(modStrings::SplitEscaped(text, ",", "\\", true), (Fields{"ab", "cd"}));
}

void TestModStrings::splitsLongTextsWholly() {
    // Thousands of fields, each with an escaped separator: every one comes back whole.
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += std::to_string(i) + "\\," + std::to_string(i) + ",";
    }
    const Fields got = modStrings::SplitEscaped(text, ",", "\\", true);
    QCOMPARE(got.size(), std::size_t(5000));
    QCOMPARE(got[4321], std::string("4321,4321"));
}

void TestModStrings::joins_data() {
    QTest::addColumn<Fields>("list");
    QTest::addColumn<std::string>("separator");
    QTest::addColumn<std::string>("escape");
    QTest::addColumn<std::string>("joined");
    QTest::addColumn<Fields>("listAfter");
    QTest::newRow("plain") << Fields{"a", "b", "c"} << s(",") << s("\\") << s("a,b,c")
                           << Fields{"a", "b", "c"};
    QTest::newRow("escapes in place")
        << Fields{"a,b", "c"} << s(",") << s("\\") << s("a\\,b,c") << Fields{"a\\,b", "c"};
    QTest::newRow("empty last element")
        << Fields{"a", ""} << s(",") << s("\\") << s("a,") << Fields{"a", ""};
    QTest::newRow("empty middle element")
        << Fields{"a", "", "b"} << s(",") << s("\\") << s("a,,b") << Fields{"a", "", "b"};
    QTest::newRow("one empty element") << Fields{""} << s(",") << s("\\") << s("") << Fields{""};
    QTest::newRow("defaults") << Fields{"a", "b"} << s("") << s("") << s("a b") << Fields{"a", "b"};
    QTest::newRow("first separator character only")
        << Fields{"a;b", "c"} << s(";,") << s("\\") << s("a\\;b;c") << Fields{"a\\;b", "c"};
    QTest::newRow("either case, separator as given")
        << Fields{"aXb"} << s("x") << s("\\") << s("a\\xb") << Fields{"a\\xb"};
    QTest::newRow("whole escape text")
        << Fields{"a,b"} << s(",") << s("//") << s("a//,b") << Fields{"a//,b"};
    QTest::newRow("escape character not escaped")
        << Fields{"a\\", "b"} << s(",") << s("\\") << s("a\\,b") << Fields{"a\\", "b"};
}

void TestModStrings::joins() {
    QFETCH(Fields, list);
    QFETCH(std::string, separator);
    QFETCH(std::string, escape);
    QFETCH(std::string, joined);
    QFETCH(Fields, listAfter);
    QCOMPARE(modStrings::JoinEscaped(list, separator, escape), joined);
    QVERIFY2(list == listAfter, qPrintable(show(list)));
}

void TestModStrings::joinOfNothingIsEmpty() {
    Fields none;
    QCOMPARE(modStrings::JoinEscaped(none, ",", "\\"), std::string());
}

void TestModStrings::joinThenSplitGivesTheListBack_data() {
    QTest::addColumn<Fields>("list");
    QTest::addColumn<Fields>("splitAgain");
    QTest::newRow("plain") << Fields{"S", "00100", "00095"} << Fields{"S", "00100", "00095"};
    QTest::newRow("separators inside") << Fields{"a,b", ",", "c,"} << Fields{"a,b", ",", "c,"};
    QTest::newRow("escape inside, not last") << Fields{"a\\b", "c"} << Fields{"a\\b", "c"};
    QTest::newRow("last ends with escape") << Fields{"a", "b\\"} << Fields{"a", "b\\"};
    // Outside the round-trip conditions the splitting rules decide.
    QTest::newRow("empty element dropped") << Fields{"a", "", "b"} << Fields{"a", "b"};
    QTest::newRow("escape at end merges") << Fields{"a\\", "b"} << Fields{"a,b"};
    QTest::newRow("spaces trimmed") << Fields{" a", "b "} << Fields{"a", "b"};
}

void TestModStrings::joinThenSplitGivesTheListBack() {
    QFETCH(Fields, list);
    QFETCH(Fields, splitAgain);
    Fields copy = list;
    const Fields got =
        modStrings::SplitEscaped(modStrings::JoinEscaped(copy, ",", "\\"), ",", "\\", true);
    QVERIFY2(got == splitAgain, qPrintable(show(got)));
}

QTEST_APPLESS_MAIN(TestModStrings)
#include "test_mod_strings.moc"
