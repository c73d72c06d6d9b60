#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

// frmAdd: asks for one IP locator. OK accepts and Cancel rejects, as do the dialog's own Enter
// and Escape keys and its close button (a rejection); what the entry does is the caller's. A
// check the caller sets may keep OK from accepting, the text left in the box for correction.
class AddLocatorDialog : public QDialog
{
    Q_OBJECT

public:
    // example is shown after "Like this:", a locator of the expected form.
    explicit AddLocatorDialog(const QString& example, QWidget* parent = nullptr);

    QString domainText() const;
    // Asked at OK (or Enter): false keeps the dialog open.
    void setAcceptCheck(std::function<bool()> check);

    QLineEdit* domainBox() const { return m_txtDomain; }
    QPushButton* okButton() const { return m_cmdOK; }
    QPushButton* cancelButton() const { return m_cmdCancel; }

private:
    QLineEdit* m_txtDomain = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    std::function<bool()> m_acceptCheck;
};
