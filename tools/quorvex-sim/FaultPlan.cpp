#include "FaultPlan.h"

std::optional<FaultPlan::Kind> FaultPlan::kindFromName(QStringView name)
{
    static const struct
    {
        const char16_t* name;
        Kind kind;
    } kinds[] = {
        {u"none", Kind::None},
        {u"drop", Kind::Drop},
        {u"hang", Kind::Hang},
        {u"500", Kind::Status500},
        {u"500-empty", Kind::Status500Empty},
        {u"500-html", Kind::Status500Html},
        {u"404-footer", Kind::Status404Footer},
        {u"429", Kind::Status429},
        {u"portal", Kind::Portal},
        {u"empty", Kind::Empty},
        {u"garbage", Kind::Garbage},
        {u"huge", Kind::Huge},
        {u"slow", Kind::Slow},
        {u"reset", Kind::Reset},
    };
    for (const auto& entry : kinds) {
        if (name == QStringView(entry.name)) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

void FaultPlan::set(const QString& path, Kind kind, int times, int delayMs, int retryAfterS)
{
    if (kind == Kind::None || times == 0) {
        m_entries.remove(path);
        return;
    }
    m_entries.insert(path, Entry{Fault{kind, delayMs, retryAfterS}, times});
}

FaultPlan::Fault FaultPlan::take(const QString& path)
{
    const auto it = m_entries.find(path);
    if (it == m_entries.end()) {
        return {};
    }
    const Fault fault = it->fault;
    if (it->remaining != Unlimited && --it->remaining <= 0) {
        m_entries.erase(it);
    }
    return fault;
}

FaultPlan::Fault FaultPlan::peek(const QString& path) const
{
    const auto it = m_entries.constFind(path);
    return it == m_entries.constEnd() ? Fault{} : it->fault;
}
