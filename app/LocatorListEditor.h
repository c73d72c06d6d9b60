#pragma once

#include <QObject>
#include <QString>

#include <memory>

class AddLocatorDialog;
class Desktop;
class QAbstractButton;
class QListWidget;
class QWidget;

// The Settings tab's edits of the IP locator list: add through frmAdd, remove, move up and down.
// Only texts move between entries, and the selection follows the moved text. While frmAdd is open
// the main window is disabled, so the dialog alone takes input until it closes, however it closes.
class LocatorListEditor : public QObject
{
    Q_OBJECT

public:
    // example is the entry frmAdd shows as a model of the expected form; desktop shows why an
    // entry is refused.
    LocatorListEditor(QListWidget& lstLocators, QWidget& mainWindow, const QString& example, Desktop& desktop,
                      QObject* parent = nullptr);
    ~LocatorListEditor() override;

    // Connects the four buttons beside the list; any of them may be null.
    void attach(QAbstractButton* add, QAbstractButton* remove, QAbstractButton* up, QAbstractButton* down);

    void locatorAdd();
    void locatorRemove();
    void locatorUp();
    void locatorDown();

    // frmAdd while it is open; null otherwise.
    AddLocatorDialog* dialog() const;

private:
    void onDialogFinished(int result);
    // The row of the selected entry, -1 when none is selected.
    int selectedRow() const;
    void exchangeWith(int row, int other);

    QListWidget& m_lstLocators;
    QWidget& m_mainWindow;
    QString m_example;
    Desktop& m_desktop;
    // Not a child of the main window: disabling the main window would disable it too.
    std::unique_ptr<AddLocatorDialog> m_frmAdd;
    bool m_dialogOpen = false;
};
