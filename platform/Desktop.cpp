#include "Desktop.h"

Desktop::~Desktop() = default;
