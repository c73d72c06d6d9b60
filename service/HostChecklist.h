#pragma once

#include <QString>

// The domain and host checklist as the code around it fills and reads it. Entry 0 is a hidden
// template ("host"), so ListCount() is the number of hosts added plus 1 and readers loop from 0
// to ListCount() - 1. The control on the Account tab and the one of the setup wizard implement it.
class HostChecklist
{
public:
    virtual ~HostChecklist();

    virtual void AddDomain(const QString& domain) = 0;
    virtual void AddHost(const QString& host) = 0;
    // Checks (or unchecks) every host entry whose text is exactly host; never the template.
    virtual void Selected(const QString& host, bool state) = 0;
    // The text of host entry index; empty when there is none.
    virtual QString List(int index) const = 0;
    virtual int ListCount() const = 0;
    // False also when there is no such entry.
    virtual bool IsSelected(int index) const = 0;
    virtual int SelCount() const = 0;
    // Removes every heading and host entry but the templates.
    virtual void Clear() = 0;
};
