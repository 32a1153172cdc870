#include "QtSerialLink.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <unistd.h>

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
    const QString Name = PortName(CommPort);
    FPort.setPortName(Name);
    if (FPort.open(QIODevice::ReadWrite))
        return TOpenResult::Opened;
    // A port held by another program fails with a permission error on Linux:
    // its lock file is taken, or the tty is opened exclusively. A device this
    // user may not open at all fails the same way, but is not in use.
    const bool InUse = FPort.error() == QSerialPort::PermissionError
                       && ::access(QFile::encodeName(Name).constData(), R_OK | W_OK) == 0;
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
    static const QHash<QString, QSerialPort::Parity> Parities = {
        {QStringLiteral("n"), QSerialPort::NoParity},   {QStringLiteral("e"), QSerialPort::EvenParity},
        {QStringLiteral("o"), QSerialPort::OddParity},  {QStringLiteral("m"), QSerialPort::MarkParity},
        {QStringLiteral("s"), QSerialPort::SpaceParity},
    };
    static const QHash<QString, QSerialPort::DataBits> DataBitsByText = {
        {QStringLiteral("5"), QSerialPort::Data5}, {QStringLiteral("6"), QSerialPort::Data6},
        {QStringLiteral("7"), QSerialPort::Data7}, {QStringLiteral("8"), QSerialPort::Data8},
    };
    static const QHash<QString, QSerialPort::StopBits> StopBitsByText = {
        {QStringLiteral("1"), QSerialPort::OneStop},
        {QStringLiteral("1.5"), QSerialPort::OneAndHalfStop},
        {QStringLiteral("2"), QSerialPort::TwoStop},
    };

    const QStringList Fields = Settings.split(QLatin1Char(','));
    if (Fields.size() != 4)
        return false;
    bool BaudOk = false;
    const int Baud = Fields[0].trimmed().toInt(&BaudOk);
    const QString P = Fields[1].trimmed().toLower();
    const QString D = Fields[2].trimmed();
    const QString S = Fields[3].trimmed();
    if (!BaudOk || Baud <= 0 || !Parities.contains(P) || !DataBitsByText.contains(D) || !StopBitsByText.contains(S))
        return false;
    const QSerialPort::Parity Parity = Parities.value(P);
    const QSerialPort::DataBits DataBits = DataBitsByText.value(D);
    const QSerialPort::StopBits StopBits = StopBitsByText.value(S);

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
