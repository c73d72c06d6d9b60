#pragma once

#include "HostChecklist.h"
#include "SetupWizardSide.h"
#include "WizardHostStep.h"

// The wizard's side for as long as no wizard window is open: never open, so the credential
// check and the host listing work with the main window alone.
class ClosedWizard : public SetupWizardSide, public WizardHostStep
{
public:
    bool isOpen() const override { return false; }
    QString userText() const override { return {}; }
    QString passwordText() const override { return {}; }
    void credentialsAccepted() override {}
    void credentialsNotAccepted() override {}
    HostChecklist& checklist() override;
    void enableNext() override {}

private:
    class NoChecklist : public HostChecklist
    {
    public:
        void AddDomain(const QString&) override {}
        void AddHost(const QString&) override {}
        void Selected(const QString&, bool) override {}
        QString List(int) const override { return {}; }
        int ListCount() const override { return 1; }
        bool IsSelected(int) const override { return false; }
        int SelCount() const override { return 0; }
        void Clear() override {}
    };
    NoChecklist m_checklist;
};
