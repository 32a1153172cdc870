#pragma once
// The application object and the start-up sequence.
#include <QApplication>
#include <exception>
#include <memory>

class TfrmMain;

// Shows an exception's message in an error box through the message seam.
void ShowException(const std::exception& E);

// An exception that reaches the event loop is shown, and the program goes on.
class TDwApplication : public QApplication {
    Q_OBJECT
public:
    TDwApplication(int& Argc, char** Argv);
    bool notify(QObject* Receiver, QEvent* Event) override;
};

// How long the splash stays up at start-up, in ms.
constexpr int SplashHoldMs = 3000;

// Shows the splash for HoldMs, then creates and shows the main window.
std::unique_ptr<TfrmMain> ProgramMain(int HoldMs = SplashHoldMs);
