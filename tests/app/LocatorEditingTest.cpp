#include "AddLocatorDialog.h"
#include "LocatorListEditor.h"
#include "MainController.h"
#include "MainWindow.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// How the add dialog is left; None for the other buttons.
enum class Leave { None, Ok, Cancel, TitleBar, Escape };

} // namespace

// The Settings tab's locator buttons on the list a, b, c with one entry or none selected. The
// rows share one window, so a dialog that kept the text of the last would show it in the next.
TEST(LocatorEditing, EachButtonOnEachSelection)
{
    const struct
    {
        const char* name;
        int selected;
        QString button;
        QString typed;
        Leave leave;
        QString after; // the entries then, joined by "|"
        int selectedAfter;
    } rows[] = {
        {"add as typed", -1, u"locatorAdd"_s, u" new.example/ip "_s, Leave::Ok, u"a|b|c| new.example/ip "_s, -1},
        {"add a second copy", 1, u"locatorAdd"_s, u"a"_s, Leave::Ok, u"a|b|c|a"_s, 1},
        {"add nothing", -1, u"locatorAdd"_s, QString(), Leave::Ok, u"a|b|c"_s, -1},
        // The settings file could not give it back: the dialog stays, the text kept to correct.
        {"a double quote", -1, u"locatorAdd"_s, u"\"x"_s, Leave::Ok, u"a|b|c"_s, -1},
        {"cancel", -1, u"locatorAdd"_s, u"typed"_s, Leave::Cancel, u"a|b|c"_s, -1},
        {"title bar close", -1, u"locatorAdd"_s, u"typed"_s, Leave::TitleBar, u"a|b|c"_s, -1},
        {"escape", -1, u"locatorAdd"_s, u"typed"_s, Leave::Escape, u"a|b|c"_s, -1},
        {"remove without a choice", -1, u"locatorRemove"_s, QString(), Leave::None, u"a|b|c"_s, -1},
        {"remove", 1, u"locatorRemove"_s, QString(), Leave::None, u"a|c"_s, -1},
        {"up without a choice", -1, u"locatorUp"_s, QString(), Leave::None, u"a|b|c"_s, -1},
        {"up", 1, u"locatorUp"_s, QString(), Leave::None, u"b|a|c"_s, 0},
        {"up from the top", 0, u"locatorUp"_s, QString(), Leave::None, u"a|b|c"_s, 0},
        {"down without a choice", -1, u"locatorDown"_s, QString(), Leave::None, u"a|b|c"_s, -1},
        {"down", 1, u"locatorDown"_s, QString(), Leave::None, u"a|c|b"_s, 2},
        {"down from the bottom", 2, u"locatorDown"_s, QString(), Leave::None, u"a|b|c"_s, 2},
    };
    InProcessProgram p;
    p.seed();
    MainWindow& w = p.load().window();
    w.show();
    QListWidget& list = *w.locatorList();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        list.clear();
        list.addItems({u"a"_s, u"b"_s, u"c"_s});
        list.setCurrentRow(row.selected, QItemSelectionModel::ClearAndSelect);
        w.button(row.button)->click();
        if (AddLocatorDialog* dialog = p.main().locatorEditor().dialog()) {
            EXPECT_FALSE(w.isEnabled()) << "the dialog alone takes input";
            QTest::keyClicks(dialog->domainBox(), row.typed);
            row.leave == Leave::Ok       ? dialog->okButton()->click()
            : row.leave == Leave::Cancel ? dialog->cancelButton()->click()
            : row.leave == Leave::Escape ? QTest::keyClick(dialog, Qt::Key_Escape)
                                         : void(dialog->close());
            if (row.typed.contains(u'"')) {
                EXPECT_EQ(p.desktop.lastMessage().text,
                          u"The IP locator cannot contain the double quote character "
                          u"(\")\r\nPlease remove it: the settings files cannot hold it"_s);
                EXPECT_EQ(dialog->domainText(), row.typed);
                dialog->cancelButton()->click();
            }
            EXPECT_EQ(p.main().locatorEditor().dialog(), nullptr);
        }
        EXPECT_TRUE(w.isEnabled());
        EXPECT_EQ(w.locators().join(u'|'), row.after);
        const auto selected = list.selectedItems();
        EXPECT_EQ(selected.isEmpty() ? -1 : list.row(selected.constFirst()), row.selectedAfter);
    }
}
