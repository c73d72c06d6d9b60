#include "ClosedWizard.h"

HostChecklist& ClosedWizard::checklist()
{
    return m_checklist;
}
