// The texts of a word in the three number formats and in the status bar's
// readings.
#include <QtTest>

#include "persistence/encoding.h"
#include "workbench/number_format.h"

Q_DECLARE_METATYPE(TNumberFormat)

class TNumberFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void FormatNumberFollowsModeAndFlag_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("asAddress");
    QTest::addColumn<TNumberFormat>("format");
    QTest::addColumn<QByteArray>("expected");
    const auto hex = TNumberFormat::Hexadecimal;
    const auto uns = TNumberFormat::UnsignedDecimal;
    const auto sig = TNumberFormat::SignedDecimal;
    // Hexadecimal: always four upper-case digits, value or address.
    QTest::newRow("hex AB padded, upper") << 0x00AB << false << hex << QByteArray("00AB");
    QTest::newRow("hex 8000") << 0x8000 << false << hex << QByteArray("8000");
    QTest::newRow("hex FFFF") << 0xFFFF << false << hex << QByteArray("FFFF");
    QTest::newRow("hex FFF0 address") << 0xFFF0 << true << hex << QByteArray("FFF0");
    // Unsigned decimal: never negative.
    QTest::newRow("unsigned 7FFF") << 0x7FFF << false << uns << QByteArray("32767");
    QTest::newRow("unsigned 8000") << 0x8000 << false << uns << QByteArray("32768");
    QTest::newRow("unsigned FFFF") << 0xFFFF << false << uns << QByteArray("65535");
    QTest::newRow("unsigned FFFF address") << 0xFFFF << true << uns << QByteArray("65535");
    // Signed decimal: two's complement for values, unsigned for addresses.
    QTest::newRow("signed 7FFF") << 0x7FFF << false << sig << QByteArray("32767");
    QTest::newRow("signed 8000") << 0x8000 << false << sig << QByteArray("-32768");
    QTest::newRow("signed FFFF") << 0xFFFF << false << sig << QByteArray("-1");
    QTest::newRow("signed 8000 address") << 0x8000 << true << sig << QByteArray("32768");
    QTest::newRow("signed FFF0 address") << 0xFFF0 << true << sig << QByteArray("65520");
  }
  void FormatNumberFollowsModeAndFlag() {
    QFETCH(int, value);
    QFETCH(bool, asAddress);
    QFETCH(TNumberFormat, format);
    QFETCH(QByteArray, expected);
    QCOMPARE(
        QByteArray::fromStdString(FormatNumber(static_cast<uint16_t>(value), asAddress, format)),
        expected);
  }

  void FormatValueReadsEachKind_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("unsigned 8000") << 0x8000 << int(vkUnsigned) << QByteArray("32768");
    QTest::newRow("unsigned FFFF") << 0xFFFF << int(vkUnsigned) << QByteArray("65535");
    QTest::newRow("signed 8000") << 0x8000 << int(vkSigned) << QByteArray("-32768");
    QTest::newRow("signed FFFF") << 0xFFFF << int(vkSigned) << QByteArray("-1");
    QTest::newRow("hex 0041") << 0x0041 << int(vkHex) << QByteArray("0041");
    QTest::newRow("hex 82A0") << 0x82A0 << int(vkHex) << QByteArray("82A0");
    QTest::newRow("binary 0") << 0x0000 << int(vkBinary) << QByteArray(" 0000 0000 0000 0000");
    QTest::newRow("binary FFFF") << 0xFFFF << int(vkBinary) << QByteArray(" 1111 1111 1111 1111");
    QTest::newRow("binary 8000") << 0x8000 << int(vkBinary) << QByteArray(" 1000 0000 0000 0000");
    QTest::newRow("binary 1234 group order")
        << 0x1234 << int(vkBinary) << QByteArray(" 0001 0010 0011 0100");
    QTest::newRow("character A") << 0x0041 << int(vkCharacter) << QByteArray("A");
    QTest::newRow("character NUL is one byte") << 0x0000 << int(vkCharacter) << QByteArray("\0", 1);
    QTest::newRow("character FF is one byte") << 0x00FF << int(vkCharacter) << QByteArray("\xFF");
    QTest::newRow("character high byte first") << 0x4142 << int(vkCharacter) << QByteArray("AB");
    QTest::newRow("character low byte zero") << 0x4100 << int(vkCharacter) << QByteArray("A\0", 2);
    QTest::newRow("character double-byte")
        << 0x82A0 << int(vkCharacter) << QByteArray::fromStdString(Sjis("あ"));
    QTest::newRow("unknown kind 5") << 0x1234 << 5 << QByteArray();
  }
  void FormatValueReadsEachKind() {
    QFETCH(int, value);
    QFETCH(int, kind);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray::fromStdString(FormatValue(static_cast<uint16_t>(value), kind)), expected);
  }
};

QTEST_APPLESS_MAIN(TNumberFormatTest)
#include "number_format_test.moc"
