#include "ufMain.h"

TfrmMain::TfrmMain(QWidget* Parent) : QMainWindow(Parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dotwright 1.0.0"));
    resize(991, 744);
}
