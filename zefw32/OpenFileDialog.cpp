#include "zefw32/OpenFileDialog.h"

std::unique_ptr<QFileDialog> makeOpenFileDialog(QWidget* owner)
{
    auto dialog = std::make_unique<QFileDialog>(owner, QStringLiteral("変換するファイルを指定してください。"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Only a file that exists, in a folder that exists, can be confirmed.
    dialog->setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = {QStringLiteral("EPUB (*.epub)"), QStringLiteral("HTML (*.html)"),
                                 QStringLiteral("XHTML (*.xhtml)")};
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.first());
    dialog->setSizeGripEnabled(true);
    return dialog;
}
