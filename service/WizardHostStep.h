#pragma once

#include "HostChecklist.h"

// The setup wizard's side of the domain and host listing: while the wizard is open, its own
// checklist is filled alongside the main window's, and its Next button waits for the last
// domain. The wizard implements it; until it exists, nothing is open.
class WizardHostStep
{
public:
    virtual ~WizardHostStep();

    // The wizard window is visible.
    virtual bool isOpen() const = 0;
    virtual HostChecklist& checklist() = 0;
    // Every domain has been listed.
    virtual void enableNext() = 0;
};
