// The tag file's bytes: Windows-1252, the writer's records and the reader's
// item rules, without any file or dialog.
#include "FakeDesktop.h"
#include "Pieces.h"

#include "base/Numbers.h"
#include "files/TagFileReader.h"
#include "files/TagFileWriter.h"
#include "files/Windows1252.h"

#include <QLocale>
#include <QTest>

namespace {
QByteArray encode(QStringView text, bool *faithful)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    *faithful = true;
    out.truncate(encodeWindows1252(text, out.data(), *faithful) - out.data());
    return out;
}
using Tag = std::array<QString, 3>;
using Tags = std::vector<Tag>;

QByteArray writtenBytes(const Tags &tags, TagFileBytes *out = nullptr)
{
    TestDoc t;
    t.addTags(tags);
    TagFileBytes f = writeTagFile(t.doc.grid);
    if (out)
        *out = f;
    return f.bytes;
}

// Rows as "text 1|text 2|quantity", to compare whole results at once.
QStringList rowsOf(const TagFileContent &l)
{
    QStringList out;
    for (const auto &r : l.rows)
        out << r[0] + QLatin1Char('|') + r[1] + QLatin1Char('|') + r[2];
    return out;
}

// Reads bytes whole and in pieces of 1, 2, 3 and 7 bytes: the reading, or
// nullopt when any cut reads differently.
std::optional<TagFileContent> readEveryWay(const QByteArray &bytes, int maxRecords)
{
    const TagFileContent whole = readTagFile(bytes, maxRecords);
    for (const qsizetype size : {1, 2, 3, 7}) {
        Pieces pieces(bytes, size);
        const TagFileContent cut = readTagFile(pieces, maxRecords);
        if (cut.rows != whole.rows || cut.end != whole.end || cut.contentLeft != whole.contentLeft) {
            qWarning("pieces of %d bytes read differently", int(size));
            return std::nullopt;
        }
    }
    return whole;
}

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale &l) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};
} // namespace

Q_DECLARE_METATYPE(Tags)
Q_DECLARE_METATYPE(TagFileContent::End)

class TestFilesFormat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void windows1252_everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        const QString text = fromWindows1252(all);
        QCOMPARE(text.size(), 256);
        bool faithful = false;
        QCOMPARE(encode(text, &faithful), all);
        QVERIFY(faithful);
    }

    void windows1252_characters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("faithful");
        QTest::newRow("a-ring a-umlaut o-umlaut")
            << QStringLiteral("åäöÅÄÖ") << QByteArray("\xe5\xe4\xf6\xc5\xc4\xd6") << true;
        QTest::newRow("euro and dashes") << QStringLiteral("€–—…") << QByteArray("\x80\x96\x97\x85") << true;
        QTest::newRow("typographic quotes") << QStringLiteral("‘’“”") << QByteArray("\x91\x92\x93\x94") << true;
        QTest::newRow("unassigned byte") << QString(QChar(0x8D)) << QByteArray("\x8d") << true;
        QTest::newRow("C1 control with a letter in 1252") << QString(QChar(0x80)) << QByteArray("?") << false;
        QTest::newRow("greek") << QStringLiteral("aΩb") << QByteArray("a?b") << false;
        QTest::newRow("astral character is one byte") << QStringLiteral("x\U0001F600y") << QByteArray("x?y") << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?") << false;
        QTest::newRow("euro late in a run of eight")
            << QStringLiteral("abcde€gh-ijklmnop") << QByteArray("abcde\x80gh-ijklmnop") << true;
    }

    void windows1252_characters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, faithful);
        bool ok = !faithful;
        QCOMPARE(encode(text, &ok), bytes);
        QCOMPARE(ok, faithful);
        if (faithful)
            QCOMPARE(fromWindows1252(bytes), text);
    }

    void quantityConversion_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // INT_MIN: cannot be converted
        const QLocale c = QLocale::c(), sv(QLocale::Swedish, QLocale::Sweden);
        const int none = INT_MIN;
        QTest::newRow("plain") << c << "12" << 12;
        QTest::newRow("blanks and tabs around") << c << " \t7 \n" << 7;
        QTest::newRow("leading zeros") << c << "007" << 7;
        QTest::newRow("many leading zeros") << c << "000000000000000000000012" << 12;
        QTest::newRow("negative") << c << "-5" << -5;
        QTest::newRow("negative zero") << c << "-0" << 0;
        QTest::newRow("plus sign") << c << "+5" << 5;
        QTest::newRow("lowest") << c << "-32768" << -32768;
        QTest::newRow("highest") << c << "32767" << 32767;
        QTest::newRow("one past highest") << c << "32768" << none;
        QTest::newRow("one past lowest") << c << "-32769" << none;
        QTest::newRow("huge") << c << "99999999999999999999999" << none;
        QTest::newRow("empty") << c << "" << none;
        QTest::newRow("blanks only") << c << "   " << none;
        QTest::newRow("minus only") << c << "-" << none;
        QTest::newRow("letters") << c << "abc" << none;
        QTest::newRow("digits then letters") << c << "12a" << none;
        QTest::newRow("inner blank") << c << "1 2" << none;
        QTest::newRow("C: point fraction") << c << "2.5" << 2;
        QTest::newRow("C: comma is no decimal sign") << c << "2,5" << none;
        QTest::newRow("Swedish: 2,5") << sv << "2,5" << 2;
        QTest::newRow("Swedish: 3,5") << sv << "3,5" << 4;
        QTest::newRow("Swedish: -2,5") << sv << "-2,5" << -2;
        QTest::newRow("Swedish: point") << sv << "2.5" << none;
        QTest::newRow("Swedish: minus sign") << sv << QStringLiteral("\u22125") << -5;
        QTest::newRow("Swedish: 32767,4") << sv << "32767,4" << 32767;
        QTest::newRow("Swedish: 32767,5") << sv << "32767,5" << none;
        QTest::newRow("infinity") << c << "inf" << none;
    }

    void quantityConversion()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(int, value);
        LocaleGuard guard(locale);
        const std::optional<qint16> n = convertQuantity(text);
        QCOMPARE(n.has_value(), value != INT_MIN);
        if (n)
            QCOMPARE(int(*n), value);
    }

    void writer_data()
    {
        QTest::addColumn<Tags>("tags");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no data rows") << Tags{} << QByteArray();
        QTest::newRow("two tags") << Tags{{"Pump 1", "", "12"}, {"Källare", "A, B", "1"}}
                                  << QByteArray("\"Pump 1\",\" \",12\r\n\"K\xe4llare\",\"A, B\",1\r\n");
        QTest::newRow("both texts empty") << Tags{{"", "", "3"}} << QByteArray("\" \",\" \",3\r\n");
        QTest::newRow("blanks around texts kept") << Tags{{"  a ", " b", "1"}} << QByteArray("\"  a \",\" b\",1\r\n");
        QTest::newRow("quantity with blanks") << Tags{{"a", "b", " 7 "}} << QByteArray("\"a\",\"b\",7\r\n");
        QTest::newRow("negative quantity") << Tags{{"a", "b", "-5"}} << QByteArray("\"a\",\"b\",-5\r\n");
        QTest::newRow("zero") << Tags{{"a", "b", "0"}} << QByteArray("\"a\",\"b\",0\r\n");
        QTest::newRow("leading zeros") << Tags{{"a", "b", "007"}} << QByteArray("\"a\",\"b\",7\r\n");
        QTest::newRow("16-bit bounds") << Tags{{"a", "b", "32767"}, {"c", "d", "-32768"}}
                                       << QByteArray("\"a\",\"b\",32767\r\n\"c\",\"d\",-32768\r\n");
        QTest::newRow("empty quantity left out") << Tags{{"a", "b", ""}} << QByteArray();
        QTest::newRow("letters left out") << Tags{{"a", "b", "abc"}} << QByteArray();
        QTest::newRow("too large left out") << Tags{{"a", "b", "32768"}} << QByteArray();
        QTest::newRow("middle row left out") << Tags{{"a", "1", "1"}, {"b", "2", ""}, {"c", "3", "3"}}
                                             << QByteArray("\"a\",\"1\",1\r\n\"c\",\"3\",3\r\n");
        QTest::newRow("quote written as it is")
            << Tags{{"17\" rör", "x", "2"}} << QByteArray("\"17\" r\xf6r\",\"x\",2\r\n");
        QTest::newRow("foreign character as ?") << Tags{{"Ω", "x", "2"}} << QByteArray("\"?\",\"x\",2\r\n");
    }

    void writer()
    {
        QFETCH(Tags, tags);
        QFETCH(QByteArray, bytes);
        QCOMPARE(writtenBytes(tags), bytes);
    }

    void writer_swedishFractions_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("2,5") << "2,5" << QByteArray("2");
        QTest::newRow("3,5") << "3,5" << QByteArray("4");
        QTest::newRow("-2,5") << "-2,5" << QByteArray("-2");
        QTest::newRow("2,51") << "2,51" << QByteArray("3");
        QTest::newRow("point is no decimal sign here") << "2.5" << QByteArray();
    }

    void writer_swedishFractions()
    {
        QFETCH(QString, quantity);
        QFETCH(QByteArray, written);
        LocaleGuard sv(QLocale(QLocale::Swedish, QLocale::Sweden));
        const QByteArray expected = written.isNull() ? QByteArray() : "\"a\",\"b\"," + written + "\r\n";
        QCOMPARE(writtenBytes({{"a", "b", quantity}}), expected);
    }

    void writer_reportsWhatItCouldNotStore()
    {
        TagFileBytes f;
        writtenBytes({{"ok", "", "1"},
                      {"no quantity", "", ""},
                      {"say \"hi\"", "", "1"},
                      {"x", "Ω", "1"},
                      {"abc", "", "abc"},
                      {"€ is fine", "", "1"}},
                     &f);
        QCOMPARE(f.withoutQuantity, QList<int>({2, 5}));
        QCOMPARE(f.changedCharacters, QList<int>({3, 4}));
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<TagFileContent::End>("end");
        QTest::addColumn<bool>("left");
        using S = TagFileContent::End;
        const QStringList ab1{"a|b|1"};

        QTest::newRow("empty file") << QByteArray() << QStringList() << S::Complete << false;
        QTest::newRow("two tags") << QByteArray("\"Pump 1\",\" \",12\r\n\"K\xe4llare\",\"A, B\",1\r\n")
                                  << QStringList{"Pump 1| |12", "Källare|A, B|1"} << S::Complete << false;
        QTest::newRow("last record without line end")
            << QByteArray("\"a\",\"b\",1\r\n\"c\",\"d\",2") << QStringList{"a|b|1", "c|d|2"} << S::Complete << false;
        QTest::newRow("trailing blank line dropped")
            << QByteArray("\"a\",\"b\",1\r\n\r\n") << ab1 << S::ReadError << false;
        QTest::newRow("trailing blanks dropped")
            << QByteArray("\"a\",\"b\",1\r\n  \t\r\n") << ab1 << S::ReadError << false;
        QTest::newRow("unquoted items, blanks inside")
            << QByteArray("a  b,c  d  ,1\r\n") << QStringList{"a  b|c  d|1"} << S::Complete << false;
        QTest::newRow("unquoted items, blanks around")
            << QByteArray("  abc , def  ,  12  \r\n") << QStringList{"abc|def|12"} << S::Complete << false;
        QTest::newRow("blanks before a quoted item")
            << QByteArray("   \"a\",  \"b\", 1\r\n") << ab1 << S::Complete << false;
        QTest::newRow("anything after closing quote skipped")
            << QByteArray("\"a\" junk,\"b\"x,1\r\n") << ab1 << S::Complete << false;
        QTest::newRow("empty items") << QByteArray(",,\r\n") << QStringList{"||0"} << S::Complete << false;
        QTest::newRow("empty quoted texts")
            << QByteArray("\"\",\"\",4\r\n") << QStringList{"||4"} << S::Complete << false;
        QTest::newRow("quantity with a plus sign")
            << QByteArray("\"a\",\"b\",+5\r\n") << QStringList{"a|b|5"} << S::Complete << false;
        QTest::newRow("quantity not a number")
            << QByteArray("\"a\",\"b\",x\r\n") << QStringList{"a|b|0"} << S::Complete << false;
        QTest::newRow("quantity with exponent is no number")
            << QByteArray("\"a\",\"b\",1e3\r\n") << QStringList{"a|b|0"} << S::Complete << false;
        QTest::newRow("quoted quantity") << QByteArray("\"a\",\"b\",\" 7 \"\r\n") << QStringList{"a|b|7"} << S::Complete
                                         << false;
        QTest::newRow("record over two lines") << QByteArray("\"a\",\"b\"\r\n1\r\n") << ab1 << S::Complete << false;
        QTest::newRow("four items move the next record") << QByteArray("\"a\",\"b\",1,\"c\"\r\n\"d\",2\r\n")
                                                         << QStringList{"a|b|1", "c|d|2"} << S::Complete << false;
        QTest::newRow("ends inside a record")
            << QByteArray("\"a\",\"b\",1\r\n\"c\",\"d\"") << ab1 << S::ReadError << true;
        QTest::newRow("ends inside a quoted text") << QByteArray("\"a\",\"b\",1\r\n\"c") << ab1 << S::ReadError << true;
        QTest::newRow("lone quote at the end") << QByteArray("\"") << QStringList() << S::ReadError << true;
        QTest::newRow("a comma at the end") << QByteArray("\"a\",\"b\",1\r\n,") << ab1 << S::ReadError << true;
        QTest::newRow("quote inside a text")
            << QByteArray("\"say \"hi\"\",\"x\",1\r\n") << QStringList{"say |x|1"} << S::Complete << false;
        QTest::newRow("unquoted text with a quote")
            << QByteArray("ab\"c,d,1\r\n") << QStringList{"ab\"c|d|1"} << S::Complete << false;
        QTest::newRow("lone LF line ends")
            << QByteArray("\"a\",\"b\",1\n\"c\",\"d\",2\n") << QStringList{"a|b|1", "c|d|2"} << S::Complete << false;
        QTest::newRow("lone CR line ends")
            << QByteArray("\"a\",\"b\",1\r\"c\",\"d\",2\r") << QStringList{"a|b|1", "c|d|2"} << S::Complete << false;
        QTest::newRow("LF CR is two line ends")
            << QByteArray("\"a\",\"b\",1\n\r\"c\",\"d\",2\r\n") << QStringList{"a|b|1", "|c|0"} << S::ReadError << true;
        QTest::newRow("line end inside quotes kept")
            << QByteArray("\"a\r\nb\",\"c\",1\r\n") << QStringList{"a\r\nb|c|1"} << S::Complete << false;
        QTest::newRow("fraction, half to even down")
            << QByteArray("a,b,2.5\r\n") << QStringList{"a|b|2"} << S::Complete << false;
        QTest::newRow("fraction, half to even up")
            << QByteArray("a,b,3.5\r\n") << QStringList{"a|b|4"} << S::Complete << false;
        QTest::newRow("fraction above half")
            << QByteArray("a,b,2.5001\r\n") << QStringList{"a|b|3"} << S::Complete << false;
        QTest::newRow("negative half") << QByteArray("a,b,-2.5\r\n") << QStringList{"a|b|-2"} << S::Complete << false;
        QTest::newRow("16-bit bounds") << QByteArray("a,b,32767\r\nc,d,-32768\r\n")
                                       << QStringList{"a|b|32767", "c|d|-32768"} << S::Complete << false;
        QTest::newRow("rounds up out of range")
            << QByteArray("a,b,1\r\na,b,32767.5\r\n") << QStringList{"a|b|1"} << S::ReadError << true;
        QTest::newRow("too large") << QByteArray("a,b,32768\r\nc,d,1\r\n") << QStringList() << S::ReadError << true;
        QTest::newRow("too small") << QByteArray("a,b,-32769\r\n") << QStringList() << S::ReadError << true;
        QTest::newRow("very long number")
            << QByteArray("a,b," + QByteArray(5000, '9') + "\r\n") << QStringList() << S::ReadError << true;
        QTest::newRow("zeros before the number")
            << QByteArray("a,b,0000000000000000000012\r\n") << QStringList{"a|b|12"} << S::Complete << false;
        QTest::newRow("one blank stays one blank")
            << QByteArray("\" \",\" \",1\r\n") << QStringList{" | |1"} << S::Complete << false;
        QTest::newRow("Windows-1252 texts")
            << QByteArray("\"\x80 \xe5\xe4\xf6\",\"\x96\",1\r\n") << QStringList{"€ åäö|–|1"} << S::Complete << false;
        QTest::newRow("NUL bytes are text")
            << QByteArray("\"a\0b\",c,1\r\n", 11) << QStringList{QStringLiteral("a") + QChar(0) + "b|c|1"}
            << S::Complete << false;
    }

    void reader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(TagFileContent::End, end);
        QFETCH(bool, left);
        const std::optional<TagFileContent> read = readEveryWay(bytes, 100);
        QVERIFY(read);
        const TagFileContent &l = *read;
        QCOMPARE(rowsOf(l), rows);
        QCOMPARE(l.end, end);
        QCOMPARE(l.contentLeft, left);
    }

    void reader_listLimit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TagFileContent::End>("end");
        QTest::addColumn<bool>("left");
        using S = TagFileContent::End;
        QTest::newRow("more records") << QByteArray("a,b,1\r\nc,d,2\r\ne,f,3\r\n") << S::ListLimit << true;
        QTest::newRow("a record of blank lines")
            << QByteArray("a,b,1\r\nc,d,2\r\n\r\n\r\n\r\n") << S::ListLimit << true;
        QTest::newRow("an unfinished record") << QByteArray("a,b,1\r\nc,d,2\r\ne") << S::ReadError << true;
        QTest::newRow("only a blank line") << QByteArray("a,b,1\r\nc,d,2\r\n\r\n") << S::ReadError << false;
        QTest::newRow("exactly full") << QByteArray("a,b,1\r\nc,d,2") << S::Complete << false;
    }

    void reader_listLimit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TagFileContent::End, end);
        QFETCH(bool, left);
        const std::optional<TagFileContent> read = readEveryWay(bytes, 2);
        QVERIFY(read);
        const TagFileContent &l = *read;
        QCOMPARE(rowsOf(l), QStringList({"a|b|1", "c|d|2"}));
        QCOMPARE(l.end, end);
        QCOMPARE(l.contentLeft, left);
    }

    void reader_textLimit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows"); // records read before the stop
        QTest::addColumn<TagFileContent::End>("end");
        using S = TagFileContent::End;
        const QByteArray max(65535, 'x'), over(65536, 'x');
        const QByteArray good("\"ok\",\"ok\",1\r\n");
        QTest::newRow("quoted text 1 at the limit") << QByteArray("\"" + max + "\",b,1\r\n") << 1 << S::Complete;
        QTest::newRow("quoted text 2 at the limit") << QByteArray("a,\"" + max + "\",1\r\n") << 1 << S::Complete;
        QTest::newRow("unquoted text at the limit") << QByteArray(max + ",b,1\r\n") << 1 << S::Complete;
        QTest::newRow("unquoted, blanks after it do not count")
            << QByteArray(max + "     ,b,1\r\n") << 1 << S::Complete;
        QTest::newRow("quoted text 1 one over") << QByteArray(good + "\"" + over + "\",b,1\r\n") << 1 << S::ReadError;
        QTest::newRow("quoted text 2 one over") << QByteArray(good + "a,\"" + over + "\",1\r\n") << 1 << S::ReadError;
        QTest::newRow("unquoted text one over") << QByteArray(good + over + ",b,1\r\n") << 1 << S::ReadError;
        QTest::newRow("long text, quote never closed") << QByteArray(good + "\"" + over) << 1 << S::ReadError;
        QTest::newRow("records after a long one are not read")
            << QByteArray(good + "\"" + over + "\",b,1\r\n" + good + good) << 1 << S::ReadError;
        // Tabs are no blanks to skip before an item: the item is text, and
        // one too long to hold is damage even at the end of the file.
        QTest::newRow("unquoted blank item over the limit at the end")
            << QByteArray(good + QByteArray(65536, '\t')) << 1 << S::ReadError;
        QTest::newRow("unquoted blank item over the limit, blanks mixed in")
            << QByteArray(good + "\t" + QByteArray(65535, ' ') + "\t\r\n") << 1 << S::ReadError;
        QTest::newRow("a long quantity is no text")
            << QByteArray("a,b," + QByteArray(70000, '0') + "7\r\n") << 1 << S::Complete;
    }

    void reader_textLimit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        QFETCH(TagFileContent::End, end);
        const std::optional<TagFileContent> read = readEveryWay(bytes, 100);
        QVERIFY(read);
        const TagFileContent &l = *read;
        QCOMPARE(int(l.rows.size()), rows);
        QCOMPARE(l.end, end);
        // Damage, not a blank end: Open warns.
        QCOMPARE(l.contentLeft, end == TagFileContent::End::ReadError);
        for (const auto &r : l.rows)
            QVERIFY(r[0].size() <= 65535 && r[1].size() <= 65535);
        if (end == TagFileContent::End::Complete && bytes.startsWith('x'))
            QCOMPARE(l.rows[0][0].size(), 65535);
    }

    void reader_neverReadsPastTheEnd()
    {
        // A view into a larger buffer: the bytes after it must not count.
        const QByteArray buffer("\"a\",\"b\",1\r\n\"c\",\"d\",2\r\n");
        const qsizetype cut = buffer.indexOf("\"d\"") + 2; // inside the quoted "d"
        const TagFileContent l = readTagFile(QByteArrayView(buffer.constData(), cut), 100);
        QCOMPARE(rowsOf(l), QStringList({"a|b|1"}));
        QCOMPARE(l.end, TagFileContent::End::ReadError);

        const TagFileContent unquoted = readTagFile(QByteArrayView(buffer.constData(), buffer.indexOf(",1") + 2), 100);
        QCOMPARE(rowsOf(unquoted), QStringList({"a|b|1"}));
        QCOMPARE(unquoted.end, TagFileContent::End::Complete);
    }

    void roundTrip()
    {
        const Tags tags{{"Pump 1", "", "12"},
                        {"Källare", "A, B", "1"},
                        {"  blanks  ", " x ", "007"},
                        {"€ – ‘q’", "åäöÅÄÖé", "-3"},
                        {"", "", "5"},
                        {"no quantity", "", ""},
                        {"comma,at,end,", ",", "32767"}};
        const TagFileContent l = readTagFile(writtenBytes(tags), 100);
        QCOMPARE(l.end, TagFileContent::End::Complete);
        QCOMPARE(rowsOf(l), QStringList({"Pump 1| |12", "Källare|A, B|1", "  blanks  | x |7", "€ – ‘q’|åäöÅÄÖé|-3",
                                         " | |5", "comma,at,end,|,|32767"}));
    }
};

QTEST_GUILESS_MAIN(TestFilesFormat)
#include "test_files_format.moc"
