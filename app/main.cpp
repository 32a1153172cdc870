#include "ufMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication App(argc, argv);
    TfrmMain Main;
    Main.show();
    return App.exec();
}
