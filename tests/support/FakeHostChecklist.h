#pragma once

#include "HostChecklist.h"

#include <QList>
#include <QString>
#include <QStringList>

// The checklist's eight operations over plain lists, with the control's semantics: host entry 0
// is the hidden template "host", Selected() ticks every entry of that name (the template
// included), Clear() keeps the template and its tick. Also records the rows in the order placed.
class FakeHostChecklist : public HostChecklist
{
public:
    void AddDomain(const QString& domain) override;
    void AddHost(const QString& host) override;
    void Selected(const QString& host, bool state) override;
    QString List(int index) const override;
    int ListCount() const override;
    bool IsSelected(int index) const override;
    int SelCount() const override;
    void Clear() override;

    // Headings as "domain:<text>", host entries as "host:<text>", in the order placed since the
    // last Clear().
    const QStringList& rows() const { return m_rows; }
    // The texts of the ticked host entries, by index.
    QStringList selectedHosts() const;
    int clearCalls() const { return m_clearCalls; }

private:
    struct Entry
    {
        QString text;
        bool checked = false;
    };

    QList<Entry> m_hosts{Entry{QStringLiteral("host")}};
    QStringList m_rows;
    int m_clearCalls = 0;
};
