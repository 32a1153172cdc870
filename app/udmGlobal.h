#pragma once
// The shared image list: one 16 x 16 icon per action and a few for the dialogs,
// drawn by this project and kept in the resource under :/icons/<name>.svg.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <vector>

class TdmGlobal {
public:
    TdmGlobal();

    // Every name the list holds, in index order.
    static const QStringList& IconNames();

    // The list itself; a picture missing from the resource is a blank icon.
    std::vector<QIcon> ilActions;

    // -1 for a name that is not in the list.
    int IndexOf(const QString& Name) const;
    // A blank icon for a name that is not in the list.
    QIcon Icon(const QString& Name) const;
};

// Created on first use; lives until the program ends.
TdmGlobal& dmGlobal();

class QPixmap;
class QSize;
// A picture of the resource drawn at Size; transparent when it is missing.
QPixmap ResourcePicture(const QString& Path, const QSize& Size);
