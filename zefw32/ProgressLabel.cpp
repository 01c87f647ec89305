#include "zefw32/ProgressLabel.h"

#include <QMetaObject>

void ProgressLabel::documentStarted(uint32_t number, uint32_t count)
{
    show(textFor(number, count));
}

void ProgressLabel::documentsDone()
{
    show(QStringLiteral("書き出し中…"));
}

QString ProgressLabel::textFor(uint32_t number, uint32_t count)
{
    return QStringLiteral("変換中: %1 / %2").arg(number).arg(count);
}

void ProgressLabel::show(const QString& text)
{
    QLabel* label = m_label;
    QMetaObject::invokeMethod(label, [label, text] { label->setText(text); }, Qt::QueuedConnection);
}
