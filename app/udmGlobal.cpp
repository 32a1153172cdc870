#include "udmGlobal.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

TdmGlobal::TdmGlobal()
{
    ilActions.reserve(size_t(IconNames().size()));
    for (const QString& Name : IconNames()) {
        const QString Path = QStringLiteral(":/icons/") + Name + QStringLiteral(".svg");
        ilActions.push_back(QFile::exists(Path) ? QIcon(Path) : QIcon());
    }
}

const QStringList& TdmGlobal::IconNames()
{
    static const QStringList Names = {
        // the main window's actions
        QStringLiteral("actNewFontProject"), QStringLiteral("actNewFontImport"),
        QStringLiteral("actOpenFontProject"), QStringLiteral("actSaveFontProject"),
        QStringLiteral("actSaveModifiedChar"), QStringLiteral("actApplicationExit"),
        QStringLiteral("actUndo"), QStringLiteral("actCopyCharToClip"),
        QStringLiteral("actPasteCharFromClip"), QStringLiteral("actClearAllPixels"),
        QStringLiteral("actInvertGrid"), QStringLiteral("actOutlineChar"),
        QStringLiteral("actHorizMirror"), QStringLiteral("actVertMirror"),
        QStringLiteral("actScrollUp"), QStringLiteral("actScrollDown"),
        QStringLiteral("actScrollLeft"), QStringLiteral("actScrollRight"),
        QStringLiteral("actRollOver"), QStringLiteral("actSnapTop"),
        QStringLiteral("actSnapBottom"), QStringLiteral("actSnapLeft"),
        QStringLiteral("actSnapRight"), QStringLiteral("actShowGrid"),
        QStringLiteral("actInsetColLeft"), QStringLiteral("actInsertColRight"),
        QStringLiteral("actInsertRowTop"), QStringLiteral("actInsertRowBottom"),
        QStringLiteral("actDeleteFirstCol"), QStringLiteral("actDeleteLastCol"),
        QStringLiteral("actDeleteFirstRow"), QStringLiteral("actDeleteLastRow"),
        QStringLiteral("actBatchInvert"), QStringLiteral("actBatchOutline"),
        QStringLiteral("actBatchHMirror"), QStringLiteral("actBatchVMirror"),
        QStringLiteral("actBatchVertShiftUp"), QStringLiteral("actBatchVertShiftDown"),
        QStringLiteral("actBatchHorizShiftLeft"), QStringLiteral("actBatchHorizShiftRight"),
        QStringLiteral("actBatchSnapTop"), QStringLiteral("actBatchSnapBottom"),
        QStringLiteral("actBatchSnapLeft"), QStringLiteral("actBatchSnapRight"),
        QStringLiteral("actOptimize"), QStringLiteral("actExportSWFToFile"),
        QStringLiteral("actExportProtonToFile"), QStringLiteral("actExportMikroE"),
        QStringLiteral("actExportCustom"), QStringLiteral("actHelpFile"),
        QStringLiteral("actAbout"),
        // buttons and pictures of the window and the dialogs
        QStringLiteral("NewFontMenu"), QStringLiteral("ExportMenu"), QStringLiteral("QuickHelp"),
        QStringLiteral("Busy"), QStringLiteral("Warning"), QStringLiteral("DlgOk"),
        QStringLiteral("DlgCancel"), QStringLiteral("DlgSaveToFile"),
        QStringLiteral("DlgCopyToClipboard"), QStringLiteral("DlgFont"), QStringLiteral("DlgClose"),
        QStringLiteral("DlgSettings"), QStringLiteral("DlgError"),
    };
    return Names;
}

int TdmGlobal::IndexOf(const QString& Name) const { return int(IconNames().indexOf(Name)); }

QIcon TdmGlobal::Icon(const QString& Name) const
{
    const int I = IndexOf(Name);
    return I < 0 ? QIcon() : ilActions[size_t(I)];
}

TdmGlobal& dmGlobal()
{
    static TdmGlobal Module;
    return Module;
}

QPixmap ResourcePicture(const QString& Path, const QSize& Size)
{
    QPixmap Pixmap(Size);
    Pixmap.fill(Qt::transparent);
    if (!QFile::exists(Path))
        return Pixmap;
    QSvgRenderer Renderer(Path);
    if (Renderer.isValid()) {
        QPainter P(&Pixmap);
        Renderer.render(&P, QRectF(QPointF(0, 0), QSizeF(Size)));
    }
    return Pixmap;
}
