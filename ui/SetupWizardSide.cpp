#include "SetupWizardSide.h"

SetupWizardSide::~SetupWizardSide() = default;
