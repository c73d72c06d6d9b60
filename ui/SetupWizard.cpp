#include "SetupWizard.h"

#include "AccountFile.h"
#include "ConfFile.h"
#include "Desktop.h"
#include "DomainList.h"
#include "IntervalBoxes.h"
#include "IntervalEditor.h"
#include "SettingsInputCheck.h"
#include "UpdateFile.h"
#include "WizardMainSide.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString errorTitle = u"Error"_s;
const QString directoryAdvice = u"Please ensure that you have permission to read & write the application directory"_s;

QRect twips(int left, int top, int width, int height)
{
    return {DomainList::toPixels(left), DomainList::toPixels(top), DomainList::toPixels(width),
            DomainList::toPixels(height)};
}

// Tahoma where the system has it; elsewhere the default face, at the same size.
QFont tahoma(const QFont& base, qreal points)
{
    QFont font = base;
    if (QFontDatabase::hasFamily(u"Tahoma"_s)) {
        font.setFamily(u"Tahoma"_s);
    }
    font.setPointSizeF(points);
    return font;
}

template <typename W>
W* placed(W* widget, const QString& name, const QRect& geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// The layout is made for Tahoma; a wider face in its place would cut texts off, so a text that
// does not fit its place is shown smaller instead.
void shrinkToFit(QLabel* label)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | (label->wordWrap() ? Qt::TextWordWrap : 0);
    QFont font = label->font();
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(label->contentsRect(), flags, label->text());
        return needed.width() <= label->contentsRect().width() && needed.height() <= label->contentsRect().height();
    };
    while (!fits() && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    if (font != label->font()) {
        label->setFont(font);
    }
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry, bool wrap = false)
{
    auto* result = new QLabel(text, parent);
    result->setGeometry(geometry);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setWordWrap(wrap);
    shrinkToFit(result);
    return result;
}

// The lines of text, each as long as fits width, broken at blanks only.
QString brokenAtBlanks(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.constLast() + u' ' + word) <= width) {
            lines.last() += u' ' + word;
        } else {
            lines.append(word);
        }
    }
    return lines.join(u'\n');
}

// A caption holding an address, which a reader takes in as one word: Qt's wrapping would break
// it after a "/", so its lines break at blanks only, in a smaller size where the address would
// not fit a line of its own.
QLabel* captionOfWholeWords(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* result = new QLabel(parent);
    result->setGeometry(geometry);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result->setAccessibleName(text);
    const QRect room = result->contentsRect();
    QFont font = result->font();
    QString lines;
    for (;; font.setPointSizeF(font.pointSizeF() - 0.25)) {
        const QFontMetrics metrics(font);
        lines = brokenAtBlanks(text, metrics, room.width());
        const QRect needed = metrics.boundingRect(room, Qt::AlignLeft | Qt::AlignTop, lines);
        if ((needed.width() <= room.width() && needed.height() <= room.height()) || font.pointSizeF() <= 6.0) {
            break;
        }
    }
    result->setFont(font);
    result->setText(lines);
    return result;
}

// A bordered panel without caption, grouping the controls of a step.
QFrame* innerBox(QWidget* page, const QString& name, const QRect& geometry)
{
    auto* box = placed(new QFrame(page), name, geometry);
    box->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return box;
}

QToolButton* arrow(QWidget* parent, const QString& name, Qt::ArrowType type, const QRect& geometry)
{
    auto* button = placed(new QToolButton(parent), name, geometry);
    button->setArrowType(type);
    button->setAutoRaise(true);
    // Images in the original: a click steps the box and leaves the focus where it was.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

SetupWizard::SetupWizard(Desktop& desktop, WizardMainSide& main, const ServiceUrls& urls, const QString& keepAliveSite,
                         const QStringList& defaultLocators, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_desktop(desktop), m_main(main), m_urls(urls),
      m_keepAliveSite(keepAliveSite), m_defaultLocators(defaultLocators)
{
    setObjectName(u"frmWizard"_s);
    setWindowTitle(u" QuorVex IP Updater Configuration Wizard"_s);
    setFont(tahoma(font(), 9.75));
    setFixedSize(twips(0, 0, 5760, 4815).size());

    auto* logo = placed(new QLabel(this), u"imgLogo"_s, twips(120, 240, 1245, 285));
    const QPixmap drawing = QIcon(u":/images/quorvex-logo.svg"_s).pixmap(logo->size());
    if (!drawing.isNull()) {
        logo->setPixmap(drawing);
    } else {
        // Without the SVG image plugin the name stands in, in the drawing's colours.
        logo->setText(u"QuorVex"_s);
        QFont logoFont = font();
        logoFont.setBold(true);
        logo->setFont(logoFont);
        QPalette logoPalette = logo->palette();
        logoPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        logo->setPalette(logoPalette);
    }
    logo->setAccessibleName(u"QuorVex"_s);

    buildWelcome();
    // Each page is made after the welcome content and paints its background, so it covers it.
    buildStep1();
    buildStep2();
    buildStep3();
    buildStep4();
    buildStep5();
    buildFinish();

    m_cmdBack = placed(new QPushButton(u"< &Back"_s, this), u"cmdBack"_s, twips(1320, 4320, 1335, 375));
    m_cmdNext = placed(new QPushButton(u"&Next >"_s, this), u"cmdNext"_s, twips(2760, 4320, 1335, 375));
    m_cmdExit = placed(new QPushButton(u"&Exit"_s, this), u"cmdExit"_s, twips(4200, 4320, 1335, 375));
    m_cmdBack->hide();
    connect(m_cmdBack, &QPushButton::clicked, this, &SetupWizard::cmdBack_Click);
    connect(m_cmdNext, &QPushButton::clicked, this, &SetupWizard::cmdNext_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &SetupWizard::cmdExit_Click);

    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

SetupWizard::~SetupWizard() = default;

QLabel* SetupWizard::linkLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* link = new QLabel(text, parent);
    link->setObjectName(name);
    QFont linkFont = tahoma(font(), 9);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    link->setPalette(palette);
    link->setCursor(Qt::PointingHandCursor);
    // As large as its text, so only the words themselves are the link.
    link->adjustSize();
    link->installEventFilter(this);
    return link;
}

void SetupWizard::buildWelcome()
{
    label(this, u"Welcome to the Quorvex IP Updater. Please follow the steps to setup the application."_s,
          twips(240, 960, 5280, 720), true)
        ->setObjectName(u"lblWelcome"_s);
    label(this,
          u"You will need to provide your username and password to your account and select the domain names that "
          u"you wish to update with the new IP."_s,
          twips(240, 1680, 5280, 1080), true)
        ->setObjectName(u"lblNeeded"_s);
    m_lblHyperlink = linkLabel(u"lblHyperlink"_s, u"If you don't have an account click here"_s, this);
    m_lblHyperlink->move(twips(240, 2760, 0, 0).topLeft());
}

QFrame* SetupWizard::buildPage(const QString& name, const QString& heading, int headingHeight)
{
    auto* page = placed(new QFrame(this), name, twips(120, 720, 5535, 3495));
    page->setFrameShape(QFrame::NoFrame);
    page->setAutoFillBackground(true);
    page->hide();
    if (!heading.isEmpty()) {
        label(page, heading, twips(120, 240, 5295, headingHeight), true)->setObjectName(name + u"Heading"_s);
    }
    return page;
}

void SetupWizard::buildStep1()
{
    m_fraStep1 = buildPage(u"fraStep1"_s, u"Step 1: Please provide your account details."_s, 465);
    QFrame* box = innerBox(m_fraStep1, u"fraAccount"_s, twips(120, 720, 5295, 1575));
    label(box, u"Username:"_s, twips(240, 480, 1155, 285));
    m_txtUser = placed(new QLineEdit(box), u"txtUser"_s, twips(1440, 495, 3615, 285));
    label(box, u"Password:"_s, twips(240, 960, 1155, 285));
    m_txtPass = placed(new QLineEdit(box), u"txtPass"_s, twips(1440, 945, 3615, 285));
    m_txtPass->setEchoMode(QLineEdit::Password);
    m_txtPass->setStyleSheet(u"lineedit-password-character: 42"_s); // "*"
}

void SetupWizard::buildStep2()
{
    m_fraStep2 = buildPage(u"fraStep2"_s, u"Step 2: Please select the domains to update."_s, 465);
    QFrame* box = innerBox(m_fraStep2, u"fraHosts"_s, twips(120, 720, 5295, 2655));
    label(box, u"Domains:"_s, twips(120, 240, 1200, 285));
    m_domainList1 = placed(new DomainList(box), u"domainList1"_s, twips(120, 600, 5055, 1935));
}

void SetupWizard::buildStep3()
{
    m_fraStep3 = buildPage(u"fraStep3"_s, u"Step 3: Please select how often to check and update your IP."_s, 465);
    QFrame* box = innerBox(m_fraStep3, u"fraInterval"_s, twips(120, 720, 5295, 1575));
    label(box, u"Update IP Every:"_s, twips(120, 240, 2400, 285));
    label(box, u"Hours:"_s, twips(240, 600, 1200, 285));
    label(box, u"Minutes:"_s, twips(1560, 600, 1200, 285));
    m_txthours = placed(new QLineEdit(u"0"_s, box), u"txthours"_s, twips(480, 960, 360, 360));
    m_txtMinutes = placed(new QLineEdit(u"15"_s, box), u"txtMinutes"_s, twips(1800, 960, 360, 360));
    m_hrsUp = arrow(box, u"hrsUp"_s, Qt::UpArrow, twips(840, 960, 165, 180));
    m_hrsDown = arrow(box, u"hrsDown"_s, Qt::DownArrow, twips(840, 1125, 165, 180));
    m_minUp = arrow(box, u"minUp"_s, Qt::UpArrow, twips(2160, 960, 165, 180));
    m_minDown = arrow(box, u"minDown"_s, Qt::DownArrow, twips(2160, 1125, 165, 180));
    new IntervalBoxes(m_txthours, m_hrsUp, m_hrsDown, m_txtMinutes, m_minUp, m_minDown);
}

void SetupWizard::buildStep4()
{
    m_fraStep4 = buildPage(u"fraStep4"_s, u"Step 4: Please select which IP you wish to use"_s, 465);
    QFrame* box = innerBox(m_fraStep4, u"fraAddress"_s, twips(120, 720, 5295, 1335));
    m_optLocal = placed(new QRadioButton(u"Local (Machine) IP"_s, box), u"optLocal"_s, twips(480, 360, 2400, 285));
    m_lblLocal = label(box, u"Finding Local IP ..."_s, twips(3000, 360, 2175, 285));
    m_lblLocal->setObjectName(u"lblLocal"_s);
    m_optRemote = placed(new QRadioButton(u"Remote (Internet) IP"_s, box), u"optRemote"_s, twips(480, 840, 2400, 285));
    m_lblremote = label(box, u"Finding Remote IP ..."_s, twips(3000, 840, 2175, 285));
    m_lblremote->setObjectName(u"lblremote"_s);
    m_optRemote->setChecked(true);
}

void SetupWizard::buildStep5()
{
    m_fraStep5 =
        buildPage(u"fraStep5"_s, u"Step 5: Please choose whether if you wish to use a persistant connection."_s, 585);
    QFrame* idle = innerBox(m_fraStep5, u"fraIdle"_s, twips(120, 840, 5295, 1095));
    label(idle, u"If your ISP disconnects you when idle select enable:"_s, twips(120, 240, 5055, 345));
    m_chkPersistantEnable =
        placed(new QRadioButton(u"Enable"_s, idle), u"chkPersistant(0)"_s, twips(480, 600, 1335, 285));
    m_chkPersistantDisable =
        placed(new QRadioButton(u"Disable"_s, idle), u"chkPersistant(1)"_s, twips(1920, 600, 1335, 285));
    m_chkPersistantEnable->setChecked(true);
    // However the choice changes, the box follows it.
    connect(m_chkPersistantEnable, &QRadioButton::toggled, this, [this](bool on) { m_txtPing->setEnabled(on); });

    QFrame* ping = innerBox(m_fraStep5, u"fraPing"_s, twips(120, 1920, 5295, 975));
    captionOfWholeWords(ping, u"Ping "_s + m_keepAliveSite + u" every"_s, twips(120, 360, 2010, 585))
        ->setObjectName(u"lblPing"_s);
    m_txtPing = placed(new QLineEdit(u"5"_s, ping), u"txtPing"_s, twips(2160, 360, 375, 270));
    label(ping, u"minutes"_s, twips(2760, 360, 1200, 270));
}

void SetupWizard::buildFinish()
{
    m_fraFinish = buildPage(u"fraFinish"_s, {}, 0);
    label(m_fraFinish,
          u"You have completed all the steps required to configure the IP Updater. Please press 'Finish' to "
          u"finalise the settings you have made."_s,
          twips(120, 240, 5295, 1095), true)
        ->setObjectName(u"lblCompleted"_s);
    label(m_fraFinish, u"Thank you for choosing to use QuorVex."_s, twips(120, 1440, 5295, 285))
        ->setObjectName(u"lblThanks"_s);
    m_lblHyperlink2 = linkLabel(u"lblHyperlink2"_s, m_urls.homePage(), m_fraFinish);
    m_lblHyperlink2->move(twips(120, 1800, 0, 0).topLeft());
}

bool SetupWizard::isOpen() const
{
    return isVisible();
}

QString SetupWizard::userText() const
{
    return m_txtUser->text();
}

QString SetupWizard::passwordText() const
{
    return m_txtPass->text();
}

void SetupWizard::credentialsAccepted()
{
    setEnabled(true);
    m_step = 2;
    m_cmdNext->setEnabled(false);
    m_fraStep1->hide();
    m_fraStep2->show();
}

void SetupWizard::credentialsNotAccepted()
{
    // Still on step 1 with what the user typed, to be corrected and checked again.
    setEnabled(true);
    m_txtUser->setFocus();
}

HostChecklist& SetupWizard::checklist()
{
    return *m_domainList1;
}

void SetupWizard::enableNext()
{
    m_cmdNext->setEnabled(true);
}

void SetupWizard::setRemoteText(const QString& text)
{
    m_lblremote->setText(text);
}

void SetupWizard::cmdNext_Click()
{
    switch (m_step) {
    case 0:
        m_fraStep1->show();
        m_cmdBack->show();
        m_txtUser->setFocus();
        m_step = 1;
        return;
    case 1:
        nextFromAccount();
        return;
    case 2:
        nextFromHosts();
        return;
    case 3:
        nextFromInterval();
        return;
    case 4:
        m_fraStep5->show();
        m_fraStep4->hide();
        m_step = 5;
        return;
    case 5:
        if (!pingTimeAccepted()) {
            return;
        }
        m_fraFinish->show();
        m_fraStep5->hide();
        m_cmdNext->setText(u"&Finish"_s);
        m_cmdBack->hide();
        m_step = 6;
        return;
    case 6:
        SaveConfiguration();
        return;
    default:
        return;
    }
}

void SetupWizard::nextFromAccount()
{
    // Only emptiness counts: a name or password of blanks goes to the service as it is.
    if (m_txtUser->text().isEmpty()) {
        m_desktop.message(errorTitle, u"Username is required"_s, Desktop::Icon::Exclamation, Desktop::Buttons::Ok);
        m_txtUser->setFocus();
        return;
    }
    if (m_txtPass->text().isEmpty()) {
        m_desktop.message(errorTitle, u"Password is required"_s, Desktop::Icon::Exclamation, Desktop::Buttons::Ok);
        m_txtPass->setFocus();
        return;
    }
    if (SettingsInputCheck::accountRefused(m_desktop, m_txtUser, m_txtPass)) {
        return;
    }
    // The check takes the wizard to step 2, or hands it back on step 1.
    m_main.startCredentialCheck();
    setEnabled(false);
}

void SetupWizard::nextFromHosts()
{
    if (m_domainList1->SelCount() <= 0) {
        m_desktop.message(errorTitle, u"You must select at least one domain to update"_s, Desktop::Icon::Exclamation,
                          Desktop::Buttons::Ok);
        return;
    }
    m_fraStep3->show();
    m_fraStep2->hide();
    m_step = 3;
}

void SetupWizard::nextFromInterval()
{
    if (SettingsInputCheck::refused(m_desktop, SettingsInputCheck::interval(m_txthours->text(), m_txtMinutes->text()),
                                    m_txthours, Desktop::Icon::None)) {
        return;
    }
    m_main.useDefaultLocatorsAndLookUp();
    m_lblLocal->setText(m_main.machineAddress());
    m_fraStep4->show();
    m_fraStep3->hide();
    m_step = 4;
}

bool SetupWizard::pingTimeAccepted()
{
    // Checked whichever option is chosen, so a disabled box must still hold a sound period.
    return !SettingsInputCheck::refused(m_desktop, SettingsInputCheck::pingTime(m_txtPing->text(), false), m_txtPing);
}

void SetupWizard::cmdBack_Click()
{
    switch (m_step) {
    case 1:
        m_cmdBack->hide();
        m_fraStep1->hide();
        m_step = 0;
        return;
    case 2:
        m_fraStep2->hide();
        m_fraStep1->show();
        m_cmdNext->setEnabled(true);
        m_step = 1;
        return;
    case 3:
        m_fraStep3->hide();
        m_fraStep2->show();
        m_step = 2;
        return;
    case 4:
        m_fraStep4->hide();
        m_fraStep3->show();
        m_step = 3;
        return;
    case 5:
        m_fraStep5->hide();
        m_fraStep4->show();
        m_step = 4;
        return;
    default:
        return;
    }
}

void SetupWizard::cmdExit_Click()
{
    askToQuit();
}

bool SetupWizard::askToQuit()
{
    const auto answer = m_desktop.message(
        u"Exit"_s, u"Are you sure you wish to quit ?\r\nSetup has not completed configuring the IP updater"_s,
        Desktop::Icon::None, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes) {
        return false;
    }
    m_main.RemoveTrayIcon();
    m_desktop.endProgram(Desktop::Ending::Exit);
    return true;
}

void SetupWizard::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* target = focused != nullptr ? focused : m_cmdNext;
    if (target->isVisible() && target->isEnabled()) {
        target->click();
    }
}

void SetupWizard::closeEvent(QCloseEvent* event)
{
    if (!event->spontaneous() || askToQuit()) {
        event->accept();
        return;
    }
    event->ignore();
}

QStringList SetupWizard::checkedHosts() const
{
    QStringList hosts;
    for (int i = 0; i < m_domainList1->ListCount(); ++i) {
        if (m_domainList1->IsSelected(i)) {
            hosts.append(m_domainList1->List(i));
        }
    }
    return hosts;
}

// Each file is replaced whole or left as it was; the first one that fails ends the program, so
// the files after it keep what they held.
bool SetupWizard::writeFailed(bool written, const QString& what, const QString& advice)
{
    if (written) {
        return false;
    }
    m_desktop.message(errorTitle, u"Failed to write the "_s + what + u" configuration file.\r\n"_s + advice,
                      Desktop::Icon::Critical, Desktop::Buttons::Ok);
    m_desktop.endProgram(Desktop::Ending::Failure);
    return true;
}

void SetupWizard::SaveConfiguration()
{
    const QString configPath = m_main.configPath();
    if (writeFailed(UpdateFile::writePlaceholders(configPath), u"update"_s,
                    u"Please ensure you have permission to read and write to the application directory"_s)) {
        return;
    }
    if (writeFailed(AccountFile::write(configPath, m_txtUser->text(), m_txtPass->text(), checkedHosts()), u"account"_s,
                    directoryAdvice)) {
        return;
    }
    const QString ping = m_chkPersistantEnable->isChecked() ? m_txtPing->text() : u"0"_s;
    if (writeFailed(ConfFile::writeFromWizard(configPath, m_txthours->text(), m_txtMinutes->text(),
                                              m_optRemote->isChecked(), ping, m_defaultLocators),
                    u"general"_s, directoryAdvice)) {
        return;
    }
    m_main.restartFromSavedSettings();
}

bool SetupWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && (watched == m_lblHyperlink || watched == m_lblHyperlink2)) {
        auto* link = static_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint())) {
            m_desktop.openUrl(link == m_lblHyperlink ? m_urls.signupPage() : m_urls.homePage());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
