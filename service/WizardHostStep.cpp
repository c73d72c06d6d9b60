#include "WizardHostStep.h"

WizardHostStep::~WizardHostStep() = default;
