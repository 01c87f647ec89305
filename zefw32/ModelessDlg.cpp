#include "zefw32/ModelessDlg.h"

#include "zefw32/DialogTemplate.h"

namespace {

ModelessDlg* liveDialogs = nullptr;

} // namespace

ModelessDlg::ModelessDlg(const char* templateName, QWidget* const* parent)
    : m_templateName(templateName), m_next(liveDialogs), m_parent(parent)
{
    liveDialogs = this;
}

ModelessDlg::~ModelessDlg()
{
    for (ModelessDlg** link = &liveDialogs; *link; link = &(*link)->m_next) {
        if (*link == this) {
            *link = m_next;
            break;
        }
    }
}

bool ModelessDlg::create()
{
    const DialogTemplate* resource = findDialogTemplate(m_templateName);
    if (!resource || m_window)
        return false;
    auto* window = new DialogWindow(*resource, &ModelessDlg::dialogProc, m_parent ? *m_parent : nullptr);
    window->initialise(this);
    window->show();
    return true;
}

intptr_t ModelessDlg::dispatch(DialogMessage message, uint32_t wParam)
{
    switch (message) {
    case DialogMessage::Close:
        return onClose();
    case DialogMessage::InitDialog:
        return onInitDialog();
    case DialogMessage::Command:
        return onCommand(wParam);
    }
    return 0;
}

intptr_t ModelessDlg::dialogProc(DialogWindow* window, DialogMessage message, uint32_t wParam, void* param)
{
    if (message == DialogMessage::InitDialog) {
        auto* dialog = static_cast<ModelessDlg*>(param);
        dialog->m_window = window;
        dialog->dispatch(message, wParam);
        return 1;
    }
    for (ModelessDlg* dialog = liveDialogs; dialog; dialog = dialog->m_next) {
        if (dialog->m_window == window)
            return dialog->dispatch(message, wParam);
    }
    return 0;
}
