#include "ProgramStarter.h"

ProgramStarter::~ProgramStarter() = default;
