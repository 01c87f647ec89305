#include "zefw32/ProgramArguments.h"

#include <QFileInfo>

ProgramArguments ProgramArguments::parse(const QStringList& arguments)
{
    ProgramArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--screenshot") && i + 1 < arguments.size())
            parsed.screenshot = arguments[++i];
        else if (parsed.source.isEmpty() && !arguments[i].isEmpty())
            parsed.source = QFileInfo(arguments[i]).absoluteFilePath();
    }
    return parsed;
}
