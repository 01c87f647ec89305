#pragma once

#include <QFont>
#include <QString>

// The few desktop facilities the dialog program needs: where results go,
// opening a document with its viewer, and a Japanese UI font.

struct OutputFolder {
    QString path;
    bool isDesktop;  // false: the desktop folder is missing, path is the home folder
};

// The user's desktop folder (XDG), or the home folder when there is no
// desktop folder.
OutputFolder outputFolder();

// Opens an existing file with the desktop's viewer for it; false when the
// file does not exist or no viewer could be started.
bool openDocument(const QString& file);

// A sans-serif font of that size for Japanese text, from the fonts the
// system offers.
QFont japaneseUiFont(int pointSize);
