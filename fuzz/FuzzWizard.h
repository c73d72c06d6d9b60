#pragma once

#include "WizardHostStep.h"
#include "support/FakeHostChecklist.h"

// The setup wizard's side of the listing, open or closed as the input chose.
class FuzzWizard : public WizardHostStep
{
public:
    explicit FuzzWizard(bool open) : m_open(open) {}

    bool isOpen() const override { return m_open; }
    HostChecklist& checklist() override { return m_checklist; }
    void enableNext() override { ++m_nextEnabled; }

    const FakeHostChecklist& list() const { return m_checklist; }
    int nextEnabled() const { return m_nextEnabled; }

private:
    bool m_open;
    FakeHostChecklist m_checklist;
    int m_nextEnabled = 0;
};
