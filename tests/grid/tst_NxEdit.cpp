#include "DwError.h"
#include "NxEdit.h"

#include <QPainter>
#include <QtTest>

class tst_NxEdit : public QObject {
    Q_OBJECT
private slots:
    void EditingRect_data();
    void EditingRect();
    void PasswordIgnoresTheMargins();
    void TypedAccess_data();
    void TypedAccess();
    void ClickAtTheLeftSelectsAll();
    void GlyphClick();
    void EnterIsSwallowed();
    void TabsOnlyWhenWanted();
    void PaintsGlyphAndPreview();
};

// Margins (left, top, right, bottom), preview, glyph width, vertical alignment;
// then the editing rectangle's left and right, and the preview box.
void tst_NxEdit::EditingRect_data()
{
    QTest::addColumn<int>("Margin");
    QTest::addColumn<bool>("Preview");
    QTest::addColumn<int>("Glyph");
    QTest::addColumn<bool>("PreviewBorder");
    QTest::addColumn<QString>("Expected");
    // Client 117 x 16 inside the single border.
    QTest::newRow("plain") << 0 << false << 0 << false << "0 116 | 1 1 21 15";
    QTest::newRow("margins") << 3 << false << 0 << false << "3 113 | 1 1 21 15";
    QTest::newRow("preview") << 0 << true << 0 << false << "27 116 | 1 1 21 15";
    QTest::newRow("preview and 16-pixel glyph") << 0 << true << 16 << false << "47 116 | 21 1 41 15";
    QTest::newRow("margin, preview and glyph") << 2 << true << 16 << false << "49 114 | 21 1 41 15";
    QTest::newRow("preview border shrinks the box") << 0 << true << 0 << true << "27 116 | 2 2 20 14";
}

void tst_NxEdit::EditingRect()
{
    QFETCH(int, Margin);
    QFETCH(bool, Preview);
    QFETCH(int, Glyph);
    QFETCH(bool, PreviewBorder);
    QFETCH(QString, Expected);
    TNxEdit E;
    E.InnerMargins().SetLeft(Margin);
    E.InnerMargins().SetRight(Margin);
    E.SetShowPreview(Preview);
    E.SetPreviewBorder(PreviewBorder);
    if (Glyph) {
        QImage G(Glyph, Glyph, QImage::Format_RGB32);
        G.fill(Qt::blue);
        E.SetGlyph(G);
    }
    const TRect R = E.GetEditingRect();
    const TRect P = E.GetPreviewRect();
    QCOMPARE(QString("%1 %2 | %3 %4 %5 %6").arg(R.Left).arg(R.Right).arg(P.Left).arg(P.Top).arg(P.Right).arg(P.Bottom),
             Expected);
    // The line edit lays its text out from the same left edge.
    QCOMPARE(E.textMargins().left(), R.Left);
    // Vertical placement follows the alignment and the font's height.
    const int H = E.fontMetrics().height();
    E.SetVerticalAlignment(vaTop);
    E.InnerMargins().SetTop(2);
    QCOMPARE(E.GetEditingRect().Top, 2);
    E.SetVerticalAlignment(vaBottom);
    E.InnerMargins().SetBottom(1);
    QCOMPARE(E.GetEditingRect().Bottom, 15);
    QCOMPARE(E.GetEditingRect().Top, 15 - H);
    E.SetVerticalAlignment(vaMiddle);
    QCOMPARE(E.GetEditingRect().Top, 15 / 2 - H / 2);
}

void tst_NxEdit::PasswordIgnoresTheMargins()
{
    TNxEdit E;
    E.InnerMargins().SetLeft(9);
    QCOMPARE(E.textMargins().left(), 9);
    E.SetPasswordChar('*');
    QCOMPARE(E.echoMode(), QLineEdit::Password);
    QCOMPARE(E.textMargins(), QMargins());
    E.InnerMargins().SetLeft(12);
    QCOMPARE(E.textMargins(), QMargins());
}

// Text; then each typed getter's result or error.
void tst_NxEdit::TypedAccess_data()
{
    QTest::addColumn<QString>("Text");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("integer") << "42" << "int 42 | float 42 | bool 1";
    QTest::newRow("float") << "2.5" << "int error | float 2.5 | bool 1";
    QTest::newRow("boolean") << "True" << "int error | float error | bool 1";
    QTest::newRow("text") << "abc" << "int error | float error | bool error";
}

void tst_NxEdit::TypedAccess()
{
    QFETCH(QString, Text);
    QFETCH(QString, Expected);
    TNxEdit E;
    E.setText(Text);
    auto Try = [](const std::function<QString()>& F) {
        try {
            return F();
        } catch (const EDotwrightError&) {
            return QString("error");
        }
    };
    const QString Got = QString("int %1 | float %2 | bool %3")
                            .arg(Try([&] { return QString::number(E.GetAsInteger()); }),
                                 Try([&] { return QString::number(E.GetAsFloat()); }),
                                 Try([&] { return QString::number(E.GetAsBoolean()); }));
    QCOMPARE(Got, Expected);
    // The setters write the cells' texts.
    E.SetAsBoolean(false);
    QCOMPARE(E.text(), QString("False"));
    E.SetAsInteger(-7);
    QCOMPARE(E.text(), QString("-7"));
    E.SetAsFloat(0.25);
    QCOMPARE(E.GetAsFloat(), 0.25);
    E.SetAsString("x");
    QCOMPARE(E.GetAsString(), QString("x"));
}

void tst_NxEdit::ClickAtTheLeftSelectsAll()
{
    TNxEdit E;
    E.show();
    E.setText("hello world");
    QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(E.BorderWidth() + 1, 10));
    QCOMPARE(E.selectedText(), QString("hello world"));
    QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(60, 10));
    QCOMPARE(E.selectedText(), QString());
}

void tst_NxEdit::GlyphClick()
{
    TNxEdit E;
    E.show();
    QImage G(16, 16, QImage::Format_RGB32);
    G.fill(Qt::white);
    E.SetGlyph(G);
    // A glyph without alpha turns transparent in its bottom-left colour.
    QCOMPARE(qAlpha(E.Glyph().pixel(5, 5)), 0);
    int Clicks = 0;
    E.OnGlyphClick = [&](TNxCustomEdit*) { ++Clicks; };
    QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(E.BorderWidth() + 10, 8));
    QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(E.BorderWidth() + 30, 8));
    QCOMPARE(Clicks, 1);
}

void tst_NxEdit::EnterIsSwallowed()
{
    struct TParent : QWidget {
        int Keys = 0;
        void keyPressEvent(QKeyEvent*) override { ++Keys; }
    } Parent;
    auto* E = new TNxEdit(&Parent);
    Parent.show();
    QTest::keyClick(E, Qt::Key_Return);
    QTest::keyClick(E, Qt::Key_Enter);
    QCOMPARE(Parent.Keys, 0);
    QTest::keyClick(E, Qt::Key_F5);
    QCOMPARE(Parent.Keys, 1);
}

void tst_NxEdit::TabsOnlyWhenWanted()
{
    QWidget Form;
    auto* E = new TNxEdit(&Form);
    auto* Next = new QLineEdit(&Form);
    Form.show();
    Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Form));
    QStringList Keys;
    E->OnKeyDown = [&](TNxCustomEdit*, QKeyEvent* K) {
        Keys << QString::number(K->key(), 16);
        return false;
    };
    E->setFocus();
    QVERIFY(E->hasFocus());
    E->SetWantTabs(true);
    QTest::keyClick(E, Qt::Key_Tab);
    QVERIFY(E->hasFocus());
    QCOMPARE(Keys, QStringList{"1000001"});
    E->SetWantTabs(false);
    QTest::keyClick(E, Qt::Key_Tab);
    QVERIFY(Next->hasFocus());
}

void tst_NxEdit::PaintsGlyphAndPreview()
{
    TNxEdit E;
    E.resize(121, 20);
    E.setText("Sample");
    QImage G(16, 16, QImage::Format_RGB32);
    G.fill(Qt::white);
    for (int I = 2; I < 14; ++I)
        G.setPixel(I, I, qRgb(0, 0, 255));
    E.SetGlyph(G);
    E.SetShowPreview(true);
    E.SetPreviewBorder(true);
    TRect Drawn;
    E.OnCustomPreviewDraw = [&](TNxEdit*, QPainter& P, const TRect& R) {
        Drawn = R;
        P.fillRect(R.ToQRect(), Qt::red);
    };
    const QImage Img = E.grab().toImage();
    if (qEnvironmentVariableIsSet("DW_GRID_PNG"))
        Img.scaled(Img.size() * 4).save(qEnvironmentVariable("DW_GRID_PNG") + "/NxEdit.png");
    // The box: 20 wide after the glyph's 16 + 4, framed, its inside handed to the handler.
    QCOMPARE(Drawn, (TRect{22, 2, 40, 14}));
    const int B = E.BorderWidth();
    QCOMPARE(Img.pixelColor(B + 30, B + 8), QColor(Qt::red));
    QCOMPARE(Img.pixelColor(B + 21, B + 8), QColor(128, 128, 128));
    QCOMPARE(Img.pixelColor(B + 2 + 8, B + 2 + 8).blue(), 255);
}

QTEST_MAIN(tst_NxEdit)
#include "tst_NxEdit.moc"
