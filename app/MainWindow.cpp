#include "MainWindow.h"

#include "DomainList.h"
#include "LogView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <tuple>

namespace {

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* valueLabel(const QString& name, const QString& text)
{
    auto* label = named(new QLabel(text), name);
    label->setTextFormat(Qt::PlainText); // texts from the network are never markup
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QToolButton* arrowButton(const QString& name, Qt::ArrowType arrow)
{
    auto* button = named(new QToolButton, name);
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A box with its two arrow buttons stacked right beside it, together as tall as the box, the
// way the wizard shows them: left to their own size they stood apart and overhung the box.
QWidget* steppedBox(QLineEdit* box, QToolButton* up, QToolButton* down, const QString& unit)
{
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    layout->addWidget(box);
    const int half = box->sizeHint().height() / 2;
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    for (QToolButton* arrow : {up, down}) {
        arrow->setFixedSize(half, half);
        arrows->addWidget(arrow);
    }
    layout->addLayout(arrows);
    layout->addSpacing(box->fontMetrics().horizontalAdvance(u' '));
    layout->addWidget(new QLabel(unit));
    return widget;
}

QHBoxLayout* buttonRow()
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    return row;
}

} // namespace

MainWindow::MainWindow(const QString& keepAliveSite, const QString& homePage, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("QuorVex - IP Updater"));

    m_tabs = named(new QTabWidget, QStringLiteral("SSTab1"));
    m_tabs->addTab(buildStatusTab(), QStringLiteral("Status"));
    m_tabs->addTab(buildAccountTab(), QStringLiteral("Account"));
    m_tabs->addTab(buildSettingsTab(keepAliveSite), QStringLiteral("Settings"));
    m_tabs->addTab(buildLogsTab(), QStringLiteral("Logs"));
    m_tabs->addTab(buildAboutTab(homePage), QStringLiteral("About"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::tabStripEvent);
    m_tabs->tabBar()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    resize(520, 420);
}

QWidget* MainWindow::buildStatusTab()
{
    auto* tab = new QWidget;
    auto* form = new QFormLayout;
    m_lblUsing = valueLabel(QStringLiteral("lblUsing"), QStringLiteral("Not Specified"));
    m_lblremote = valueLabel(QStringLiteral("lblremote"), QStringLiteral("Checking ..."));
    m_lblmachine = valueLabel(QStringLiteral("lblmachine"), QStringLiteral("Checking ..."));
    m_lblnext = valueLabel(QStringLiteral("lblnext"), QStringLiteral("Not Specified"));
    m_lblLast = valueLabel(QStringLiteral("lblLast"), QStringLiteral("Not Updated"));
    m_lblLastIP = valueLabel(QStringLiteral("lblLastIP"), QStringLiteral("Not Updated"));
    form->addRow(QStringLiteral("Using IP:"), m_lblUsing);
    form->addRow(QStringLiteral("Remote IP:"), m_lblremote);
    form->addRow(QStringLiteral("Machine IP:"), m_lblmachine);
    form->addRow(QStringLiteral("Next Update:"), m_lblnext);
    form->addRow(QStringLiteral("Last Update:"), m_lblLast);
    form->addRow(QStringLiteral("Last IP:"), m_lblLastIP);

    m_txtResponse = named(new QPlainTextEdit, QStringLiteral("txtResponse"));
    m_txtResponse->setReadOnly(true);

    auto* force = named(new QPushButton(QStringLiteral("&Force Update")), QStringLiteral("cmdForceUpdate"));
    connect(force, &QPushButton::clicked, this, &MainWindow::forceUpdateClicked);
    auto* buttons = buttonRow();
    buttons->addWidget(force);
    buttons->addWidget(exitButton(0));

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Last Update Response:")));
    layout->addWidget(m_txtResponse, 1);
    layout->addLayout(buttons);
    return tab;
}

QWidget* MainWindow::buildAccountTab()
{
    auto* tab = new QWidget;
    m_txtusername = named(new QLineEdit, QStringLiteral("txtusername"));
    m_txtpassword = named(new QLineEdit, QStringLiteral("txtpassword"));
    m_txtpassword->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Username:"), m_txtusername);
    form->addRow(QStringLiteral("Password:"), m_txtpassword);

    m_domainList1 = named(new DomainList, QStringLiteral("domainList1"));

    auto* refresh = named(new QPushButton(QStringLiteral("&Refresh List")), QStringLiteral("cmdRefreshHosts"));
    auto* apply = named(new QPushButton(QStringLiteral("&Apply")), QStringLiteral("cmdApply_Account"));
    auto* reset = named(new QPushButton(QStringLiteral("Reset Account")), QStringLiteral("ResetAccount"));
    connect(refresh, &QPushButton::clicked, this, &MainWindow::refreshHostsClicked);
    connect(apply, &QPushButton::clicked, this, &MainWindow::applyAccountClicked);
    connect(reset, &QPushButton::clicked, this, &MainWindow::resetAccountClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(exitButton(1));

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Hosts to update:")));
    layout->addWidget(m_domainList1, 1);
    layout->addLayout(buttons);
    return tab;
}

QWidget* MainWindow::buildSettingsTab(const QString& keepAliveSite)
{
    auto* tab = new QWidget;

    m_txthours = named(new QLineEdit, QStringLiteral("txthours"));
    m_txtMinutes = named(new QLineEdit, QStringLiteral("txtMinutes"));
    auto* interval = new QHBoxLayout;
    interval->addWidget(new QLabel(QStringLiteral("Update every")));
    interval->addWidget(steppedBox(m_txthours, arrowButton(QStringLiteral("hrsUp"), Qt::UpArrow),
                                   arrowButton(QStringLiteral("hrsDown"), Qt::DownArrow), QStringLiteral("hours")));
    interval->addWidget(steppedBox(m_txtMinutes, arrowButton(QStringLiteral("minUp"), Qt::UpArrow),
                                   arrowButton(QStringLiteral("minDown"), Qt::DownArrow), QStringLiteral("minutes")));
    interval->addStretch();

    m_optRouter = named(new QRadioButton(QStringLiteral("Use Router IP")), QStringLiteral("optIP(0)"));
    m_optMachine = named(new QRadioButton(QStringLiteral("Use Machine IP")), QStringLiteral("optIP(1)"));
    m_optRouter->setChecked(true);
    auto* source = new QHBoxLayout;
    source->addWidget(m_optRouter);
    source->addWidget(m_optMachine);
    source->addStretch();

    m_fraLocators = named(new QGroupBox(QStringLiteral("Router IP Locators:")), QStringLiteral("fraLocators"));
    m_lstLocators = named(new QListWidget, QStringLiteral("lstLocators"));
    auto* locatorButtons = new QVBoxLayout;
    for (const auto& [name, caption, image] :
         {std::tuple{QStringLiteral("locatorAdd"), QStringLiteral("Add"), QStringLiteral("locator-add")},
          std::tuple{QStringLiteral("locatorRemove"), QStringLiteral("Remove"), QStringLiteral("locator-remove")},
          std::tuple{QStringLiteral("locatorUp"), QStringLiteral("Move Up"), QStringLiteral("locator-up")},
          std::tuple{QStringLiteral("locatorDown"), QStringLiteral("Move Down"), QStringLiteral("locator-down")}}) {
        // Picture buttons: the caption is the tip and what a screen reader says.
        auto* button = named(new QToolButton, name);
        button->setIcon(QIcon(QStringLiteral(":/images/") + image + QStringLiteral(".svg")));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(caption);
        button->setAccessibleName(caption);
        locatorButtons->addWidget(button);
    }
    locatorButtons->addStretch();
    auto* locators = new QHBoxLayout(m_fraLocators);
    locators->addWidget(m_lstLocators, 1);
    locators->addLayout(locatorButtons);

    m_chkCheck =
        named(new QCheckBox(QStringLiteral("Check for newer version on start up.")), QStringLiteral("chkCheck"));
    auto* checkNow = named(new QPushButton(QStringLiteral("&Check Now")), QStringLiteral("cmdCheckNow"));
    connect(checkNow, &QPushButton::clicked, this, &MainWindow::checkNowClicked);
    auto* version = new QHBoxLayout;
    version->addWidget(m_chkCheck);
    version->addStretch();
    version->addWidget(checkNow);

    auto* explanation = new QLabel(QStringLiteral("If you don't have a persistant internet connection you should "
                                                  "enable this option to keep your internet connection alive:"));
    explanation->setWordWrap(true);
    m_chkPing = named(new QCheckBox(QStringLiteral("Ping ") + keepAliveSite + QStringLiteral(" every")),
                      QStringLiteral("chkPing"));
    m_txtPing = named(new QLineEdit, QStringLiteral("txtPing"));
    m_txtPing->setMaximumWidth(m_txtPing->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    auto* ping = new QHBoxLayout;
    ping->addWidget(m_chkPing);
    ping->addWidget(m_txtPing);
    ping->addWidget(new QLabel(QStringLiteral(" minutes")));
    ping->addStretch();

    auto* apply = named(new QPushButton(QStringLiteral("&Apply")), QStringLiteral("cmdApply_Settings"));
    connect(apply, &QPushButton::clicked, this, &MainWindow::applySettingsClicked);
    auto* buttons = buttonRow();
    buttons->addWidget(apply);
    buttons->addWidget(exitButton(2));

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(interval);
    layout->addLayout(source);
    layout->addWidget(m_fraLocators, 1);
    layout->addLayout(version);
    layout->addWidget(explanation);
    layout->addLayout(ping);
    layout->addLayout(buttons);
    return tab;
}

QWidget* MainWindow::buildLogsTab()
{
    auto* tab = new QWidget;
    m_txtLog = named(new LogView, QStringLiteral("txtLog"));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel(QStringLiteral("IP Updater Log:")));
    layout->addWidget(m_txtLog, 1);
    return tab;
}

QWidget* MainWindow::buildAboutTab(const QString& homePage)
{
    auto* tab = new QWidget;
    m_label7 = named(new QLabel, QStringLiteral("Label7"));
    QFont big = m_label7->font();
    big.setBold(true);
    m_label7->setFont(big);
    auto* link = named(new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(homePage.toHtmlEscaped())),
                       QStringLiteral("lblHyperlink"));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // The page opens through the desktop seam, not through the label's own handling.
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &MainWindow::homePageClicked);
    auto* layout = new QVBoxLayout(tab);
    layout->addStretch();
    layout->addWidget(m_label7, 0, Qt::AlignHCenter);
    layout->addWidget(link, 0, Qt::AlignHCenter);
    layout->addStretch();
    return tab;
}

QPushButton* MainWindow::exitButton(int index)
{
    auto* button = named(new QPushButton(QStringLiteral("&Exit")), QStringLiteral("cmdExit(%1)").arg(index));
    connect(button, &QPushButton::clicked, this, &MainWindow::exitClicked);
    return button;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit closeRequested();
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        emit minimized();
    }
}

QAbstractButton* MainWindow::button(const QString& objectName) const
{
    return findChild<QAbstractButton*>(objectName);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tabs->tabBar() && event->type() == QEvent::KeyPress) {
        emit tabStripEvent();
    }
    return QWidget::eventFilter(watched, event);
}

QString MainWindow::responseText() const
{
    return m_responseText;
}

void MainWindow::setResponseText(const QString& text)
{
    // Kept as given (CR LF and all) for those who read it back; shown with plain line breaks.
    m_responseText = text;
    // An exchange often sets two texts in one go ("Updating ..." and then its outcome), and a
    // scheduled cycle with an unchanged address sets the one already shown. Each layout of the box
    // is a tenth of a quiet cycle's cost, so it shows only the last text, once the event loop has
    // control again, and only when that text differs from what is on screen.
    if (!m_responseShowPending) {
        m_responseShowPending = true;
        QMetaObject::invokeMethod(this, &MainWindow::showResponseText, Qt::QueuedConnection);
    }
}

void MainWindow::showResponseText()
{
    m_responseShowPending = false;
    QString shown = m_responseText;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown != m_txtResponse->toPlainText()) {
        m_txtResponse->setPlainText(shown);
    }
}

QString MainWindow::lastText() const
{
    return m_lblLast->text();
}

void MainWindow::setLastText(const QString& text)
{
    m_lblLast->setText(text);
}

void MainWindow::setLastIPText(const QString& text)
{
    m_lblLastIP->setText(text);
}

QString MainWindow::remoteText() const
{
    return m_lblremote->text();
}

void MainWindow::setRemoteText(const QString& text)
{
    m_lblremote->setText(text);
}

QString MainWindow::machineText() const
{
    return m_lblmachine->text();
}

void MainWindow::setMachineText(const QString& text)
{
    m_lblmachine->setText(text);
}

void MainWindow::setNextText(const QString& text)
{
    m_lblnext->setText(text);
}

bool MainWindow::routerAddressSelected() const
{
    return m_optRouter->isChecked();
}

QString MainWindow::userName() const
{
    return m_txtusername->text();
}

QString MainWindow::password() const
{
    return m_txtpassword->text();
}

QString MainWindow::hoursText() const
{
    return m_txthours->text();
}

QString MainWindow::minutesText() const
{
    return m_txtMinutes->text();
}

QStringList MainWindow::locators() const
{
    QStringList entries;
    for (int i = 0; i < m_lstLocators->count(); ++i) {
        entries.append(m_lstLocators->item(i)->text());
    }
    return entries;
}
