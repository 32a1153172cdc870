#include "unExportFile.h"

#include "unHelpers.h"
#include "unMessageService.h"

#include <QDir>
#include <QSaveFile>

QString ExportFileExtension(const QString& FileName)
{
    qsizetype NameStart = 0;
    for (QChar Sep : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        NameStart = qMax(NameStart, FileName.lastIndexOf(Sep) + 1);
    const qsizetype Dot = FileName.lastIndexOf(QLatin1Char('.'));
    if (Dot < NameStart)
        return QString();
    return FileName.mid(Dot).trimmed();
}

QString WithDefaultExtension(const QString& FileName, const QString& DefaultExt)
{
    return ExportFileExtension(FileName).isEmpty() ? FileName + DefaultExt : FileName;
}

QString CompletedExportName(const QString& FileName, const QString& DefaultExt)
{
    const QString Name = WithDefaultExtension(FileName, DefaultExt);
    return Name == FileName || ConfirmReplaceCompletedName(Name) ? Name : QString();
}

bool WriteExportFile(const QString& FileName, const QString& Text, QString* ErrorText)
{
    QSaveFile File(FileName);
    // A writable file in a folder the user may not write to is written in place.
    File.setDirectWriteFallback(true);
    const QByteArray Bytes = ToWin1252(Text);
    bool Ok = File.open(QIODevice::WriteOnly) && File.write(Bytes) == Bytes.size();
    if (Ok)
        Ok = File.commit();
    else
        File.cancelWriting();
    if (!Ok && ErrorText)
        *ErrorText = File.errorString();
    return Ok;
}

QString SaveErrorText(const QString& FileName, const QString& Reason)
{
    return QStringLiteral("Error Saving file ") + QDir::toNativeSeparators(FileName) + QStringLiteral(".\r\n") +
           Reason;
}

bool SaveExportFile(const QString& FileName, const QString& Text)
{
    QString Reason;
    if (WriteExportFile(FileName, Text, &Reason))
        return true;
    MessageService().MessageDlg(SaveErrorText(FileName, Reason), TMsgDlgType::mtError, mbOK);
    return false;
}
