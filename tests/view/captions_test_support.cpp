#include "captions_test_support.hpp"

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "captions_view.hpp"

namespace captionstest {

LiveTranslationHelperCommittedCard card(
    const std::string &id, const std::string &translation, const std::string &source)
{
    return {.id = id, .sourceText = source, .translatedText = translation, .committedAt = 7e8};
}

LiveTranslationHelperSnapshot withCards(int count, int firstId)
{
    LiveTranslationHelperSnapshot snapshot;
    for (int i = firstId; i < firstId + count; ++i) {
        const std::string n = std::to_string(i);
        snapshot.committedCards.push_back(card("card-" + n,
            "Translated sentence number " + n + " reads like this", "Originalsatz Nummer " + n));
    }
    return snapshot;
}

RecordingModel::RecordingModel()
{
    model.setCommandSender(
        [this](const LiveTranslationHelperCommand &command) { commands.push_back(command); });
}

ShownColumn::ShownColumn(int height)
    : window(std::make_unique<QWidget>())
{
    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    view = new LiveTranslationCaptionsView(window.get());
    layout->addWidget(view);
    window->resize(520, height);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

} // namespace captionstest

// GoogleTest's entry point inside an application, as the widgets need one.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
