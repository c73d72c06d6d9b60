#include "FakeHostChecklist.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void FakeHostChecklist::AddDomain(const QString& domain)
{
    m_rows.append(u"domain:"_s + domain);
}

void FakeHostChecklist::AddHost(const QString& host)
{
    m_hosts.append(Entry{host});
    m_rows.append(u"host:"_s + host);
}

void FakeHostChecklist::Selected(const QString& host, bool state)
{
    for (Entry& entry : m_hosts) {
        if (entry.text == host) {
            entry.checked = state;
        }
    }
}

QString FakeHostChecklist::List(int index) const
{
    return index >= 0 && index < m_hosts.size() ? m_hosts.at(index).text : QString();
}

int FakeHostChecklist::ListCount() const
{
    return static_cast<int>(m_hosts.size());
}

bool FakeHostChecklist::IsSelected(int index) const
{
    return index >= 0 && index < m_hosts.size() && m_hosts.at(index).checked;
}

int FakeHostChecklist::SelCount() const
{
    return static_cast<int>(std::count_if(m_hosts.cbegin(), m_hosts.cend(), [](const Entry& e) { return e.checked; }));
}

void FakeHostChecklist::Clear()
{
    m_hosts.resize(1);
    m_rows.clear();
    ++m_clearCalls;
}

QStringList FakeHostChecklist::selectedHosts() const
{
    QStringList texts;
    for (const Entry& entry : m_hosts) {
        if (entry.checked) {
            texts.append(entry.text);
        }
    }
    return texts;
}
