#include "ufMain.h"
#include "unApplication.h"

int main(int argc, char* argv[])
{
    TDwApplication App(argc, argv);
    std::unique_ptr<TfrmMain> Main = ProgramMain();
    return App.exec();
}
