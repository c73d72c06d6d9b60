#include "HostChecklist.h"

HostChecklist::~HostChecklist() = default;
