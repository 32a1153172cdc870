#include "unExportFile.h"

#include "unHelpers.h"
#include "unMessageService.h"

#include <QDir>

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
    return WriteWholeFile(FileName, ToWin1252(Text), ErrorText);
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
