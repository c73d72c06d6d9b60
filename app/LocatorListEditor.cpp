#include "LocatorListEditor.h"

#include "AddLocatorDialog.h"
#include "SettingsInputCheck.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QWindow>

LocatorListEditor::LocatorListEditor(QListWidget& lstLocators, QWidget& mainWindow, const QString& example,
                                     Desktop& desktop, QObject* parent)
    : QObject(parent), m_lstLocators(lstLocators), m_mainWindow(mainWindow), m_example(example), m_desktop(desktop)
{}

// Out of line: the header only declares the dialog.
LocatorListEditor::~LocatorListEditor() = default;

void LocatorListEditor::attach(QAbstractButton* add, QAbstractButton* remove, QAbstractButton* up,
                               QAbstractButton* down)
{
    if (add) {
        connect(add, &QAbstractButton::clicked, this, &LocatorListEditor::locatorAdd);
    }
    if (remove) {
        connect(remove, &QAbstractButton::clicked, this, &LocatorListEditor::locatorRemove);
    }
    if (up) {
        connect(up, &QAbstractButton::clicked, this, &LocatorListEditor::locatorUp);
    }
    if (down) {
        connect(down, &QAbstractButton::clicked, this, &LocatorListEditor::locatorDown);
    }
}

void LocatorListEditor::locatorAdd()
{
    if (m_dialogOpen) {
        m_frmAdd->raise();
        m_frmAdd->activateWindow();
        return;
    }
    // A fresh dialog each time, so no text is left over from the last one. The one replaced has
    // finished and is out of every call in progress.
    m_frmAdd = std::make_unique<AddLocatorDialog>(m_example);
    connect(m_frmAdd.get(), &QDialog::finished, this, &LocatorListEditor::onDialogFinished);
    // A double quote would make the settings file read this locator and the ones after it as one.
    m_frmAdd->setAcceptCheck([this] {
        return !SettingsInputCheck::refused(
            m_desktop, SettingsInputCheck::storable(m_frmAdd->domainText(), QStringLiteral("IP locator")),
            m_frmAdd->domainBox());
    });
    // Kept above the main window by the window manager, as a child would be. Asking for the id
    // creates the platform window, so that its owner is known before it is first shown.
    m_frmAdd->winId();
    if (QWindow* owner = m_mainWindow.window()->windowHandle()) {
        m_frmAdd->windowHandle()->setTransientParent(owner);
    }
    m_dialogOpen = true;
    m_frmAdd->show();
    m_mainWindow.setEnabled(false);
}

void LocatorListEditor::onDialogFinished(int result)
{
    // Rejected covers Cancel, Escape and the title bar's close button alike.
    if (result == QDialog::Accepted) {
        const QString entry = m_frmAdd->domainText();
        if (!entry.isEmpty()) {
            m_lstLocators.addItem(entry);
        }
    }
    // The dialog has hidden itself; it is dropped at the next Add or with the editor.
    m_mainWindow.setEnabled(true);
    m_dialogOpen = false;
}

void LocatorListEditor::locatorRemove()
{
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    delete m_lstLocators.takeItem(row);
    // The list would otherwise select a neighbour, and a second Remove would take an entry the
    // user never chose.
    m_lstLocators.clearSelection();
}

void LocatorListEditor::locatorUp()
{
    const int row = selectedRow();
    if (row > 0) {
        exchangeWith(row, row - 1);
    }
}

void LocatorListEditor::locatorDown()
{
    const int row = selectedRow();
    if (row >= 0 && row < m_lstLocators.count() - 1) {
        exchangeWith(row, row + 1);
    }
}

AddLocatorDialog* LocatorListEditor::dialog() const
{
    return m_dialogOpen ? m_frmAdd.get() : nullptr;
}

int LocatorListEditor::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_lstLocators.selectedItems();
    return selected.isEmpty() ? -1 : m_lstLocators.row(selected.constFirst());
}

void LocatorListEditor::exchangeWith(int row, int other)
{
    QListWidgetItem* moved = m_lstLocators.item(row);
    QListWidgetItem* neighbour = m_lstLocators.item(other);
    const QString text = moved->text();
    moved->setText(neighbour->text());
    neighbour->setText(text);
    m_lstLocators.setCurrentRow(other, QItemSelectionModel::ClearAndSelect);
}
