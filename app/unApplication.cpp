#include "unApplication.h"

#include "DwError.h"
#include "NxCustomGridControl.h"
#include "udmGlobal.h"
#include "ufMain.h"
#include "ufSplash.h"
#include "unMessageService.h"
#include "unTBXStyle.h"

#include <QDebug>
#include <QStyleFactory>
#include <new>

void ShowException(const std::exception& E)
{
    // Re-entry (an error while the box for another is up) goes to the log only.
    static bool Showing = false;
    const auto* Own = dynamic_cast<const EDotwrightError*>(&E);
    const QString Text = Own                                       ? Own->Message()
                         : dynamic_cast<const std::bad_alloc*>(&E) ? QStringLiteral("Not enough memory")
                                                                   : QString::fromLocal8Bit(E.what());
    if (Showing) {
        qWarning().noquote() << Text;
        return;
    }
    Showing = true;
    try {
        MessageService().MessageDlg(Text, TMsgDlgType::mtError, mbOK);
    } catch (...) {
        qWarning().noquote() << Text;
    }
    Showing = false;
}

TDwApplication::TDwApplication(int& Argc, char** Argv) : QApplication(Argc, Argv)
{
    setApplicationName(QStringLiteral("Dotwright"));
    setApplicationVersion(QStringLiteral("1.0.0"));
    setStyle(new TTBXStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    // The grid handles its own events; what goes wrong in one the user started
    // is shown like any other error.
    SetGridErrorReporter(ShowException);
}

bool TDwApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ShowException(E);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
    return false;
}

std::unique_ptr<TfrmMain> ProgramMain(int HoldMs)
{
    {
        TfrmSplash Splash;
        Splash.Hold(HoldMs);
    }
    auto Main = std::make_unique<TfrmMain>();
    dmGlobal();
    Main->show();
    return Main;
}
