#include "MessageFailureBox.h"

#include <QMessageBox>

MessageFailureBox::MessageFailureBox(QWidget* parent) : m_parent(parent) {}

void MessageFailureBox::showStop(const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("failureBox"));
    box.exec();
}
