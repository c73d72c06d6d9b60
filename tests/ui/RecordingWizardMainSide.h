#pragma once

#include "WizardMainSide.h"
#include "support/FakeDesktop.h"

#include <QDir>
#include <QStringList>

// The program as the wizard sees it: every call recorded in order, with what it needs to see at
// that moment (whether the program had already ended, which files were there).
class RecordingWizardMainSide : public WizardMainSide
{
public:
    RecordingWizardMainSide(const FakeDesktop& desktop, const QString& path) : m_desktop(desktop), m_path(path) {}

    void startCredentialCheck() override { calls.append(QStringLiteral("startCredentialCheck")); }
    void useDefaultLocatorsAndLookUp() override { calls.append(QStringLiteral("useDefaultLocatorsAndLookUp")); }
    QString machineAddress() const override { return address; }
    QString configPath() const override { return m_path; }
    void restartFromSavedSettings() override
    {
        calls.append(QStringLiteral("restartFromSavedSettings"));
        filesAtRestart = QDir(m_path).entryList(QDir::Files, QDir::Name);
    }
    void removeTrayIcon() override
    {
        calls.append(m_desktop.hasEnded() ? QStringLiteral("removeTrayIcon after the end")
                                          : QStringLiteral("removeTrayIcon"));
    }

    QStringList calls;
    QString address = QStringLiteral("192.168.7.21");
    QStringList filesAtRestart;

private:
    const FakeDesktop& m_desktop;
    QString m_path;
};
