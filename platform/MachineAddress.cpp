#include "MachineAddress.h"

MachineAddress::~MachineAddress() = default;
