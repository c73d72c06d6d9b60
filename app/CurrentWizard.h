#pragma once

#include "ClosedWizard.h"
#include "SetupWizard.h"
#include "SetupWizardSide.h"
#include "WizardHostStep.h"

#include <QPointer>

// The wizard as the credential check and the listing chain see it, whichever wizard window is
// open at the moment, or a closed one when none is.
class CurrentWizard : public SetupWizardSide, public WizardHostStep
{
public:
    void set(SetupWizard* wizard);
    SetupWizard* get() const { return m_wizard; }

    bool isOpen() const override;
    QString userText() const override;
    QString passwordText() const override;
    void credentialsAccepted() override;
    void credentialsNotAccepted() override;
    HostChecklist& checklist() override;
    void enableNext() override;

private:
    SetupWizardSide& side() const;
    WizardHostStep& hostStep() const;

    QPointer<SetupWizard> m_wizard;
    mutable ClosedWizard m_closed;
};
