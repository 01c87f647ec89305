#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the dialog program: a file for the path
// field (so that a file manager can open a book with it), and, for the
// documentation, a PNG file to save a picture of the dialog into before it
// quits ("--screenshot FILE").
struct ProgramArguments {
    QString source;      // absolute; empty when none was given
    QString screenshot;  // empty when none was asked for

    // Reads the arguments after the program name, once Qt has taken its
    // own. The first other argument is the source; later ones are ignored.
    static ProgramArguments parse(const QStringList& arguments);
};
