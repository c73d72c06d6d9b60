#include "SplashWindow.h"

#include "ProjConf.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::SplashScreen)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Quorvex IP Updater"));

    ProjConf conf;
    conf.Initialize();
    m_label3 = new QLabel(conf.ProgramName);
    m_label3->setObjectName(QStringLiteral("Label3"));
    QFont title = m_label3->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.3);
    m_label3->setFont(title);
    m_lblStatus = new QLabel(QStringLiteral("Loading configuration settings ..."));
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));

    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::Box);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(24, 24, 24, 24);
    inner->setSpacing(16);
    inner->addWidget(m_label3, 0, Qt::AlignHCenter);
    inner->addWidget(m_lblStatus, 0, Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);

    m_tmrWait.setObjectName(QStringLiteral("tmrWait"));
    m_tmrWait.setInterval(1000);
    m_tmrWait.setSingleShot(true);
    connect(&m_tmrWait, &QTimer::timeout, this, &SplashWindow::waited);
    m_tmrWait.start();
}

void SplashWindow::setStatus(const QString& text)
{
    m_lblStatus->setText(text);
}

QString SplashWindow::status() const
{
    return m_lblStatus->text();
}
