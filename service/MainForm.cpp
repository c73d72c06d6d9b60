#include "MainForm.h"

MainForm::~MainForm() = default;
