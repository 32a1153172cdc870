#pragma once
// The serial link on a real port. COM1 and COM2 are /dev/ttyS0 and /dev/ttyS1
// unless TINTORA_COM1 or TINTORA_COM2 name another device (a pty, a USB adapter).
#include "SerialLink.h"

#include <QSerialPort>

class TQtSerialLink : public TSerialLink {
public:
    TQtSerialLink();
    ~TQtSerialLink() override;

    static QString PortName(int CommPort);

    bool IsOpen() const override;
    [[nodiscard]] TOpenResult Open(int CommPort) override;
    void Close() override;
    [[nodiscard]] bool SetSettings(const QString& Settings) override;
    void Output(const QByteArray& Bytes) override;
    QByteArray Input() override;

    // For checking what SetSettings applied.
    const QSerialPort& Port() const { return FPort; }

private:
    QSerialPort FPort;
};
