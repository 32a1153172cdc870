// Tintora: a test panel for a serial colour device.
#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "Form1.h"
#include "QtSerialLink.h"

namespace {

int SignalPipe[2] = {-1, -1};

void OnTerminate(int)
{
    const char Byte = 1;
    // Only write() is safe here; the event loop does the rest.
    [[maybe_unused]] const auto Written = ::write(SignalPipe[0], &Byte, 1);
}

// SIGTERM and SIGINT close the window as the user would, so the port is
// closed properly rather than left to the process's end.
void CloseOnTermination(QWidget& Window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return;
    auto* Notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, &Window);
    QObject::connect(Notifier, &QSocketNotifier::activated, &Window, [&Window] {
        char Byte;
        [[maybe_unused]] const auto Read = ::read(SignalPipe[1], &Byte, 1);
        Window.close();
    });
    struct sigaction Action = {};
    Action.sa_handler = OnTerminate;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &Action, nullptr);
    sigaction(SIGINT, &Action, nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    // A write past the file size limit fails as a write, not as the program's end.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication App(argc, argv);
    TQtSerialLink Link;
    TForm1 Form(Link);
    QObject::connect(&Form, &TForm1::ProgramEnded, &App, &QCoreApplication::quit, Qt::QueuedConnection);
    CloseOnTermination(Form);
    Form.Form_Load();
    if (Form.Ended())
        return 0;
    Form.show();
    return App.exec();
}
