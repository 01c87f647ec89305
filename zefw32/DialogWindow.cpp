#include "zefw32/DialogWindow.h"

#include "zefw32/Desktop.h"
#include "zefw32/DialogUnits.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <vector>

namespace {

// The width a control needs to show its text unclipped; 0 for the edit,
// whose text scrolls.
int neededWidth(QWidget* widget, const ControlTemplate& control)
{
    switch (control.kind) {
    case ControlKind::Edit:
        return 0;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        // A push button's size hint has a minimum width of its own style;
        // only its text must fit.
        const QStyle* style = widget->style();
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        QString text = QString::fromUtf8(control.text);
        text.remove(QLatin1Char('&'));
        return widget->fontMetrics().horizontalAdvance(text) + 2 * (frame + margin);
    }
    case ControlKind::GroupBox:
        return widget->minimumSizeHint().width();
    default:
        return widget->sizeHint().width();
    }
}

} // namespace

DialogWindow::DialogWindow(const DialogTemplate& resource, DialogProcedure procedure, QWidget* parent)
    : QDialog(parent), m_procedure(procedure)
{
    // A fixed frame with a caption and a close box, as the template's style.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(resource.title));
    setFont(japaneseUiFont(resource.pointSize));

    std::vector<QWidget*> widgets;
    for (const ControlTemplate& control : resource.controls)
        widgets.push_back(makeControl(control));
    DialogUnits units(fontMetrics());
    for (size_t i = 0; i < widgets.size(); ++i)
        units.widenToFit(neededWidth(widgets[i], resource.controls[i]), resource.controls[i].width);
    for (size_t i = 0; i < widgets.size(); ++i) {
        const ControlTemplate& control = resource.controls[i];
        widgets[i]->setGeometry(units.rect(control.x, control.y, control.width, control.height));
    }
    setFixedSize(units.x(resource.width), units.y(resource.height));
}

QWidget* DialogWindow::makeControl(const ControlTemplate& control)
{
    const QString text = QString::fromUtf8(control.text);
    QWidget* widget = nullptr;
    QAbstractButton* button = nullptr;
    switch (control.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        widget = edit;
        break;
    }
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* push = new QPushButton(text, this);
        push->setDefault(control.kind == ControlKind::DefaultPushButton);
        widget = button = push;
        break;
    }
    case ControlKind::AutoCheckBox:
        widget = button = new QCheckBox(text, this);
        break;
    case ControlKind::AutoRadioButton:
        widget = button = new QRadioButton(text, this);
        break;
    case ControlKind::GroupBox:
        widget = new QGroupBox(text, this);
        widget->setFocusPolicy(Qt::NoFocus);
        break;
    }
    if (button) {
        const int32_t id = control.id;
        QObject::connect(button, &QAbstractButton::clicked, this,
                         [this, id] { m_procedure(this, DialogMessage::Command, commandWord(id, ButtonClicked), nullptr); });
    }
    if (control.id != -1)
        m_items[control.id] = widget;
    return widget;
}

QWidget* DialogWindow::item(int32_t id) const
{
    const auto found = m_items.find(id);
    return found == m_items.end() ? nullptr : found->second;
}

void DialogWindow::initialise(void* param)
{
    m_procedure(this, DialogMessage::InitDialog, 0, param);
}

void DialogWindow::reject()
{
    m_procedure(this, DialogMessage::Command, commandWord(IdCancel, ButtonClicked), nullptr);
}

void DialogWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_procedure(this, DialogMessage::Close, 0, nullptr) == 0)
        m_procedure(this, DialogMessage::Command, commandWord(IdCancel, ButtonClicked), nullptr);
}
