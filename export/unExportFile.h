#pragma once
// Generated source on its way to a file, shared by the export commands of the
// main window and the MikroElektronika dialog.
#include <QString>

// The extension as the export commands test it: the text from the last "." of
// the file's own name (after the last "/", "\" or ":"), the dot included,
// blanks trimmed; empty when the name has no dot.
QString ExportFileExtension(const QString& FileName);
// FileName, with DefaultExt (".bas") appended when it has no extension.
QString WithDefaultExtension(const QString& FileName, const QString& DefaultExt);
// The same, and empty when the completed name is an existing file that the
// user does not want replaced.
QString CompletedExportName(const QString& FileName, const QString& DefaultExt);

// Writes Text as Windows-1252 without a byte-order mark, exactly as given, line
// ends included. An existing file is replaced only once the new one is
// complete. False, with the reason in ErrorText, when the file cannot be written.
[[nodiscard]] bool WriteExportFile(const QString& FileName, const QString& Text, QString* ErrorText);
// The text of the error box for a failed write.
QString SaveErrorText(const QString& FileName, const QString& Reason);
// WriteExportFile; a failure is shown in an error box through the message seam.
[[nodiscard]] bool SaveExportFile(const QString& FileName, const QString& Text);
