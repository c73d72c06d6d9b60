#pragma once

#include "MainForm.h"

#include <QWidget>

class DomainList;
class LogView;
class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

// frmMain: the five tabs and their controls, laid out, and nothing more. What the controls do is
// MainController's; the exchanges see the window through MainForm.
class MainWindow : public QWidget, public MainForm
{
    Q_OBJECT

public:
    enum Tab { StatusTab = 0, AccountTab = 1, SettingsTab = 2, LogsTab = 3, AboutTab = 4 };

    MainWindow(const QString& keepAliveSite, const QString& homePage, QWidget* parent = nullptr);

    QString responseText() const override;
    void setResponseText(const QString& text) override;
    QString lastText() const override;
    void setLastText(const QString& text) override;
    void setLastIPText(const QString& text) override;
    QString remoteText() const override;
    void setRemoteText(const QString& text) override;
    QString machineText() const override;
    void setMachineText(const QString& text) override;
    void setNextText(const QString& text) override;
    bool routerAddressSelected() const override;
    QString userName() const override;
    QString password() const override;
    QString hoursText() const override;
    QString minutesText() const override;
    QStringList locators() const override;

    QTabWidget* tabs() const { return m_tabs; }
    QLabel* usingLabel() const { return m_lblUsing; }
    QLabel* programNameLabel() const { return m_label7; }
    QLineEdit* userNameBox() const { return m_txtusername; }
    QLineEdit* passwordBox() const { return m_txtpassword; }
    QLineEdit* hoursBox() const { return m_txthours; }
    QLineEdit* minutesBox() const { return m_txtMinutes; }
    QRadioButton* routerOption() const { return m_optRouter; }
    QRadioButton* machineOption() const { return m_optMachine; }
    QGroupBox* locatorFrame() const { return m_fraLocators; }
    QListWidget* locatorList() const { return m_lstLocators; }
    QCheckBox* versionCheckBox() const { return m_chkCheck; }
    QCheckBox* pingCheckBox() const { return m_chkPing; }
    QLineEdit* pingBox() const { return m_txtPing; }
    LogView* logView() const { return m_txtLog; }
    QAbstractButton* button(const QString& objectName) const;
    DomainList& checklist() const { return *m_domainList1; }

signals:
    void forceUpdateClicked();
    void refreshHostsClicked();
    void applyAccountClicked();
    void resetAccountClicked();
    void applySettingsClicked();
    void checkNowClicked();
    void exitClicked();
    void homePageClicked();
    // The tab strip's click (a change of the current tab) and its key event.
    void tabStripEvent();
    // The title bar's close button; the window stays unless the controller closes it.
    void closeRequested();
    // The window has just been minimized.
    void minimized();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildStatusTab();
    QWidget* buildAccountTab();
    QWidget* buildSettingsTab(const QString& keepAliveSite);
    QWidget* buildLogsTab();
    QWidget* buildAboutTab(const QString& homePage);
    QPushButton* exitButton(int index);
    void showResponseText();

    QTabWidget* m_tabs = nullptr;
    QLabel* m_lblUsing = nullptr;
    QLabel* m_lblremote = nullptr;
    QLabel* m_lblmachine = nullptr;
    QLabel* m_lblnext = nullptr;
    QLabel* m_lblLast = nullptr;
    QLabel* m_lblLastIP = nullptr;
    QPlainTextEdit* m_txtResponse = nullptr;
    QString m_responseText;
    bool m_responseShowPending = false;
    QLineEdit* m_txtusername = nullptr;
    QLineEdit* m_txtpassword = nullptr;
    QLineEdit* m_txthours = nullptr;
    QLineEdit* m_txtMinutes = nullptr;
    QRadioButton* m_optRouter = nullptr;
    QRadioButton* m_optMachine = nullptr;
    QGroupBox* m_fraLocators = nullptr;
    QListWidget* m_lstLocators = nullptr;
    QCheckBox* m_chkCheck = nullptr;
    QCheckBox* m_chkPing = nullptr;
    QLineEdit* m_txtPing = nullptr;
    LogView* m_txtLog = nullptr;
    DomainList* m_domainList1 = nullptr;
    QLabel* m_label7 = nullptr;
};
