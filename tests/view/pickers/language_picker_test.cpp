#include <QScrollBar>

#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

TEST_P(Pickers, ChoosingALanguageSendsOneCommandAndOnlyTheSnapshotMarksIdsExactly)
{
    auto snapshot = withLanguages(3, "x&y", "L1");
    snapshot.targetLanguages.push_back({"l1", "Again"});
    snapshot.sourceLanguages = {{"x&y", "<b>R&B</b>"}, {"nameless", " "}, {"l1", "One"}};
    open(languages, snapshot);
    click(row(kFrom + "x&y")); // the chosen entry sends all the same
    click(row(kTo + "l2"));
    EXPECT_EQ(recorder.sent(), (Strings {"set_source_language:x&y", "set_target_language:l2"}));
    EXPECT_TRUE(languages->isVisible());
    EXPECT_EQ(shown(kFrom), (Strings {"x&y*", "nameless", "l1"}));
    EXPECT_EQ(shown(kTo), (Strings {"l0", "l1", "l2", "l1"}));
    snapshot.sourceLanguage = snapshot.targetLanguage = "l1";
    apply(snapshot);
    EXPECT_EQ(shown(kFrom), (Strings {"x&y", "nameless", "l1*"}));
    EXPECT_EQ(shown(kTo), (Strings {"l0", "l1*", "l2", "l1*"}));
    // Assistive technology reads the rows as items of a list, the marked ones selected, named by
    // the host's text as it is, or by the id when that is blank.
    const auto item
        = [this](const QString &n) { return QAccessible::queryAccessibleInterface(row(n)); };
    EXPECT_EQ(item(kTo + "l2")->role(), QAccessible::ListItem);
    EXPECT_FALSE(item(kTo + "l2")->state().selected);
    EXPECT_TRUE(item(kTo + "l1")->state().selected);
    EXPECT_EQ(item(kFrom + "nameless")->text(QAccessible::Name), QStringLiteral("nameless"));
    EXPECT_EQ(item(kFrom + "x&y")->text(QAccessible::Name), QStringLiteral("<b>R&B</b>"));
    EXPECT_TRUE(row(kFrom + "x&y")->shortcut().isEmpty());
    EXPECT_TRUE(row(kFrom + "x&y")->text().isEmpty());
}

TEST_P(Pickers, SearchFiltersBothColumnsOutlivesAChoiceAndFollowsTheViewsState)
{
    open(languages, withLanguages(40));
    QLineEdit *field = languagePicker->searchField();
    ASSERT_EQ(focused(), field);
    EXPECT_EQ(field->accessibleName(), QStringLiteral("Search languages"));
    QTest::keyClicks(field, QStringLiteral("  LANGUAGE 001"));
    pressKey(Qt::Key_Return); // sends nothing
    EXPECT_EQ(view->viewState()->languageSearch(), QStringLiteral("  LANGUAGE 001"));
    EXPECT_EQ(shown(kFrom).size(), 10U);
    EXPECT_EQ(shown(kTo).front(), "l10");
    click(row(kFrom + "l12"));
    field->setText(QStringLiteral("none"));
    EXPECT_TRUE(shown(kFrom).empty());
    EXPECT_TRUE(shown(kTo).empty());
    EXPECT_EQ(languagePicker->targetColumn()->list()->count(), 0);
    view->viewState()->setLanguageSearch(QString());
    apply(withLanguages(40));
    EXPECT_EQ(field->text(), QString());
    EXPECT_EQ(languagePicker->targetColumn()->options().size(), 40U);
    EXPECT_EQ(recorder.sent(), Strings {"set_source_language:l12"});
}

TEST_P(Pickers, SwapIsDisabledWhileTheHostDetectsTheSource)
{
    auto *swap
        = languagePicker->findChild<QAbstractButton *>("liveTranslation.swapLanguagesButton");
    EXPECT_EQ(swap->accessibleName(), QStringLiteral("Swap source and target languages"));
    open(languages, withLanguages(3, "auto", "en"));
    EXPECT_FALSE(swap->isEnabled());
    click(swap);
    auto snapshot = withLanguages(3, "en", "auto");
    snapshot.isSessionActive = true;
    apply(snapshot);
    EXPECT_TRUE(swap->isEnabled());
    click(swap);
    EXPECT_EQ(recorder.sent(), Strings {"swap_languages"});
}

TEST_P(Pickers, EachLanguageListIsOneTabStopEnteredAtTheChosenRowAndKeysMoveInIt)
{
    open(languages, withLanguages(5, "l2", "l3"));
    const QString search = QStringLiteral("liveTranslation.languageSearchField");
    const QString swap = QStringLiteral("liveTranslation.swapLanguagesButton");
    const std::vector<std::pair<Qt::Key, QString>> walk {{Qt::Key_Down, kFrom + "l2"},
        {Qt::Key_Down, kFrom + "l3"}, {Qt::Key_Space, kFrom + "l3"}, {Qt::Key_Tab, swap},
        {Qt::Key_Tab, kTo + "l3"}, {Qt::Key_Home, kTo + "l0"}, {Qt::Key_End, kTo + "l4"},
        {Qt::Key_Up, kTo + "l3"}, {Qt::Key_Return, kTo + "l3"}, {Qt::Key_Tab, search},
        {Qt::Key_Backtab, kTo + "l3"}, {Qt::Key_Backtab, swap}, {Qt::Key_Backtab, kFrom + "l2"},
        {Qt::Key_Backtab, search}, {Qt::Key_Down, kFrom + "l2"}, {Qt::Key_4, search}};
    for (const auto &[key, name] : walk) {
        pressKey(key);
        EXPECT_EQ(focused()->objectName(), name) << key;
    }
    EXPECT_EQ(recorder.sent(), (Strings {"set_source_language:l3", "set_target_language:l3"}));
    // Typing on a row goes on in the search field.
    EXPECT_EQ(view->viewState()->languageSearch(), QStringLiteral("4"));
}

TEST_P(Pickers, LanguageRowsAreBuiltAsTheyComeIntoViewAndAllAreReadAtTheirPlace)
{
    open(languages, withLanguages(1000, "l500", "l0"));
    LiveTranslationLazyList *from = languagePicker->sourceColumn()->list();
    EXPECT_LT(from->builtCount(), 30);
    EXPECT_EQ(row(kFrom + "l0"), nullptr);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(from);
    QAccessibleInterface *chosen = QAccessible::queryAccessibleInterface(row(kFrom + "l500"));
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("FROM"));
    EXPECT_EQ(list->childCount(), 1000);
    EXPECT_EQ(chosen->parent(), list);
    EXPECT_EQ(list->indexOfChild(chosen), 500);
    // An entry not built is an item all the same, named by its option.
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), QStringLiteral("Language 0000"));
    EXPECT_EQ(list->indexOfChild(list->child(0)), 0);
    EXPECT_EQ(list->child(1000), nullptr);
    from->verticalScrollBar()->setValue(from->verticalScrollBar()->maximum());
    EXPECT_EQ(row(kFrom + "l500"), nullptr);

    languagePicker->findChild<QAbstractButton *>("liveTranslation.swapLanguagesButton")->setFocus();
    pressKey(Qt::Key_Tab);
    const std::vector<std::pair<Qt::Key, QString>> walk {{Qt::Key_End, "l999"},
        {Qt::Key_PageUp, "l993"}, {Qt::Key_Home, "l0"}, {Qt::Key_PageDown, "l6"},
        {Qt::Key_PageDown, "l12"}};
    for (const auto &[key, id] : walk) {
        pressKey(key);
        EXPECT_EQ(focused()->objectName(), kTo + id) << key;
    }
    EXPECT_LT(languagePicker->targetColumn()->list()->builtCount(), 30);
    // A filter that removes the focused row hands the focus to a row that stays.
    languagePicker->searchField()->setText(QStringLiteral("Language 000"));
    EXPECT_EQ(focused(), row(kTo + "l9"));
    EXPECT_TRUE(recorder.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(Light, Pickers, ::testing::Values(LiveTranslationColorScheme::light));

} // namespace
