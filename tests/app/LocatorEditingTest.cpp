#include "AddLocatorDialog.h"
#include "LocatorListEditor.h"

#include "support/QtPrinters.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class LocatorEditingTest : public ::testing::Test
{
protected:
    LocatorEditingTest()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(list);
        for (QPushButton* button : {add, remove, up, down}) {
            layout->addWidget(button);
        }
        editor.attach(add, remove, up, down);
        window.show();
    }

    void fill(const QStringList& entries)
    {
        list->addItems(entries);
        list->clearSelection();
    }

    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts.append(list->item(i)->text());
        }
        return texts;
    }

    // The selected row, -1 for none; fails when more than one entry is selected.
    int selected() const
    {
        const auto items = list->selectedItems();
        EXPECT_LE(items.size(), 1);
        return items.isEmpty() ? -1 : list->row(items.first());
    }

    void select(int row) { list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }

    AddLocatorDialog* openDialog()
    {
        QTest::mouseClick(add, Qt::LeftButton);
        return editor.dialog();
    }

    void addThroughDialog(const QString& text)
    {
        AddLocatorDialog* dialog = openDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->findChild<QLineEdit*>(u"txtDomain"_s), text);
        QTest::mouseClick(dialog->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    }

    QWidget window;
    QListWidget* list = new QListWidget;
    QPushButton* add = new QPushButton(u"Add"_s);
    QPushButton* remove = new QPushButton(u"Remove"_s);
    QPushButton* up = new QPushButton(u"Up"_s);
    QPushButton* down = new QPushButton(u"Down"_s);
    LocatorListEditor editor{*list, window, u"127.0.0.1:8780/echo1"_s};
};

TEST_F(LocatorEditingTest, AddShowsTheDialogWithoutModalityAndDisablesTheMainWindow)
{
    AddLocatorDialog* opened = openDialog();
    ASSERT_NE(opened, nullptr);
    AddLocatorDialog& dialog = *opened;
    EXPECT_EQ(dialog.objectName(), u"frmAdd"_s);
    EXPECT_EQ(dialog.windowTitle(), u" Add Locator"_s);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialog.isEnabled()) << "the dialog alone takes input";
    EXPECT_FALSE(window.isEnabled());
    EXPECT_FALSE(add->isEnabled());

    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.append(label->text());
    }
    EXPECT_TRUE(labels.contains(u"Enter the IP Locator Domain:"_s)) << labels.join(u'|').toStdString();
    EXPECT_TRUE(labels.contains(u"Like this:"_s));
    EXPECT_TRUE(labels.contains(u"127.0.0.1:8780/echo1"_s)) << "the example passed in";
    EXPECT_EQ(dialog.findChild<QPushButton*>(u"cmdOK"_s)->text(), u"&OK"_s);
    EXPECT_EQ(dialog.findChild<QPushButton*>(u"cmdCancel"_s)->text(), u"&Cancel"_s);
    EXPECT_TRUE(dialog.findChild<QLineEdit*>(u"txtDomain"_s)->text().isEmpty());
}

TEST_F(LocatorEditingTest, OkAppendsTheTextUnchangedAndEnablesTheMainWindow)
{
    fill({u"a.example"_s, u"b.example"_s});
    addThroughDialog(u" new.example/ip "_s);
    EXPECT_EQ(entries(), (QStringList{u"a.example"_s, u"b.example"_s, u" new.example/ip "_s}));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(editor.dialog(), nullptr);

    addThroughDialog(u"a.example"_s);
    EXPECT_EQ(entries(), (QStringList{u"a.example"_s, u"b.example"_s, u" new.example/ip "_s, u"a.example"_s}))
        << "a duplicate is a second copy at the end";
}

TEST_F(LocatorEditingTest, OkWithAnEmptyBoxAddsNothingAndCloses)
{
    fill({u"a.example"_s});
    AddLocatorDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    EXPECT_EQ(entries(), QStringList{u"a.example"_s});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(editor.dialog(), nullptr);
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(LocatorEditingTest, EveryOtherWayOutLeavesTheListAndEnablesTheMainWindow)
{
    fill({u"a.example"_s});
    const auto cancel = [](AddLocatorDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(u"cmdCancel"_s), Qt::LeftButton);
    };
    const auto titleBarClose = [](AddLocatorDialog& d) { d.close(); };
    const auto escape = [](AddLocatorDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    for (const auto& leave : {+cancel, +titleBarClose, +escape}) {
        AddLocatorDialog* dialog = openDialog();
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->findChild<QLineEdit*>(u"txtDomain"_s), u"typed.example"_s);
        ASSERT_FALSE(window.isEnabled());
        leave(*dialog);
        EXPECT_EQ(entries(), QStringList{u"a.example"_s});
        EXPECT_EQ(editor.dialog(), nullptr);
        EXPECT_TRUE(window.isEnabled());
        EXPECT_TRUE(add->isEnabled());
    }
    AddLocatorDialog* again = openDialog();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->domainText().isEmpty()) << "a new dialog keeps nothing of the last";
}

TEST_F(LocatorEditingTest, RemoveTakesOnlyTheSelectedEntry)
{
    fill({u"a"_s, u"b"_s, u"c"_s});
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"b"_s, u"c"_s})) << "nothing selected";

    select(1);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"c"_s}));
    EXPECT_EQ(selected(), -1);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"c"_s})) << "a second Remove needs a new choice";
}

TEST_F(LocatorEditingTest, MoveUpExchangesWithTheEntryAboveAndTheSelectionFollows)
{
    fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s})) << "nothing selected";

    select(1);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"b"_s, u"a"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(selected(), 0);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"b"_s, u"a"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(selected(), 0);
}

TEST_F(LocatorEditingTest, MoveDownExchangesWithTheEntryBelowAndTheSelectionFollows)
{
    fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s})) << "nothing selected";

    select(2);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"b"_s, u"d"_s, u"c"_s}));
    EXPECT_EQ(selected(), 3);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(entries(), (QStringList{u"a"_s, u"b"_s, u"d"_s, u"c"_s}));
    EXPECT_EQ(selected(), 3);
    EXPECT_EQ(list->count(), 4);
}

} // namespace
