#include "zefw32/Dlg.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QScreen>

Dlg::~Dlg()
{
    delete m_window.data();
}

intptr_t Dlg::onInitDialog()
{
    centreOnDesktop();
    return 0;
}

intptr_t Dlg::onCommand(uint32_t)
{
    return 0;
}

intptr_t Dlg::onClose()
{
    return 0;
}

void Dlg::endDialog(int result)
{
    m_window->setResult(result);
    m_window->hide();
}

void Dlg::checkDlgButton(int32_t id, bool checked)
{
    if (auto* button = qobject_cast<QAbstractButton*>(m_window->item(id)))
        button->setChecked(checked);
}

void Dlg::checkRadioButton(int32_t first, int32_t last, int32_t id)
{
    for (int32_t each = first; each <= last; ++each)
        checkDlgButton(each, each == id);
}

bool Dlg::isDlgButtonChecked(int32_t id) const
{
    const auto* button = qobject_cast<QAbstractButton*>(m_window->item(id));
    return button && button->isChecked();
}

QString Dlg::dlgItemText(int32_t id) const
{
    QWidget* item = m_window->item(id);
    if (const auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (const auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    if (const auto* button = qobject_cast<QAbstractButton*>(item))
        return button->text();
    return {};
}

void Dlg::setDlgItemText(int32_t id, const QString& text)
{
    QWidget* item = m_window->item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(item))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(item))
        button->setText(text);
}

void Dlg::centreOnDesktop()
{
    const QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    QRect frame = m_window->frameGeometry();
    frame.moveTo(desktop.left() + (desktop.width() - frame.width()) / 2,
                 desktop.top() + (desktop.height() - frame.height()) / 2);
    m_window->move(frame.topLeft());
}

bool Dlg::messageBox(const QString& text, const QString& caption, MessageStyle style)
{
    QMessageBox box(m_window);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (style) {
    case MessageStyle::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageStyle::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageStyle::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    box.exec();
    return true;
}

void Dlg::errorList(const QString& text, const QStringList& lines, const QString& caption)
{
    QDialog box(m_window);
    box.setWindowTitle(caption);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(&box);
    auto* label = new QLabel(text, &box);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto* list = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &box);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setMinimumSize(560, 200);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.exec();
}
