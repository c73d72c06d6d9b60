#pragma once

#include <QList>
#include <QString>

// The state of the domain and host checklist, in twips, without any widget: the headings and
// host rows with their places, the content panel and the scroll bar. The checklist widget draws
// it and forwards the user's clicks to it; the check states held here are the ones the readers
// see. Positions are plain ints, so long lists keep growing downwards instead of wrapping.
class DomainListLayout
{
public:
    enum class RowKind { Heading, Host };

    struct Row
    {
        RowKind kind = RowKind::Host;
        int index = 0; // within its collection; 0 is the hidden template
        QString text;
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool checked = false;
    };

    // Design geometry of the children, in twips.
    static constexpr int DesignWidth = 4935;
    static constexpr int DesignHeight = 2760;
    static constexpr int ContainerDesignHeight = 2775;
    static constexpr int ScrollBarDesignLeft = 4620;
    static constexpr int ScrollBarWidth = 255;
    static constexpr int ScrollBarDesignHeight = 2700;
    static constexpr int ScrollFrameWidth = 4575;
    static constexpr int HeadingLeft = 120;
    static constexpr int HeadingTemplateTop = 120;
    static constexpr int HeadingWidth = 4335;
    static constexpr int HostLeft = 360;
    static constexpr int HostTemplateTop = 360;
    static constexpr int HostWidth = 4215;
    static constexpr int RowHeight = 255;
    static constexpr int FocusLeft = 5520;
    static constexpr int FocusTop = 360;
    static constexpr int FocusWidth = 150;
    static constexpr int FocusHeight = 195;

    static constexpr int InitialPlaceTop = -263;
    static constexpr int InitialPlaceGap = 255;
    // Extra space above a heading, and below the last row of the panel.
    static constexpr int HeadingExtra = 127;
    // Room kept between the scroll bar and the bottom and right edges of the control.
    static constexpr int ScrollBarMargin = 60;

    DomainListLayout();

    int PlaceGap() const { return m_placeGap; }
    int PlaceTop() const { return m_placeTop; }

    // Both return the collection index of the new row.
    int AddDomain(const QString& domain);
    int AddHost(const QString& host);
    void Selected(const QString& host, bool state);
    QString List(int index) const;
    int ListCount() const;
    bool IsSelected(int index) const;
    int SelCount() const;
    void Clear();

    // A user's click on host entry index; no effect when there is no such entry.
    void setChecked(int index, bool checked);

    // Element 0 of each is the hidden template ("domain", "host").
    const QList<Row>& headings() const { return m_headings; }
    const QList<Row>& hosts() const { return m_hosts; }
    // Headings and hosts after the templates, top to bottom (the order they were added).
    QList<Row> rows() const;

    int containerWidth() const { return m_containerWidth; }
    int containerHeight() const { return m_containerHeight; }
    int scrollFrameHeight() const { return m_frameHeight; }
    // Minus the scroll position once a position has been committed.
    int scrollFrameTop() const { return m_frameTop; }

    int scrollBarLeft() const { return m_barLeft; }
    int scrollBarHeight() const { return m_barHeight; }
    bool scrollBarVisible() const { return m_barVisible; }
    int scrollBarMaximum() const { return m_barMaximum; }
    int scrollBarLargeStep() const { return m_barLargeStep; }
    int scrollBarSmallStep() const { return m_barSmallStep; }
    int scrollPosition() const { return m_position; }

    // Commits a scroll position (bounded to 0 .. maximum) and moves the panel to it. Returns
    // whether the position changed.
    bool scrollTo(int position);

    // The control's new size in twips. The scroll range is left for the next add or Clear.
    void Resize(int width, int height);

    // value / divisor rounded to the nearest whole number, halves to the even one.
    static int roundHalfToEven(qint64 value, qint64 divisor);

private:
    int place(QList<Row>& collection, RowKind kind, const QString& text, int top);
    void UpdateScrollBar();

    int m_placeGap = InitialPlaceGap;
    int m_placeTop = InitialPlaceTop;
    QList<Row> m_headings;
    QList<Row> m_hosts;
    int m_containerWidth = DesignWidth;
    int m_containerHeight = ContainerDesignHeight;
    int m_frameHeight = 0;
    int m_frameTop = 0;
    int m_barLeft = ScrollBarDesignLeft;
    int m_barHeight = ScrollBarDesignHeight;
    bool m_barVisible = false;
    int m_barMaximum = 0;
    int m_barLargeStep = 1;
    int m_barSmallStep = 1;
    int m_position = 0;
};
