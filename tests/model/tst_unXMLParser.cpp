#include "DwError.h"
#include "unXMLParser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The tree as one line: name, [attributes], ="value", (children).
QString Tree(const TXMLNode* N)
{
    if (!N)
        return QStringLiteral("-");
    QString S = N->Name;
    for (int I = 0; I < N->AttributeCount(); ++I)
        S += QStringLiteral("[%1=%2]").arg(N->GetAttribute(I)->Name, N->GetAttribute(I)->Value);
    if (!N->Value.isEmpty())
        S += QStringLiteral("=\"%1\"").arg(N->Value);
    if (N->Children) {
        S += u'(';
        for (int I = 0; I < N->ChildCount(); ++I)
            S += (I ? QStringLiteral(" ") : QString()) + Tree(N->GetChild(I));
        S += u')';
    }
    return S;
}

} // namespace

class tst_unXMLParser : public QObject {
    Q_OBJECT
private slots:
    void escapeAndUnescape_data();
    void escapeAndUnescape();
    void writesElements();
    void writesNestedDocument();
    void attributesAndReads();
    void readIntRejectsNonIntegers_data();
    void readIntRejectsNonIntegers();
    void searchesAndPaths();
    void deleteChildKeepsListAndSearch();
    void parses_data();
    void parses();
    void writtenTreeReadsBack();
    void filesAndEncoding();
    void fileBytes_data();
    void fileBytes();
};

void tst_unXMLParser::escapeAndUnescape_data()
{
    QTest::addColumn<QString>("Plain");
    QTest::addColumn<QString>("Escaped");
    QTest::newRow("lt and amp") << "a<b & c" << "a&lt;b &amp; c";
    QTest::newRow("quotes") << "\"x'" << "&quot;x&apos;";
    QTest::newRow("gt and line feed, CR kept") << ">\n\r" << "&gt;&#10;\r";
    QTest::newRow("entity text") << "&lt;" << "&amp;lt;";
    QTest::newRow("nothing to do") << "16777215,0" << "16777215,0";
}

void tst_unXMLParser::escapeAndUnescape()
{
    QFETCH(QString, Plain);
    QFETCH(QString, Escaped);
    QCOMPARE(XMLEscape(Plain), Escaped);
    QCOMPARE(XMLUnescape(Escaped), Plain);
    QCOMPARE(XMLUnescape(QStringLiteral("&amp;amp;")), QStringLiteral("&amp;"));
    // One pass gives what replacing one entity after the other, "&amp;" last, gives.
    QCOMPARE(XMLUnescape(QStringLiteral("&&lt;&am&gt;p;&amp;quot;&#10&#10;")), QStringLiteral("&<&am>p;&quot;&#10\n"));
}

void tst_unXMLParser::writesElements()
{
    TXMLNode A(QStringLiteral("A"), QString(), nullptr);
    QCOMPARE(A.GetXML(), QStringLiteral("<A/>"));
    A.ShortEmptyTag = false;
    QCOMPARE(A.GetXML(), QStringLiteral("<A></A>"));
    A.SetValue(QStringLiteral("x&y"));
    A.AddIntAttribute(QStringLiteral("W"), -8);
    A.AddBoolAttribute(QStringLiteral("P"), true);
    QCOMPARE(A.GetXML(), QStringLiteral("<A W=\"-8\" P=\"1\">x&amp;y</A>"));
    QCOMPARE(A.GetAttribute(0)->AsXML(), QStringLiteral("W=\"-8\""));
    // A child list that was emptied still writes start and end tags, the text on its own line.
    TXMLNode* B = A.AddBoolChild(QStringLiteral("B"), false);
    QCOMPARE(B->GetXML(), QStringLiteral("     <B>0</B>"));
    A.DeleteChild(B);
    QCOMPARE(A.GetXML(), QStringLiteral("<A W=\"-8\" P=\"1\">\r\n     x&amp;y\r\n</A>"));
    QCOMPARE(IndentString(2), QString(10, u' '));
    QCOMPARE(IndentString(-1), QString());
}

void tst_unXMLParser::writesNestedDocument()
{
    TXMLDocument Doc(QStringLiteral("D"), QString());
    QCOMPARE(Doc.GetXML(), QString());
    Doc.Root = std::make_unique<TXMLNode>(QStringLiteral("FONT"), QString(), nullptr);
    Doc.Root->AddChild(QStringLiteral("CHARS"), QString())
        ->AddChild(QStringLiteral("CHAR"), QString())
        ->AddAttribute(QStringLiteral("CODE"), QStringLiteral("32"));
    const QString Body = QStringLiteral(
        "<FONT>\r\n     <CHARS>\r\n          <CHAR CODE=\"32\"/>\r\n     </CHARS>\r\n</FONT>");
    QCOMPARE(Doc.GetXML(), Body);
    Doc.Header = QStringLiteral("   ");
    QCOMPARE(Doc.GetHeaderTag(), QString());
    QCOMPARE(Doc.GetXML(), Body);
    Doc.SetDefaultHeader();
    QCOMPARE(Doc.Header.size(), 41);
    QCOMPARE(Doc.GetXML(), "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n" + Body);
    Doc.Clear();
    QCOMPARE(Doc.GetXML(), QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
}

void tst_unXMLParser::attributesAndReads()
{
    TXMLNode N(QStringLiteral("N"), QString(), nullptr);
    QCOMPARE(N.AttributeByName(QStringLiteral("A")), nullptr);
    QCOMPARE(N.GetAttribute(0), nullptr);
    N.AddAttribute(QStringLiteral("A"), QStringLiteral("first"));
    N.AddAttribute(QStringLiteral("A"), QStringLiteral("12"));
    N.AddAttribute(QStringLiteral("B"), QStringLiteral("true"));
    QCOMPARE(N.AttributeCount(), 3);
    QCOMPARE(N.ReadAttribute(QStringLiteral("A"), QString()), QStringLiteral("12"));
    QCOMPARE(N.ReadIntAttribute(QStringLiteral("A"), 5), 12);
    QCOMPARE(N.ReadIntAttribute(QStringLiteral("a"), 5), 5);
    QCOMPARE(N.ReadBoolAttribute(QStringLiteral("B"), true), false);
    QCOMPARE(N.ReadBoolAttribute(QStringLiteral("C"), true), true);
    N.DeleteAttribute(QStringLiteral("A"));
    QCOMPARE(N.ReadAttribute(QStringLiteral("A"), QString()), QStringLiteral("first"));
    N.DeleteAttribute(QStringLiteral("none"));
    QCOMPARE(N.AttributeCount(), 2);
    auto Moved = std::make_unique<TXMLAttribute>(QStringLiteral("M"), QStringLiteral("v"), nullptr);
    QCOMPARE(N.AttachAttribute(std::move(Moved))->Node, &N);
    QCOMPARE(N.ReadChildValue(QStringLiteral("X"), QStringLiteral("dflt")), QStringLiteral("dflt"));
}

void tst_unXMLParser::readIntRejectsNonIntegers_data()
{
    QTest::addColumn<QString>("Value");
    for (const char* V : {"", " 1", "1 ", "1.5", "0x10", "2147483648", "-2147483649", "+", "1e3"})
        QTest::newRow(qPrintable(QStringLiteral("[%1]").arg(QLatin1StringView(V)))) << QString::fromLatin1(V);
}

void tst_unXMLParser::readIntRejectsNonIntegers()
{
    QFETCH(QString, Value);
    TXMLNode N(QStringLiteral("N"), QString(), nullptr);
    N.AddAttribute(QStringLiteral("V"), Value);
    try {
        (void)N.ReadIntAttribute(QStringLiteral("V"), 0);
        QFAIL("no error");
    } catch (const EDotwrightError& E) {
        QCOMPARE(E.Message(), QStringLiteral("V value \"%1\" is not an integer").arg(Value));
    }
    N.AddAttribute(QStringLiteral("V"), QStringLiteral("-2147483648"));
    QCOMPARE(N.ReadIntAttribute(QStringLiteral("V"), 0), std::numeric_limits<int>::min());
}

void tst_unXMLParser::searchesAndPaths()
{
    TXMLDocument Doc(QStringLiteral("D"), QString());
    QVERIFY(!Doc.SelectPath(QStringLiteral("\\FONT")));
    Doc.Root = std::make_unique<TXMLNode>(QStringLiteral("FONT"), QString(), nullptr);
    TXMLNode& R = *Doc.Root;
    QCOMPARE(R.ChildByName(QStringLiteral("C")), nullptr);
    R.AddChild(QStringLiteral("C"), QStringLiteral("a"));
    R.AddChild(QStringLiteral("D"), QStringLiteral("b"));
    TXMLNode* C2 = R.AddIntChild(QStringLiteral("C"), 7);
    QVERIFY(R.FindFirst(QStringLiteral("C")));
    QCOMPARE(R.CurrentIndex, 0);
    QVERIFY(R.FindNext(QStringLiteral("C")));
    QCOMPARE(R.Current, C2);
    QVERIFY(!R.FindNext(QStringLiteral("C")));
    QCOMPARE(R.CurrentIndex, -1);
    QCOMPARE(R.Current, nullptr);
    QVERIFY(R.FindNext(QStringLiteral("C"))); // starts again at child 0
    QCOMPARE(R.CurrentIndex, 0);
    QVERIFY(R.FindFirstWithValue(QStringLiteral("C"), QStringLiteral("7")));
    QCOMPARE(R.CurrentIndex, 2);
    QVERIFY(!R.FindNextWithValue(QStringLiteral("C"), QStringLiteral("7")));
    QCOMPARE(R.ReadChildValue(QStringLiteral("D"), QString()), QStringLiteral("b"));
    TXMLNode* E = C2->AddChild(QStringLiteral("E"), QString());
    QCOMPARE(E->GetPath(), QStringLiteral("\\FONT\\C\\E"));
    QCOMPARE(E->GetLevel(), 2);
    QCOMPARE(R.GetLevel(), 0);

    QVERIFY(Doc.SelectPath(QStringLiteral("FONT\\D")));
    QCOMPARE(Doc.CurrentNode->Value, QStringLiteral("b"));
    QVERIFY(Doc.SelectPath(QStringLiteral("\\FONT\\C\\")));
    QCOMPARE(Doc.CurrentNode->Value, QStringLiteral("a"));
    QVERIFY(!Doc.SelectPath(QStringLiteral("\\FONT\\C\\E"))); // the first C has no E
    QCOMPARE(Doc.CurrentNode, nullptr);
    QVERIFY(!Doc.SelectPath(QStringLiteral("\\font")));
    QVERIFY(!Doc.SelectPath(QString()));
    QVERIFY(Doc.SelectPath(QStringLiteral("\\FONT")));
    QCOMPARE(Doc.CurrentNode, &R);
}

void tst_unXMLParser::deleteChildKeepsListAndSearch()
{
    TXMLNode R(QStringLiteral("R"), QString(), nullptr);
    TXMLNode* A = R.AddChild(QStringLiteral("A"), QString());
    A->AddChild(QStringLiteral("A1"), QString())->AddChild(QStringLiteral("A2"), QString());
    TXMLNode* B = R.AddChild(QStringLiteral("B"), QString());
    TXMLNode Stranger(QStringLiteral("S"), QString(), nullptr);
    R.DeleteChild(&Stranger);
    R.DeleteChild(nullptr);
    QVERIFY(R.FindFirst(QStringLiteral("B")));
    R.DeleteChild(A);
    QCOMPARE(Tree(&R), QStringLiteral("R(B)"));
    QCOMPARE(R.Current, B); // the search position follows the shift
    QCOMPARE(R.CurrentIndex, 0);
    R.DeleteChild(B);
    QCOMPARE(R.Current, nullptr);
    QCOMPARE(R.CurrentIndex, -1);
    QCOMPARE(Tree(&R), QStringLiteral("R()"));
    QVERIFY(R.AttachChild(nullptr) == nullptr);
}

void tst_unXMLParser::parses_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QString>("Expected");
    QTest::addColumn<QString>("Header");
    QTest::newRow("empty") << "" << "-" << "";
    QTest::newRow("blanks") << " \r\n\t" << "-" << "";
    QTest::newRow("declaration and attributes")
        << "junk <?xml version=\"1.0\"?>\r\n<F A=\"1\"  B=\"x&amp;&#10;y\">\r\n  <G/>\r\n</F>\r\n"
        << "F[A=1][B=x&\ny](G)" << "?xml version=\"1.0\"?";
    QTest::newRow("text keeps trailing blanks") << "<A>  hello  </A>" << "A=\"hello  \"" << "";
    QTest::newRow("line breaks leave values")
        << "<A V=\"1\r\n2\">a\r\nb<B/></A>" << "A[V=12]=\"ab\"(B)" << "";
    QTest::newRow("text after a child is dropped") << "<A><B/>x</A>" << "A(B)" << "";
    QTest::newRow("end tag with nothing open") << "</A>" << "-" << "";
    QTest::newRow("end tag ends after the root") << "<A/></A><B/>" << "A" << "";
    QTest::newRow("second top-level element") << "<A/><B/>" << "A" << "";
    QTest::newRow("comment with a bracket") << "<!-- a > b --><A/>" << "A" << "";
    QTest::newRow("cut in a start tag") << "<A" << "A" << "";
    QTest::newRow("cut in a value") << "<A x=\"1" << "A" << "";
    QTest::newRow("cut in text") << "<A>abc" << "A" << "";
    QTest::newRow("cut after an angle bracket") << "<A><" << "A" << "";
    QTest::newRow("cut in a declaration") << "<?xml" << "-" << "";
    QTest::newRow("digit name") << "<1>" << "1" << "";
    QTest::newRow("single quotes skip the tag") << "<A x='1'><B/></A>" << "A(B)" << "";
    QTest::newRow("blank before equals") << "<A x =\"1\"/><B/>" << "A(B)" << "";
    QTest::newRow("attribute name not a letter") << "<A _x=\"1\"><B/></A>" << "A(B)" << "";
    QTest::newRow("end tag with blanks") << "<A><B></B ><C/></A >" << "A(B C)" << "";
    QTest::newRow("nesting too deep stops")
        << QString("<a>").repeated(MaxXMLDepth + 5) << "" << "";
}

void tst_unXMLParser::parses()
{
    QFETCH(QString, Text);
    QFETCH(QString, Expected);
    QFETCH(QString, Header);
    TXMLDocument Doc(QStringLiteral("D"), QString());
    Doc.ParseText(Text);
    QCOMPARE(Doc.Header, Header);
    if (Expected.isEmpty()) {
        int Depth = 0;
        for (const TXMLNode* N = Doc.Root.get(); N; N = N->GetChild(0))
            ++Depth;
        QCOMPARE(Depth, MaxXMLDepth);
        return;
    }
    QCOMPARE(Tree(Doc.Root.get()), Expected);
}

void tst_unXMLParser::writtenTreeReadsBack()
{
    TXMLDocument Doc(QStringLiteral("D"), QString());
    Doc.SetDefaultHeader();
    Doc.Root = std::make_unique<TXMLNode>(QStringLiteral("R"), QString(), nullptr);
    TXMLNode* A = Doc.Root->AddChild(QStringLiteral("A_1"), QStringLiteral("'q' & \"d\""));
    A->AddAttribute(QStringLiteral("k-2"), QStringLiteral("line1\nline2 & <x>"));
    TXMLNode* B = Doc.Root->AddChild(QStringLiteral("B"), QString());
    B->AddChild(QStringLiteral("C"), QStringLiteral("\u00e9\u20ac"))->AddAttribute(QStringLiteral("z"), QString());
    B->AddChild(QStringLiteral("D"), QString());
    const QString Text = Doc.GetXML();

    TXMLDocument Back(QStringLiteral("E"), QString());
    Back.LoadFromXML(Text);
    QCOMPARE(Back.Header, Doc.Header);
    QCOMPARE(Tree(Back.Root.get()), Tree(Doc.Root.get()));
    QCOMPARE(Back.GetXML(), Text);
    // LoadFromXML starts a new tree; an empty text changes nothing.
    Back.LoadFromXML(QString());
    QCOMPARE(Back.GetXML(), Text);
    Back.LoadFromXML(QStringLiteral("<X/>"));
    QCOMPARE(Tree(Back.Root.get()), QStringLiteral("X"));
    // Parse adds to an existing root.
    Back.Parse({QStringLiteral("<Y>"), QStringLiteral("</Y>")});
    QCOMPARE(Tree(Back.Root.get()), QStringLiteral("X(Y)"));
}

void tst_unXMLParser::filesAndEncoding()
{
    QTemporaryDir Dir;
    TXMLDocument Doc(QStringLiteral("D"), Dir.filePath(QStringLiteral("set.xml")));
    Doc.Root = std::make_unique<TXMLNode>(QStringLiteral("R"), QStringLiteral("a\rb\u00e9\u20ac"), nullptr);
    QString Error;
    QVERIFY(!Doc.SaveToFile(QString(), &Error)); // the stored name is not used
    QVERIFY(!QFile::exists(Doc.FileName));
    QVERIFY(Doc.Save(&Error));
    QFile F(Doc.FileName);
    QVERIFY(F.open(QIODevice::ReadOnly));
    // Every line ends with CR LF, the lone CR too; 8-bit Windows-1252.
    QCOMPARE(F.readAll(), QByteArray("<R>a\r\nb\xe9\x80</R>\r\n"));

    TXMLDocument Back(QStringLiteral("B"), Doc.FileName);
    QVERIFY(Back.Load());
    QCOMPARE(Back.Root->Value, QStringLiteral("ab\u00e9\u20ac"));

    TXMLDocument Missing(QStringLiteral("M"), Dir.filePath(QStringLiteral("none.xml")));
    Missing.Root = std::make_unique<TXMLNode>(QStringLiteral("old"), QString(), nullptr);
    QVERIFY(!Missing.Load(&Error));
    QCOMPARE(Missing.Root, nullptr);
    QVERIFY(!Missing.SaveToFile(Dir.filePath(QStringLiteral("no/dir/x.xml")), &Error));
    QVERIFY(!Error.isEmpty());
}

void tst_unXMLParser::fileBytes_data()
{
    QTest::addColumn<QString>("Name");
    QTest::addColumn<QString>("Attribute");
    QTest::addColumn<QString>("Value");
    QTest::addColumn<QByteArray>("Bytes");
    const QString Long = QString(10, u'1') + u',';
    QTest::newRow("long plain value") << "R" << "" << Long.repeated(3)
                                      << QByteArray("<R a=\"\">") + Long.repeated(3).toLatin1() + "</R>\r\n";
    QTest::newRow("entities between plain blocks")
        << "R" << "0123456789&<>\"'" + Long << "" << QByteArray("<R a=\"0123456789&amp;&lt;&gt;&quot;&apos;")
                                                     + Long.toLatin1() + "\"/>\r\n";
    QTest::newRow("8-bit character inside a block, plain after it")
        << "R" << "" << "abcdefghijk\u00e9lmnopqrstuvwxyz<"
        << QByteArray("<R a=\"\">abcdefghijk\xe9lmnopqrstuvwxyz&lt;</R>\r\n");
    QTest::newRow("Windows-1252, unmappable as ?")
        << "R" << "" << QString::fromUtf8("\u0080\u0081\u20ac\u00ff\u0100\U0001F600")
        << QByteArray("<R a=\"\">?\x81\x80\xff???" "</R>\r\n");
    QTest::newRow("CR before an entity and before markup")
        << "R" << "" << "a\r\nb\r" << QByteArray("<R a=\"\">a\r\n&#10;b\r\n</R>\r\n");
    QTest::newRow("LF of an attribute is an entity, its CR a line end")
        << "R" << "x\ny\rz" << "" << QByteArray("<R a=\"x&#10;y\r\nz\"/>\r\n");
    QTest::newRow("line ends in a name: LF, CR LF") << "R\nS\r\nT" << "" << "v"
                                                    << QByteArray("<R\r\nS\r\nT a=\"\">v</R\r\nS\r\nT>\r\n");
}

void tst_unXMLParser::fileBytes()
{
    QFETCH(QString, Name);
    QFETCH(QString, Attribute);
    QFETCH(QString, Value);
    QFETCH(QByteArray, Bytes);
    TXMLDocument Doc(QStringLiteral("D"), QString());
    QCOMPARE(Doc.GetFileBytes(), QByteArray());
    Doc.Root = std::make_unique<TXMLNode>(Name, Value, nullptr);
    Doc.Root->AddAttribute(QStringLiteral("a"), Attribute);
    QCOMPARE(Doc.GetFileBytes(), Bytes);
    // The header line comes first, on a line of its own.
    Doc.SetDefaultHeader();
    QCOMPARE(Doc.GetFileBytes(), "<" + Doc.Header.toLatin1() + ">\r\n" + Bytes);
}

QTEST_GUILESS_MAIN(tst_unXMLParser)
#include "tst_unXMLParser.moc"
