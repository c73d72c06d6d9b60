#include "ProjConf.h"

void ProjConf::Initialize()
{
    Version = QStringLiteral("1.3");
    ProgramName = QStringLiteral("QUORVEX IP Updater Version ") + Version;
}
