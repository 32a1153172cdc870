#pragma once
// The themed look of header cells, borders and edit frames, drawn through the
// widget's QStyle. Switched off, every painter takes its classic path.
#include "NxSharedCommon.h"

#include <QString>

class QPainter;
class QWidget;

// True when themed drawing is on (the default); tests switch it off for the classic look.
bool ThemesAvailable();
void SetThemesAvailable(bool Value);

// Draws part PartId in state StateId of the theme class ClassName ("header", "edit", ...)
// into R. Header parts: 1 item, 2 the area beside the items; states 1 normal, 2 hot, 3 pressed.
void DrawThemed(QWidget* Handle, QPainter& DC, const TRect& R, const QString& ClassName, int PartId, int StateId);
