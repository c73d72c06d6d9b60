#pragma once

#include "StartUpWindows.h"

#include <QStringList>

// Records what the load sequence asks of the windows around the main one, in order.
class RecordingWindows : public StartUpWindows
{
public:
    void showSplash() override { calls.append(QStringLiteral("showSplash")); }
    void closeSplash() override { calls.append(QStringLiteral("closeSplash")); }
    void setSplashStatus(const QString& text) override { calls.append(QStringLiteral("splashStatus:") + text); }
    void openWizard() override { calls.append(QStringLiteral("openWizard")); }
    void startCredentialCheck() override { calls.append(QStringLiteral("startCredentialCheck")); }
    void unloadMainWindow() override { calls.append(QStringLiteral("unloadMainWindow")); }
    void minimizeToTray(QWidget&) override { calls.append(QStringLiteral("minimizeToTray")); }
    void removeTrayIcon() override { calls.append(QStringLiteral("removeTrayIcon")); }

    QStringList calls;
};
