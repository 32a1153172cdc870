#include "QtSerialLink.h"

#include <QStringList>

TQtSerialLink::TQtSerialLink()
{
    FPort.setBaudRate(QSerialPort::Baud9600);
    FPort.setParity(QSerialPort::NoParity);
    FPort.setDataBits(QSerialPort::Data8);
    FPort.setStopBits(QSerialPort::OneStop);
    FPort.setFlowControl(QSerialPort::NoFlowControl);
    // A vanished device (USB adapter pulled) leaves the port useless; close it
    // so the window sees that no port is open instead of writing into nothing.
    QObject::connect(&FPort, &QSerialPort::errorOccurred, &FPort, [this](QSerialPort::SerialPortError Error) {
        if (Error == QSerialPort::ResourceError && FPort.isOpen())
            FPort.close();
    });
}

TQtSerialLink::~TQtSerialLink()
{
    Close();
}

QString TQtSerialLink::PortName(int CommPort)
{
    const QByteArray Override = qgetenv(CommPort == 2 ? "TINTORA_COM2" : "TINTORA_COM1");
    if (!Override.isEmpty())
        return QString::fromLocal8Bit(Override);
    return CommPort == 2 ? QStringLiteral("/dev/ttyS1") : QStringLiteral("/dev/ttyS0");
}

bool TQtSerialLink::IsOpen() const
{
    return FPort.isOpen();
}

TSerialLink::TOpenResult TQtSerialLink::Open(int CommPort)
{
    Close();
    FPort.setPortName(PortName(CommPort));
    if (FPort.open(QIODevice::ReadWrite))
        return TOpenResult::Opened;
    // A port held by another program fails with a permission error on Linux:
    // its lock file is taken, or the tty is opened exclusively.
    const bool InUse = FPort.error() == QSerialPort::PermissionError;
    FPort.clearError();
    return InUse ? TOpenResult::InUse : TOpenResult::Failed;
}

void TQtSerialLink::Close()
{
    if (!FPort.isOpen())
        return;
    FPort.flush();
    FPort.close();
}

bool TQtSerialLink::SetSettings(const QString& Settings)
{
    const QStringList Fields = Settings.split(QLatin1Char(','));
    if (Fields.size() != 4)
        return false;
    bool BaudOk = false;
    const int Baud = Fields[0].trimmed().toInt(&BaudOk);
    if (!BaudOk || Baud <= 0)
        return false;

    QSerialPort::Parity Parity;
    const QString P = Fields[1].trimmed().toLower();
    if (P == QLatin1String("n"))
        Parity = QSerialPort::NoParity;
    else if (P == QLatin1String("e"))
        Parity = QSerialPort::EvenParity;
    else if (P == QLatin1String("o"))
        Parity = QSerialPort::OddParity;
    else if (P == QLatin1String("m"))
        Parity = QSerialPort::MarkParity;
    else if (P == QLatin1String("s"))
        Parity = QSerialPort::SpaceParity;
    else
        return false;

    const QString D = Fields[2].trimmed();
    if (D != QLatin1String("5") && D != QLatin1String("6") && D != QLatin1String("7") && D != QLatin1String("8"))
        return false;
    const auto DataBits = static_cast<QSerialPort::DataBits>(D.toInt());

    QSerialPort::StopBits StopBits;
    const QString S = Fields[3].trimmed();
    if (S == QLatin1String("1"))
        StopBits = QSerialPort::OneStop;
    else if (S == QLatin1String("1.5"))
        StopBits = QSerialPort::OneAndHalfStop;
    else if (S == QLatin1String("2"))
        StopBits = QSerialPort::TwoStop;
    else
        return false;

    // On a closed port these are stored and applied by the next open.
    bool Ok = FPort.setBaudRate(Baud);
    Ok = FPort.setParity(Parity) && Ok;
    Ok = FPort.setDataBits(DataBits) && Ok;
    Ok = FPort.setStopBits(StopBits) && Ok;
    return Ok;
}

void TQtSerialLink::Output(const QByteArray& Bytes)
{
    if (!FPort.isOpen())
        return;
    FPort.write(Bytes);
    // Out at once, as the device expects each message when it is made.
    FPort.flush();
}

QByteArray TQtSerialLink::Input()
{
    if (!FPort.isOpen())
        return {};
    return FPort.readAll();
}
