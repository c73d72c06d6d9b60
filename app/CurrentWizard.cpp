#include "CurrentWizard.h"

#include "SetupWizard.h"

void CurrentWizard::set(SetupWizard* wizard)
{
    m_wizard = wizard;
}

SetupWizardSide& CurrentWizard::side() const
{
    return m_wizard ? static_cast<SetupWizardSide&>(*m_wizard) : m_closed;
}

WizardHostStep& CurrentWizard::hostStep() const
{
    return m_wizard ? static_cast<WizardHostStep&>(*m_wizard) : m_closed;
}

bool CurrentWizard::isOpen() const
{
    return side().isOpen();
}

QString CurrentWizard::userText() const
{
    return side().userText();
}

QString CurrentWizard::passwordText() const
{
    return side().passwordText();
}

void CurrentWizard::credentialsAccepted()
{
    side().credentialsAccepted();
}

void CurrentWizard::credentialsNotAccepted()
{
    side().credentialsNotAccepted();
}

HostChecklist& CurrentWizard::checklist()
{
    return hostStep().checklist();
}

void CurrentWizard::enableNext()
{
    hostStep().enableNext();
}
