#pragma once

#include "ServiceUrls.h"
#include "SetupWizardSide.h"
#include "WizardHostStep.h"

#include <QStringList>
#include <QWidget>

class Desktop;
class DomainList;
class QCloseEvent;
class QKeyEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class WizardMainSide;

// frmWizard, the window that configures the program from nothing: a welcome page, then the
// account (checked against the service), the hosts to update, the update interval, the address to
// report and the keep-alive ping, and a finish page that writes the three settings files and
// hands over to start-up. Next, Back and Exit act by Step. Laid out in twips at 15 twips per pixel.
class SetupWizard : public QWidget, public SetupWizardSide, public WizardHostStep
{
    Q_OBJECT

public:
    // The service host's home and sign-up pages come from urls; the keep-alive site is named on
    // step 5; the default locators are what step 3 and the settings file use.
    SetupWizard(Desktop& desktop, WizardMainSide& main, const ServiceUrls& urls, const QString& keepAliveSite,
                const QStringList& defaultLocators, QWidget* parent = nullptr);
    ~SetupWizard() override;

    // 0 the welcome page, 1 to 5 the steps, 6 the finish page.
    qint16 Step() const { return m_step; }

    // SetupWizardSide and WizardHostStep: open while the window is visible.
    bool isOpen() const override;
    QString userText() const override;
    QString passwordText() const override;
    void credentialsAccepted() override;
    void credentialsNotAccepted() override;
    HostChecklist& checklist() override;
    void enableNext() override;

    // The outcome of the public-address lookup started at step 3.
    void setRemoteText(const QString& text);

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdExit_Click();
    // Writes "Update.ini", "Account.ini" and "Conf.ini", in that order, and asks the program to
    // start again from them. A file that cannot be written is reported and ends the program.
    // The restart may hide the wizard but must not delete it before control is back on the event
    // loop (deleteLater), since this runs inside the Next button's click.
    void SaveConfiguration();

protected:
    // Closing through the title bar asks as Exit does; a close by the program goes through.
    void closeEvent(QCloseEvent* event) override;
    // Enter presses Next (or Finish), as in any wizard; on a focused button, that button.
    void keyPressEvent(QKeyEvent* event) override;
    // The two link labels open their pages on a click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWelcome();
    QFrame* buildPage(const QString& name, const QString& heading, int headingHeight);
    void buildStep1();
    void buildStep2();
    void buildStep3();
    void buildStep4();
    void buildStep5();
    void buildFinish();
    QLabel* linkLabel(const QString& name, const QString& text, QWidget* parent);

    void nextFromAccount();
    void nextFromHosts();
    void nextFromInterval();
    bool pingTimeAccepted();
    QStringList checkedHosts() const;
    // Reports a file that was not written and ends the program; true when it did.
    bool writeFailed(bool written, const QString& what, const QString& advice);
    // Yes ends the program; true when it did.
    bool askToQuit();

    Desktop& m_desktop;
    WizardMainSide& m_main;
    ServiceUrls m_urls;
    QString m_keepAliveSite;
    QStringList m_defaultLocators;
    qint16 m_step = 0;

    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QLabel* m_lblHyperlink = nullptr;
    QFrame* m_fraStep1 = nullptr;
    QFrame* m_fraStep2 = nullptr;
    QFrame* m_fraStep3 = nullptr;
    QFrame* m_fraStep4 = nullptr;
    QFrame* m_fraStep5 = nullptr;
    QFrame* m_fraFinish = nullptr;
    QLineEdit* m_txtUser = nullptr;
    QLineEdit* m_txtPass = nullptr;
    DomainList* m_domainList1 = nullptr;
    QLineEdit* m_txthours = nullptr;
    QLineEdit* m_txtMinutes = nullptr;
    QToolButton* m_hrsUp = nullptr;
    QToolButton* m_hrsDown = nullptr;
    QToolButton* m_minUp = nullptr;
    QToolButton* m_minDown = nullptr;
    QRadioButton* m_optLocal = nullptr;
    QRadioButton* m_optRemote = nullptr;
    QLabel* m_lblLocal = nullptr;
    QLabel* m_lblremote = nullptr;
    QRadioButton* m_chkPersistantEnable = nullptr;
    QRadioButton* m_chkPersistantDisable = nullptr;
    QLineEdit* m_txtPing = nullptr;
    QLabel* m_lblHyperlink2 = nullptr;
};
