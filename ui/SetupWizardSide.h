#pragma once

#include <QString>

// The setup wizard as the credential check sees it. The wizard implements it; until it
// exists, the wizard is never open.
class SetupWizardSide
{
public:
    virtual ~SetupWizardSide();

    virtual bool isOpen() const = 0;
    virtual QString userText() const = 0;     // txtUser
    virtual QString passwordText() const = 0; // txtPass
    // The credentials were accepted: on to step 2, Next disabled until the hosts are listed.
    virtual void credentialsAccepted() = 0;
    // The check was refused or cancelled: the wizard takes the user's input again.
    virtual void credentialsNotAccepted() = 0;
};
