#include "udmGlobal.h"
#include "ufSplash.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

class tst_ufSplash : public QObject {
    Q_OBJECT
private slots:
    void measuresThePicture()
    {
        TfrmSplash Splash;
        QCOMPARE(Splash.size(), QSize(540, 376));
        QVERIFY(Splash.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(Splash.windowFlags() & Qt::WindowStaysOnTopHint);
        const QList<std::tuple<const char*, QString, QPoint>> Labels = {
            {"Label2", "Version 1.0.0", {443, 138}},
            {"Label4", "The Ultimate Font Creation Tool", {332, 194}},
            {"Label3", "For Embedded Systems", {385, 211}},
            {"Label1", MakerNotice, {323, 340}},
            {"Label5", MakerUrl, {323, 356}},
        };
        for (const auto& [Name, Text, Pos] : Labels) {
            auto* L = Splash.findChild<QLabel*>(QString::fromLatin1(Name));
            QVERIFY2(L, Name);
            QCOMPARE(L->text(), Text);
            QCOMPARE(L->pos(), Pos);
        }
        QCOMPARE(Splash.findChild<QLabel*>("imgStandaloneApp")->geometry(), QRect(16, 160, 170, 170));
        QCOMPARE(Splash.findChild<QLabel*>("Label4")->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    // The logo's dot-matrix g, rows from the ascenders' top to the lowest
    // row: a bowl on the baseline and a hook below it, not a 9.
    void logoHasADescenderG_data()
    {
        QTest::addColumn<QString>("Picture");
        QTest::addColumn<QPointF>("FirstDot"); // centre of the dot at column 0, row 0
        QTest::addColumn<double>("Pitch");
        QTest::addColumn<QPoint>("Corner"); // column and row of the letter's top left
        QTest::addColumn<QString>("Expected");
        QTest::newRow("splash") << ":/pictures/splash.svg" << QPointF(31.5, 27.0) << 9.0 << QPoint(36, 2)
                                << ".....|.....|.####|#...#|#...#|.####|....#|.###.|.....";
        QTest::newRow("about") << ":/pictures/about.svg" << QPointF(29.0, 26.75) << 6.5 << QPoint(21, 10)
                               << ".....|.....|.####|#...#|#...#|.####|....#|.###.";
    }
    void logoHasADescenderG()
    {
        QFETCH(QString, Picture);
        QFETCH(QPointF, FirstDot);
        QFETCH(double, Pitch);
        QFETCH(QPoint, Corner);
        QFETCH(QString, Expected);
        const QImage Img = ResourcePicture(Picture, QSize(540, 376)).toImage();
        QStringList Rows;
        for (int R = 0; R < Expected.count(u'|') + 1; ++R) {
            QString Row;
            for (int C = 0; C < 5; ++C) {
                const QPointF Dot = FirstDot + QPointF(Corner.x() + C, Corner.y() + R) * Pitch;
                Row += qGray(Img.pixel(Dot.toPoint())) > 128 ? u'#' : u'.';
            }
            Rows << Row;
        }
        QCOMPARE(Rows.join(u'|'), Expected);
    }

    void holdsForTheGivenTime()
    {
        TfrmSplash Splash;
        QElapsedTimer T;
        T.start();
        Splash.Hold(150);
        QVERIFY(T.elapsed() >= 150);
        QVERIFY(!Splash.isVisible());
    }
};

QTEST_MAIN(tst_ufSplash)
#include "tst_ufSplash.moc"
