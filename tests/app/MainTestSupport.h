#pragma once
// Fonts, pictures and a window fixture shared by the main window's tests.
#include "ufMain.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

namespace MainTest {

inline std::unique_ptr<TGLCDFont> MakeFont(const QString& Name, int From, int To, int W, int H)
{
    auto F = std::make_unique<TGLCDFont>(Name);
    F->RangeFrom = From;
    F->RangeTo = To;
    for (int C = From; C <= To; ++C) {
        auto Ch = std::make_unique<TCharClass>(C, W, H);
        Ch->Fill(clClear);
        F->SetChar(C, std::move(Ch));
    }
    return F;
}

// Cells as text, row by row: '#' ink, '.' paper, rows joined by '|'.
inline QString Picture(const TCharClass& C)
{
    QString S;
    for (int Y = 0; Y < C.Height; ++Y) {
        if (Y)
            S += QLatin1Char('|');
        for (int X = 0; X < C.Width; ++X)
            S += C.GetCellValue(X, Y) == clInk ? QLatin1Char('#') : QLatin1Char('.');
    }
    return S;
}

inline QString Picture(const TPixelGrid& G)
{
    TCharClass C(0, G.HorizCellCount(), G.VertCellCount());
    G.SaveToChar(&C);
    return Picture(C);
}

// A character, or the editor's cells, drawn from a picture as Picture writes it.
inline void Draw(TCharClass& C, const QString& Pic)
{
    const QStringList Rows = Pic.split(QLatin1Char('|'));
    C.SetWidth(int(Rows[0].size()));
    C.SetHeight(int(Rows.size()));
    for (int Y = 0; Y < Rows.size(); ++Y)
        for (int X = 0; X < Rows[Y].size(); ++X)
            C.SetCellValue(X, Y, Rows[Y][X] == QLatin1Char('#') ? clInk : clClear);
}

inline void Draw(TPixelGrid& G, const QString& Pic)
{
    const QStringList Rows = Pic.split(QLatin1Char('|'));
    G.SetDimensions(int(Rows[0].size()), int(Rows.size()));
    for (int Y = 0; Y < Rows.size(); ++Y)
        for (int X = 0; X < Rows[Y].size(); ++X)
            G.SetCellValue(X, Y, Rows[Y][X] == QLatin1Char('#') ? clInk : clClear);
}

inline QString Label(const QWidget& W, const char* Name)
{
    auto* L = W.findChild<QLabel*>(QString::fromLatin1(Name));
    return L ? L->text() : QStringLiteral("<missing>");
}

// One window per test, the settings in a folder of their own, every
// question answered by the script.
class TWindowFixture {
public:
    QTemporaryDir Config;
    TScriptedMessageService Messages;
    std::unique_ptr<TfrmMain> Window;

    void Start()
    {
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        SetMessageService(&Messages);
    }
    void Stop() { SetMessageService(nullptr); }
    void Reset()
    {
        Window.reset();
        Messages = TScriptedMessageService();
    }
    TfrmMain& Main()
    {
        if (!Window) {
            Window = std::make_unique<TfrmMain>();
            Window->show();
            if (!QTest::qWaitForWindowExposed(Window.get()))
                qWarning("main window not exposed");
        }
        return *Window;
    }
    TfrmMain& MainWith(std::unique_ptr<TGLCDFont> Font, bool Modified = false)
    {
        Main().ShowProject(std::move(Font), Modified);
        return *Window;
    }
    // A left click on the editor's cell.
    void Click(int Col, int Row)
    {
        TPixelGrid* E = Window->CharEditor();
        const int CW = E->CellWidth();
        const QPoint P(Col * CW + CW / 2, Row * CW + CW / 2);
        QTest::mousePress(E, Qt::LeftButton, Qt::NoModifier, P);
        QTest::mouseRelease(E, Qt::LeftButton, Qt::NoModifier, P);
    }
};

// The test-case plumbing of the window tests that share the fixture: after
// each test the window is gone, no question went unanswered and every
// scripted answer was used.
class TWindowTestCase : public QObject {
    Q_OBJECT

protected:
    TWindowFixture Fx;

protected slots:
    void initTestCase()
    {
        QVERIFY(Fx.Config.isValid());
        Fx.Start();
    }
    void cleanupTestCase() { Fx.Stop(); }
    void cleanup()
    {
        Fx.Window.reset();
        QVERIFY2(Fx.Messages.Unanswered.isEmpty(), qPrintable(Fx.Messages.Unanswered.join('\n')));
        QVERIFY(Fx.Messages.AllUsed());
        Fx.Reset();
    }
};

} // namespace MainTest
