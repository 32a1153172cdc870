#include "ufSplash.h"

#include "udmGlobal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QThread>

QLabel* AddPictureLabel(QWidget* Parent, const char* Name, const QString& Text, int X, int Y,
                        const QColor& Color)
{
    auto* L = new QLabel(Text, Parent);
    L->setObjectName(QString::fromLatin1(Name));
    QFont F(QStringLiteral("Tahoma"));
    F.setPointSize(8);
    L->setFont(F);
    QPalette P = L->palette();
    P.setColor(QPalette::WindowText, Color);
    L->setPalette(P);
    L->setAttribute(Qt::WA_TranslucentBackground);
    L->move(X, Y);
    L->adjustSize();
    return L;
}

QLabel* AddPicture(QWidget* Parent, const char* Name, const QString& Path, const QRect& Place)
{
    auto* L = new QLabel(Parent);
    L->setObjectName(QString::fromLatin1(Name));
    L->setAttribute(Qt::WA_TranslucentBackground);
    L->setPixmap(ResourcePicture(Path, Place.size()));
    L->setGeometry(Place);
    return L;
}

void FitToPicture(QWidget& Window, const QLabel& Image1, QLabel& imgStandaloneApp)
{
    imgStandaloneApp.show();
    Window.setFixedSize(Image1.size());
    if (const QScreen* S = Window.screen()) {
        QRect R = Window.rect();
        R.moveCenter(S->availableGeometry().center());
        Window.move(R.topLeft());
    }
}

TfrmSplash::TfrmSplash(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    resize(577, 395);
    Image1 = AddPicture(this, "Image1", QStringLiteral(":/pictures/splash.svg"), QRect(0, 0, 540, 376));
    AddPictureLabel(this, "Label2", QStringLiteral("Version 1.0.0"), 443, 138, Qt::black);
    AddPictureLabel(this, "Label4", QStringLiteral("The Ultimate Font Creation Tool"), 332, 194, Qt::red);
    AddPictureLabel(this, "Label3", QStringLiteral("For Embedded Systems"), 385, 211, Qt::red);
    AddPictureLabel(this, "Label1", MakerNotice, 323, 340, Qt::black);
    AddPictureLabel(this, "Label5", MakerUrl, 323, 356, Qt::black);
    imgStandaloneApp = AddPicture(this, "imgStandaloneApp", QStringLiteral(":/pictures/program.svg"),
                                  QRect(16, 160, 170, 170));
    FitToPicture(*this, *Image1, *imgStandaloneApp);
}

void TfrmSplash::Hold(int HoldMs)
{
    show();
    raise();
    QApplication::processEvents();
    QElapsedTimer Timer;
    Timer.start();
    while (Timer.elapsed() < HoldMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    hide();
}
