#include "ufAbout.h"

#include "udmGlobal.h"
#include "ufSplash.h"
#include "unHelpers.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {
constexpr int SW_SHOWNORMAL = 1;
}

TfrmAbout::TfrmAbout(QWidget* Parent) : QDialog(Parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    resize(574, 398);
    QLabel* Image1 = AddPicture(this, "Image1", QStringLiteral(":/pictures/about.svg"), QRect(0, 0, 540, 376));
    AddPictureLabel(this, "Label8", QStringLiteral("Version 1.0.0"), 445, 62, Qt::black);
    AddPictureLabel(this, "Label4", MakerNotice, 318, 137, Qt::black);
    lblEmail = AddPictureLabel(this, "lblEmail", MakerEmail, 318, 154, Qt::blue);
    lblUrl = AddPictureLabel(this, "lblUrl", MakerUrl, 318, 171, Qt::blue);
    for (QLabel* L : {lblEmail, lblUrl}) {
        L->setCursor(Qt::PointingHandCursor);
        L->installEventFilter(this);
    }
    QLabel* imgStandaloneApp = AddPicture(this, "imgStandaloneApp", QStringLiteral(":/pictures/program.svg"),
                                          QRect(24, 160, 170, 170));
    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnOk->setAutoDefault(true);
    btnOk->setGeometry(456, 343, 75, 25);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    FitToPicture(*this, *Image1, *imgStandaloneApp);
}

bool TfrmAbout::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
        if (Watched == lblEmail) {
            lblEmailClick();
            return true;
        }
        if (Watched == lblUrl) {
            lblUrlClick();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

// A failure to open is not reported: the link is a courtesy.
void TfrmAbout::lblEmailClick()
{
    (void)ShellExecuteAndWait(QStringLiteral("mailto:") + lblEmail->text(), QString(), QString(), false,
                              SW_SHOWNORMAL);
}

void TfrmAbout::lblUrlClick()
{
    (void)ShellExecuteAndWait(lblUrl->text(), QString(), QString(), false, SW_SHOWNORMAL);
}
