#pragma once

#include <QWidget>

class ServiceInstaller;

// The small status window. The installer's run starts the first time the window becomes active;
// `finished` tells whether it succeeded, and the program ends on it.
class InstallerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit InstallerWindow(ServiceInstaller& installer, QWidget* parent = nullptr);

    // Centres the window on its screen.
    void centre();

signals:
    void finished(bool succeeded);

protected:
    bool event(QEvent* event) override;

private:
    void startRun();

    ServiceInstaller& m_installer;
    bool m_started = false;
};
