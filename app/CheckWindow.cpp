#include "CheckWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CheckWindow::CheckWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral(" Quorvex - IP Updater"));
    auto* status = new QLabel(QStringLiteral("Checking your account credentials ..."));
    status->setObjectName(QStringLiteral("lblStatus"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cancel, &QPushButton::clicked, this, &CheckWindow::cancelClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status);
    layout->addLayout(buttons);
}
