#pragma once

#include "DomainListLayout.h"
#include "HostChecklist.h"

#include <QFont>
#include <QList>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QScrollBar;

// The domain and host checklist: domain headings, each followed by a check box per host, in a
// white panel that scrolls vertically. Everything is placed from DomainListLayout at 15 twips per
// (logical) pixel; the layout also holds the ticks, so the readers see the user's clicks there.
// Raises no signals: the code around it fills it and reads the ticks back.
class DomainList : public QWidget, public HostChecklist
{
    Q_OBJECT

public:
    static constexpr int TwipsPerPixel = 15;

    explicit DomainList(QWidget* parent = nullptr);
    ~DomainList() override;

    void AddDomain(const QString& domain) override;
    void AddHost(const QString& host) override;
    void Selected(const QString& host, bool state) override;
    QString List(int index) const override;
    int ListCount() const override;
    bool IsSelected(int index) const override;
    int SelCount() const override;
    void Clear() override;

    const DomainListLayout& layoutModel() const { return m_layout; }

    QSize sizeHint() const override;

    // Nearest logical pixel of a twips value.
    static int toPixels(int twips);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followSize();
    void showScrollState();
    void showChecks();
    void positionCommitted(int position);
    QLabel* makeHeading(const DomainListLayout::Row& row);
    QCheckBox* makeHost(const DomainListLayout::Row& row);

    DomainListLayout m_layout;
    QLineEdit* m_focus = nullptr;
    QFrame* m_container = nullptr;
    // Inside the container's border: what the layout places is placed in here.
    QWidget* m_client = nullptr;
    QScrollBar* m_scrollBar = nullptr;
    QWidget* m_frame = nullptr;
    QFont m_headingFont;
    // Indexed like the layout's collections; element 0 is the hidden template.
    QList<QLabel*> m_headings;
    QList<QCheckBox*> m_hosts;
};
