#include "ufMain.h"
#include "unApplication.h"

#include <csignal>

int main(int argc, char* argv[])
{
    // A write past the file size limit (ulimit -f) then fails with "File too
    // large" like any other failed write, instead of ending the program with
    // the user's unsaved project.
    std::signal(SIGXFSZ, SIG_IGN);
    TDwApplication App(argc, argv);
    std::unique_ptr<TfrmMain> Main = ProgramMain();
    return App.exec();
}
