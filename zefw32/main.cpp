#include "kiln/base/Library.h"
#include "zefw32/ControlIds.h"
#include "zefw32/MainDlg.h"
#include "zefw32/MessageLoop.h"
#include "zefw32/ProgramArguments.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

// Saves a picture of the dialog and ends the loop: 0 when it was saved.
void saveScreenshot(const MainDlg& dialog, const QString& file)
{
    const bool saved = dialog.window()->grab().save(file, "PNG");
    if (!saved)
        std::fprintf(stderr, "ERROR: can't save the screenshot %s\n", qUtf8Printable(file));
    QCoreApplication::exit(saved ? 0 : 1);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const ProgramArguments arguments = ProgramArguments::parse(QCoreApplication::arguments().mid(1));
    if (!KILN::startLibrary()) {
        std::fputs("ERROR: the class library could not be started.\n", stderr);
        return 1;
    }
    int code = 1;
    {
        MainDlg dialog;
        if (dialog.create()) {
            if (!arguments.source.isEmpty())
                dialog.setDlgItemText(ControlId::SourcePath, arguments.source);
            dialog.centreOnDesktop();
            if (!arguments.screenshot.isEmpty())
                QTimer::singleShot(0, [&dialog, &arguments] { saveScreenshot(dialog, arguments.screenshot); });
            code = messageLoop();
        }
    }
    KILN::stopLibrary();
    return code;
}
