#pragma once

#include <QString>

// The two-digit lower-case hexadecimal form of one byte of the system code page ("5c" for a backslash).
QString asctohex(quint8 code);
