#pragma once
// What the tester window needs of a serial port, so the window's logic can be
// driven by a fake port in tests and by a real one in the program.
#include <QByteArray>
#include <QString>

class TSerialLink {
public:
    enum class TOpenResult {
        Opened,
        InUse,  // another program holds the port
        Failed, // missing or broken: the port simply stays closed
    };

    virtual ~TSerialLink() = default;

    virtual bool IsOpen() const = 0;
    // CommPort is 1 or 2. Opening an open link closes it first.
    [[nodiscard]] virtual TOpenResult Open(int CommPort) = 0;
    virtual void Close() = 0;
    // Line settings as "baud,parity,data bits,stop bits", e.g. "9600,n,8,1";
    // kept for the next open when the link is closed. False for a bad text.
    [[nodiscard]] virtual bool SetSettings(const QString& Settings) = 0;
    // Each byte goes out as it is; nothing is sent while closed.
    virtual void Output(const QByteArray& Bytes) = 0;
    // Everything received since the last call; empty while closed.
    virtual QByteArray Input() = 0;
};
