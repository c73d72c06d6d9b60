#pragma once

#include <QString>

// Finding an IPv4 address in page or label text.
class AddressText
{
public:
    // The first run of four digit groups joined by single dots, as it stands (no range check:
    // "999.1.2.3" is taken, and "1.2.3.4.5" gives "1.2.3.4"); empty when there is none.
    static QString ExtractIP(const QString& text);
};
