#include "zefw32/Desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

OutputFolder outputFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return {desktop, true};
    return {QDir::homePath(), false};
}

bool openDocument(const QString& file)
{
    const QFileInfo info(file);
    return info.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QFont japaneseUiFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("VL PGothic"),
                      QStringLiteral("Droid Sans Japanese")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}
