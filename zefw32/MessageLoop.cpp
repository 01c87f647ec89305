#include "zefw32/MessageLoop.h"

#include <QApplication>

int messageLoop()
{
    // Qt's loop does the dialog navigation (Tab, mnemonics, Enter, Esc) for
    // every dialog window.
    return QApplication::exec();
}
