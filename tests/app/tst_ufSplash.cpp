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

    // The logo's dot-matrix g from the ascenders' top down: a bowl on the baseline and a hook below it, not a 9.
    void logoHasADescenderG()
    {
        const QList<std::tuple<QString, QPointF, double>> Logos = { // the centre of the g's top left dot, the pitch
            {":/pictures/splash.svg", {355.5, 45}, 9.0}, {":/pictures/about.svg", {165.5, 91.75}, 6.5}};
        for (const auto& [Picture, Dot, Pitch] : Logos) {
            const QImage Img = ResourcePicture(Picture, QSize(540, 376)).toImage();
            QString Rows;
            for (int R = 0; R < 8; ++R)
                for (int C = 0; C < 6; ++C)
                    Rows += C == 5 ? u'|' : qGray(Img.pixel((Dot + QPointF(C, R) * Pitch).toPoint())) > 128 ? u'#' : u'.';
            QVERIFY2(Rows == ".....|.....|.####|#...#|#...#|.####|....#|.###.|", qPrintable(Picture + ": " + Rows));
        }
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
