#include "WizardMainSide.h"

WizardMainSide::~WizardMainSide() = default;
