#include "DomainListLayout.h"

#include <algorithm>
#include <iterator>

DomainListLayout::DomainListLayout()
{
    m_headings.append(Row{RowKind::Heading, 0, QStringLiteral("domain"), HeadingLeft, HeadingTemplateTop, HeadingWidth,
                          RowHeight, false});
    m_hosts.append(
        Row{RowKind::Host, 0, QStringLiteral("host"), HostLeft, HostTemplateTop, HostWidth, RowHeight, false});
}

int DomainListLayout::place(QList<Row>& collection, RowKind kind, const QString& text, int top)
{
    const Row& model = collection.first();
    const int index = static_cast<int>(collection.size());
    collection.append(Row{kind, index, text, model.left, top, model.width, model.height, false});
    m_placeTop = top;
    m_frameHeight = m_placeTop + m_placeGap + HeadingExtra;
    UpdateScrollBar();
    return index;
}

int DomainListLayout::AddDomain(const QString& domain)
{
    return place(m_headings, RowKind::Heading, domain, m_placeTop + m_placeGap + HeadingExtra);
}

int DomainListLayout::AddHost(const QString& host)
{
    return place(m_hosts, RowKind::Host, host, m_placeTop + m_placeGap);
}

// The hidden template (element 0) is never ticked, read as ticked or counted: matched by name, a
// host called "host" could not be unticked, and an empty list would count one selected host.
void DomainListLayout::Selected(const QString& host, bool state)
{
    for (qsizetype i = 1; i < m_hosts.size(); ++i) {
        if (m_hosts.at(i).text == host) {
            m_hosts[i].checked = state;
        }
    }
}

QString DomainListLayout::List(int index) const
{
    return index >= 0 && index < m_hosts.size() ? m_hosts.at(index).text : QString();
}

int DomainListLayout::ListCount() const
{
    return static_cast<int>(m_hosts.size());
}

bool DomainListLayout::IsSelected(int index) const
{
    return index > 0 && index < m_hosts.size() && m_hosts.at(index).checked;
}

int DomainListLayout::SelCount() const
{
    return static_cast<int>(
        std::count_if(m_hosts.cbegin() + 1, m_hosts.cend(), [](const Row& row) { return row.checked; }));
}

void DomainListLayout::Clear()
{
    m_hosts.resize(1);
    m_headings.resize(1);
    m_placeTop = InitialPlaceTop;
    m_frameHeight = 0;
    UpdateScrollBar();
}

void DomainListLayout::setChecked(int index, bool checked)
{
    if (index >= 0 && index < m_hosts.size()) {
        m_hosts[index].checked = checked;
    }
}

QList<DomainListLayout::Row> DomainListLayout::rows() const
{
    QList<Row> placed;
    placed.reserve(m_headings.size() + m_hosts.size() - 2);
    std::merge(m_headings.cbegin() + 1, m_headings.cend(), m_hosts.cbegin() + 1, m_hosts.cend(),
               std::back_inserter(placed), [](const Row& a, const Row& b) { return a.top < b.top; });
    return placed;
}

bool DomainListLayout::scrollTo(int position)
{
    const int bounded = std::clamp(position, 0, m_barMaximum);
    const bool changed = bounded != m_position;
    m_position = bounded;
    m_frameTop = -m_position;
    return changed;
}

void DomainListLayout::Resize(int width, int height)
{
    m_containerWidth = width;
    m_containerHeight = height;
    // A control shorter than the margin gets a bar of no height rather than a negative one.
    m_barHeight = std::max(0, height - ScrollBarMargin);
    m_barLeft = width - ScrollBarMargin - ScrollBarWidth;
}

void DomainListLayout::UpdateScrollBar()
{
    if (m_frameHeight <= m_barHeight) {
        m_barVisible = false;
        // A list that fits has nothing to scroll: a panel left pushed up by an earlier, longer
        // list would hide every row. Clear itself (height 0) leaves the position as it was.
        if (m_frameHeight > 0) {
            scrollTo(0);
        }
        return;
    }
    m_barVisible = true;
    m_barMaximum = m_frameHeight - m_barHeight;
    // The arrow step is the larger of the two on purpose: an arrow click moves half the range.
    // A step that rounds to 0 would make its clicks do nothing, so it is at least 1.
    m_barLargeStep = std::max(1, roundHalfToEven(qint64{m_barMaximum} * 2, 5));
    m_barSmallStep = std::max(1, roundHalfToEven(m_barMaximum, 2));
    if (m_position > m_barMaximum) {
        scrollTo(m_barMaximum);
    }
}

int DomainListLayout::roundHalfToEven(qint64 value, qint64 divisor)
{
    qint64 quotient = value / divisor;
    qint64 remainder = value % divisor;
    if (remainder < 0) {
        remainder += divisor;
        --quotient;
    }
    if (remainder * 2 > divisor || (remainder * 2 == divisor && quotient % 2 != 0)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}
