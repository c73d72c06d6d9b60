#include "DomainList.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScrollBar>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

using Layout = DomainListLayout;

namespace {

void paintWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The viewport's sunken 3D border, two pixels a side. The layout keeps the scroll bar 60 twips
// short of the viewport's height and 60 from its right edge: that is this border, inside which
// the bar fills the height and meets the right edge. Without it the bar stopped short of both.
constexpr int BorderTwips = 30;

QSize designSize()
{
    return QSize(DomainList::toPixels(Layout::DesignWidth), DomainList::toPixels(Layout::DesignHeight));
}

QRect pixelRect(int left, int top, int width, int height)
{
    return QRect(DomainList::toPixels(left), DomainList::toPixels(top), DomainList::toPixels(width),
                 DomainList::toPixels(height));
}

} // namespace

DomainList::DomainList(QWidget* parent) : QWidget(parent)
{
    // Made first, so that the viewport, a later sibling, covers it even in a wide control.
    m_focus = new QLineEdit(this);
    m_focus->setObjectName(u"focus"_s);
    // Only ever given the focus by the control itself: Tab skips it and typing leaves no text.
    m_focus->setFocusPolicy(Qt::ClickFocus);
    m_focus->setReadOnly(true);
    m_focus->setGeometry(pixelRect(Layout::FocusLeft, Layout::FocusTop, Layout::FocusWidth, Layout::FocusHeight));

    m_container = new QFrame(this);
    m_container->setObjectName(u"container"_s);
    m_container->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    paintWhite(m_container);
    m_client = new QWidget(m_container);
    paintWhite(m_client);

    m_frame = new QWidget(m_client);
    m_frame->setObjectName(u"ScrollFrame"_s);
    paintWhite(m_frame);

    m_scrollBar = new QScrollBar(Qt::Vertical, m_client);
    m_scrollBar->setObjectName(u"scrollbar"_s);
    // The panel moves when a position is committed, not while the thumb is dragged.
    m_scrollBar->setTracking(false);
    m_scrollBar->installEventFilter(this);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &DomainList::positionCommitted);

    m_headingFont = font();
    if (QFontDatabase::hasFamily(u"Tahoma"_s)) {
        m_headingFont.setFamily(u"Tahoma"_s);
    }
    m_headingFont.setPointSizeF(8.25);
    m_headingFont.setUnderline(true);
    m_headingFont.setWeight(QFont::Normal);

    m_headings.append(makeHeading(m_layout.headings().first()));
    m_hosts.append(makeHost(m_layout.hosts().first()));

    resize(designSize());
    followSize();
    showScrollState();
}

DomainList::~DomainList() = default;

int DomainList::toPixels(int twips)
{
    // 15 is odd, so there are no halves to break.
    const int half = TwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / TwipsPerPixel : -((-twips + half) / TwipsPerPixel);
}

QSize DomainList::sizeHint() const
{
    return designSize();
}

void DomainList::AddDomain(const QString& domain)
{
    followSize();
    const int index = m_layout.AddDomain(domain);
    m_headings.append(makeHeading(m_layout.headings().at(index)));
    showScrollState();
}

void DomainList::AddHost(const QString& host)
{
    followSize();
    const int index = m_layout.AddHost(host);
    m_hosts.append(makeHost(m_layout.hosts().at(index)));
    showScrollState();
}

void DomainList::Selected(const QString& host, bool state)
{
    m_layout.Selected(host, state);
    showChecks();
}

QString DomainList::List(int index) const
{
    return m_layout.List(index);
}

int DomainList::ListCount() const
{
    return m_layout.ListCount();
}

bool DomainList::IsSelected(int index) const
{
    return m_layout.IsSelected(index);
}

int DomainList::SelCount() const
{
    return m_layout.SelCount();
}

void DomainList::Clear()
{
    followSize();
    m_layout.Clear();
    // Deleted now rather than later, so nothing of the old list is found after Clear returns.
    qDeleteAll(m_hosts.cbegin() + 1, m_hosts.cend());
    m_hosts.resize(1);
    qDeleteAll(m_headings.cbegin() + 1, m_headings.cend());
    m_headings.resize(1);
    showScrollState();
}

void DomainList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followSize();
}

bool DomainList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scrollBar && event->type() == QEvent::FocusIn) {
        positionCommitted(m_scrollBar->value());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// A hidden control has its size set without a resize event until it is shown, so the size is
// also taken up before each change of the rows: the scroll range is then computed against the
// bar the control really has, as if the resize had been handled when it happened.
void DomainList::followSize()
{
    const int width = size().width() * TwipsPerPixel;
    const int height = size().height() * TwipsPerPixel;
    if (width != m_layout.containerWidth() || height != m_layout.containerHeight()) {
        m_layout.Resize(width, height);
    }
    m_container->setGeometry(0, 0, size().width(), size().height());
    const int border = toPixels(BorderTwips);
    m_client->setGeometry(border, border, size().width() - 2 * border, size().height() - 2 * border);
    m_scrollBar->setGeometry(
        pixelRect(m_layout.scrollBarLeft(), 0, Layout::ScrollBarWidth, m_layout.scrollBarHeight()));
}

void DomainList::showScrollState()
{
    // A position the list takes by itself (it shrank below the bar's end) is a change of position
    // like any other: the focus moves on to the hidden box, as after a committed one.
    const bool moved = m_scrollBar->value() != m_layout.scrollPosition();
    {
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setRange(0, m_layout.scrollBarMaximum());
        m_scrollBar->setPageStep(m_layout.scrollBarLargeStep());
        m_scrollBar->setSingleStep(m_layout.scrollBarSmallStep());
        m_scrollBar->setValue(m_layout.scrollPosition());
    }
    m_scrollBar->setVisible(m_layout.scrollBarVisible());
    m_frame->setGeometry(
        pixelRect(0, m_layout.scrollFrameTop(), Layout::ScrollFrameWidth, m_layout.scrollFrameHeight()));
    if (moved) {
        m_focus->setFocus(Qt::OtherFocusReason);
    }
}

void DomainList::showChecks()
{
    const QList<Layout::Row>& hosts = m_layout.hosts();
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        m_hosts.at(i)->setChecked(hosts.at(i).checked);
    }
}

// Every committed position, and the bar taking the focus, moves the panel and sends the focus
// on, so the bar never keeps it.
void DomainList::positionCommitted(int position)
{
    m_layout.scrollTo(position);
    m_frame->move(0, toPixels(m_layout.scrollFrameTop()));
    m_focus->setFocus(Qt::OtherFocusReason);
}

QLabel* DomainList::makeHeading(const Layout::Row& row)
{
    auto* label = new QLabel(m_frame);
    label->setObjectName(u"lblDomain(%1)"_s.arg(row.index));
    label->setTextFormat(Qt::PlainText);
    label->setText(row.text);
    label->setFont(m_headingFont);
    label->setGeometry(pixelRect(row.left, row.top, row.width, row.height));
    label->setVisible(row.index != 0);
    return label;
}

QCheckBox* DomainList::makeHost(const Layout::Row& row)
{
    auto* box = new QCheckBox(m_frame);
    box->setObjectName(u"chkHost(%1)"_s.arg(row.index));
    // A host name is shown as it is: "&" would otherwise mark a shortcut letter.
    box->setText(QString(row.text).replace(u'&', u"&&"_s));
    // The panel's colours through their roles: copied into a palette of the box's own, they
    // were drawn in the window's grey under X11.
    box->setBackgroundRole(QPalette::Base);
    box->setForegroundRole(QPalette::Text);
    box->setAutoFillBackground(true);
    box->setGeometry(pixelRect(row.left, row.top, row.width, row.height));
    box->setChecked(row.checked);
    const int index = row.index;
    connect(box, &QCheckBox::clicked, this, [this, index](bool checked) { m_layout.setChecked(index, checked); });
    box->setVisible(index != 0);
    return box;
}
