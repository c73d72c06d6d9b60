#include "FailureBox.h"

FailureBox::~FailureBox() = default;
