#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "common/view_state.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"
#include "pickers/popover.hpp"
#include "view_test_support.hpp"

namespace {

using viewtest::click;
using viewtest::findNamed;
using viewtest::pressKey;
using Strings = std::vector<std::string>;

const QString kFrom = QStringLiteral("liveTranslation.sourceLanguagePicker.option.");
const QString kTo = QStringLiteral("liveTranslation.targetLanguagePicker.option.");

class LanguagePickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(40, 40, 300, 60);
        anchor = new QPushButton(QStringLiteral("AUTO → EN"), &window);
        anchor->setGeometry(100, 10, 100, 24);
        window.show();
        picker = new LiveTranslationLanguagePicker(&recorder.model, &state);
        popover = new LiveTranslationPopover(&window);
        popover->setContent(picker);
        connect(&recorder.model);
    }

    void connect(LiveTranslationHelperModel *model)
    {
        QObject::connect(model, &LiveTranslationHelperModel::snapshotChanged, picker,
            [this] { picker->render(recorder.model.snapshot(), LiveTranslationPalette::light()); });
    }

    void open(const LiveTranslationHelperSnapshot &snapshot)
    {
        recorder.model.applySnapshot(snapshot);
        popover->present(anchor);
        ASSERT_TRUE(viewtest::waitUntilActive(popover));
    }

    LiveTranslationPickerRow *row(const QString &name) const
    {
        return qobject_cast<LiveTranslationPickerRow *>(findNamed(picker, name));
    }

    // The ids shown in a column, top to bottom, with a * on the marked ones.
    Strings shown(const QString &prefix) const
    {
        Strings result;
        for (QWidget *widget : viewtest::visibleNamed(picker, prefix)) {
            auto *r = qobject_cast<LiveTranslationPickerRow *>(widget);
            result.push_back(r->id().toStdString() + (r->isSelected() ? "*" : ""));
        }
        return result;
    }

    QWidget window;
    QPushButton *anchor = nullptr;
    viewtest::RecordingModel recorder;
    LiveTranslationViewState state;
    LiveTranslationLanguagePicker *picker = nullptr;
    LiveTranslationPopover *popover = nullptr;
};

TEST_F(LanguagePickerTest, ChoosingARowSendsOneCommandAndLeavesPickerAndMarksAlone)
{
    open(viewtest::withLanguages(5, "l1", "l2"));
    state.setLanguageSearch(QString());
    click(row(kFrom + "l3"));
    EXPECT_EQ(recorder.sent(), Strings {"set_source_language:l3"});
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(shown(kFrom), (Strings {"l0", "l1*", "l2", "l3", "l4"}));

    // The chosen entry sends all the same.
    click(row(kTo + "l2"));
    EXPECT_EQ(recorder.sent(), (Strings {"set_source_language:l3", "set_target_language:l2"}));
    EXPECT_EQ(shown(kTo), (Strings {"l0", "l1", "l2*", "l3", "l4"}));

    // Only the next snapshot moves the marks.
    recorder.model.applySnapshot(viewtest::withLanguages(5, "l3", "l0"));
    EXPECT_EQ(shown(kFrom), (Strings {"l0", "l1", "l2", "l3*", "l4"}));
    EXPECT_EQ(shown(kTo), (Strings {"l0*", "l1", "l2", "l3", "l4"}));
    EXPECT_EQ(recorder.commands.size(), 2U);
}

TEST_F(LanguagePickerTest, MarksFollowIdsExactlyIncludingUnknownAndRepeatedOnes)
{
    auto snapshot = viewtest::withLanguages(3, "nowhere", "L1");
    snapshot.targetLanguages.push_back({"l1", "Again"});
    open(snapshot);
    EXPECT_EQ(shown(kFrom), (Strings {"l0", "l1", "l2"}));
    EXPECT_EQ(shown(kTo), (Strings {"l0", "l1", "l2", "l1"}));
    snapshot.targetLanguage = "l1";
    recorder.model.applySnapshot(snapshot);
    EXPECT_EQ(shown(kTo), (Strings {"l0", "l1*", "l2", "l1*"}));
    // Assistive technology reads the rows as items of a list, the marked ones selected.
    const auto item
        = [this](const QString &name) { return QAccessible::queryAccessibleInterface(row(name)); };
    EXPECT_EQ(item(kTo + "l2")->role(), QAccessible::ListItem);
    EXPECT_FALSE(item(kTo + "l2")->state().selected);
    EXPECT_TRUE(item(kTo + "l1")->state().selected);
}

TEST_F(LanguagePickerTest, SearchFiltersBothColumnsAndOutlivesChoicesAndClosing)
{
    open(viewtest::withLanguages(40));
    QTest::keyClicks(picker->searchField(), QStringLiteral("  LANGUAGE 001"));
    EXPECT_EQ(state.languageSearch(), QStringLiteral("  LANGUAGE 001"));
    const Strings tens = {"l10", "l11", "l12", "l13", "l14", "l15", "l16", "l17", "l18", "l19"};
    EXPECT_EQ(picker->sourceColumn()->options().size(), 10U);
    EXPECT_EQ(picker->targetColumn()->options().size(), 10U);
    EXPECT_EQ(shown(kFrom).front(), "l10");
    EXPECT_EQ(shown(kTo).front(), "l10");

    click(row(kFrom + "l12"));
    EXPECT_EQ(state.languageSearch(), QStringLiteral("  LANGUAGE 001"));
    popover->dismiss();
    popover->present(anchor);
    EXPECT_EQ(picker->searchField()->text(), QStringLiteral("  LANGUAGE 001"));
    EXPECT_EQ(picker->sourceColumn()->options().size(), 10U);

    // The id is never searched; a search that matches nothing empties both columns.
    picker->searchField()->setText(QStringLiteral("l1"));
    EXPECT_TRUE(shown(kFrom).empty());
    EXPECT_TRUE(shown(kTo).empty());
    EXPECT_EQ(picker->sourceColumn()->list()->count(), 0);

    // Blanks only show everything again; the view's state is what the field shows.
    state.setLanguageSearch(QStringLiteral(" \n "));
    picker->render(recorder.model.snapshot(), LiveTranslationPalette::light());
    EXPECT_EQ(picker->searchField()->text(), QStringLiteral(" \n "));
    EXPECT_EQ(picker->sourceColumn()->options().size(), 40U);
    EXPECT_EQ(recorder.sent(), Strings {"set_source_language:l12"});
}

TEST_F(LanguagePickerTest, ReturnInTheSearchFieldOrLeavingItSendsNothing)
{
    open(viewtest::withLanguages(3));
    ASSERT_EQ(QApplication::focusWidget(), picker->searchField());
    QTest::keyClicks(picker->searchField(), QStringLiteral("Language 0002"));
    pressKey(Qt::Key_Return);
    pressKey(Qt::Key_Enter);
    pressKey(Qt::Key_Tab);
    EXPECT_TRUE(recorder.commands.empty());
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(state.languageSearch(), QStringLiteral("Language 0002"));
}

TEST_F(LanguagePickerTest, SwapIsDisabledExactlyWhileTheHostDetectsTheSource)
{
    auto *swap = qobject_cast<QAbstractButton *>(
        findNamed(picker, QStringLiteral("liveTranslation.swapLanguagesButton")));
    ASSERT_NE(swap, nullptr);
    EXPECT_EQ(swap->accessibleName(), QStringLiteral("Swap source and target languages"));
    for (const char *source : {"multi", "auto"}) {
        open(viewtest::withLanguages(3, source, "en"));
        EXPECT_FALSE(swap->isEnabled()) << source;
        click(swap);
        swap->click();
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(swap);
        if (iface && iface->actionInterface())
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(recorder.commands.empty()) << source;
    }
    for (const char *source : {"Multi", "AUTO", "en"}) {
        auto snapshot = viewtest::withLanguages(0, source, "en");
        snapshot.isSessionActive = true;
        recorder.model.applySnapshot(snapshot);
        EXPECT_TRUE(swap->isEnabled()) << source;
    }
    click(swap);
    EXPECT_EQ(recorder.sent(), Strings {"swap_languages"});
}

TEST_F(LanguagePickerTest, RowsAreBuiltOnlyAsTheyScrollIntoView)
{
    open(viewtest::withLanguages(1000, "l500", "l0"));
    LiveTranslationLazyList *from = picker->sourceColumn()->list();
    EXPECT_EQ(from->count(), 1000);
    EXPECT_LT(from->builtCount(), 30);
    // Opening shows the chosen row.
    ASSERT_NE(row(kFrom + "l500"), nullptr);
    EXPECT_TRUE(row(kFrom + "l500")->isSelected());
    EXPECT_EQ(row(kFrom + "l0"), nullptr);
    EXPECT_NE(row(kTo + "l0"), nullptr);
    // Assistive technology reads every entry at its true place, built or not.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(from);
    QAccessibleInterface *chosen = QAccessible::queryAccessibleInterface(row(kFrom + "l500"));
    EXPECT_EQ(list->childCount(), 1000);
    EXPECT_EQ(chosen->parent(), list);
    EXPECT_EQ(list->indexOfChild(chosen), 500);
    EXPECT_EQ(list->child(500), chosen);
    // An entry not built is an item all the same, named by its option.
    QAccessibleInterface *first = list->child(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Language 0000"));
    EXPECT_EQ(list->indexOfChild(first), 0);
    EXPECT_EQ(list->child(-1), nullptr);
    EXPECT_EQ(list->child(1000), nullptr);

    from->verticalScrollBar()->setValue(from->verticalScrollBar()->maximum());
    EXPECT_NE(row(kFrom + "l999"), nullptr);
    EXPECT_EQ(row(kFrom + "l500"), nullptr);
    EXPECT_LT(from->builtCount(), 30);
    click(row(kFrom + "l998"));
    EXPECT_EQ(recorder.sent(), Strings {"set_source_language:l998"});
}

TEST_F(LanguagePickerTest, EachListIsOneTabStopEnteredAtTheChosenRow)
{
    open(viewtest::withLanguages(5, "l2", "l3"));
    EXPECT_EQ(QApplication::focusWidget(), picker->searchField());
    pressKey(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l2"));
    pressKey(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l3"));
    pressKey(Qt::Key_Space);
    pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(),
        QStringLiteral("liveTranslation.swapLanguagesButton"));
    pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), row(kTo + "l3"));
    pressKey(Qt::Key_Home);
    EXPECT_EQ(QApplication::focusWidget(), row(kTo + "l0"));
    pressKey(Qt::Key_End);
    pressKey(Qt::Key_Return);
    EXPECT_EQ(recorder.sent(), (Strings {"set_source_language:l3", "set_target_language:l4"}));
    pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), picker->searchField());
    pressKey(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), row(kTo + "l3"));
    pressKey(Qt::Key_Backtab);
    pressKey(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l2"));
    pressKey(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), picker->searchField());
    // Typing on a row goes on in the search field.
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_4);
    EXPECT_EQ(QApplication::focusWidget(), picker->searchField());
    EXPECT_EQ(state.languageSearch(), QStringLiteral("4"));
    EXPECT_EQ(recorder.commands.size(), 2U);
}

TEST_F(LanguagePickerTest, KeyboardBuildsTheRowsItMovesToInALongList)
{
    open(viewtest::withLanguages(1000, "l0", "l0"));
    pressKey(Qt::Key_Tab);
    pressKey(Qt::Key_End);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l999"));
    pressKey(Qt::Key_PageUp);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l993"));
    pressKey(Qt::Key_Home);
    for (int i = 0; i < 6; ++i)
        pressKey(Qt::Key_PageDown);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l36"));
    EXPECT_LT(picker->sourceColumn()->list()->builtCount(), 30);
    // A filter that removes the focused row hands the focus to a row that stays.
    picker->searchField()->setText(QStringLiteral("Language 000"));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), row(kFrom + "l9"));
    EXPECT_TRUE(recorder.commands.empty());
}

TEST_F(LanguagePickerTest, HostTextIsShownAsPlainText)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.sourceLanguages = {{"x&y", "<b>R&B</b>"}, {"nameless", " "}};
    open(snapshot);
    EXPECT_EQ(row(kFrom + "nameless")->accessibleName(), QStringLiteral("nameless"));
    LiveTranslationPickerRow *r = row(kFrom + "x&y");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->accessibleName(), QStringLiteral("<b>R&B</b>"));
    EXPECT_TRUE(r->shortcut().isEmpty());
    EXPECT_TRUE(r->text().isEmpty());
    click(r);
    EXPECT_EQ(recorder.sent(), Strings {"set_source_language:x&y"});
}

} // namespace
