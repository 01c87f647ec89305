#pragma once

#include <QFileDialog>

#include <memory>

// The file chooser of the "..." button: an existing EPUB, HTML or XHTML
// file, the EPUB filter first, in a resizable dialog.
std::unique_ptr<QFileDialog> makeOpenFileDialog(QWidget* owner);
