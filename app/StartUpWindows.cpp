#include "StartUpWindows.h"

StartUpWindows::~StartUpWindows() = default;
