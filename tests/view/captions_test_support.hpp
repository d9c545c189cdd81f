#pragma once

// Shared helpers of the captions' widget tests: snapshots with cards, a model whose commands are
// recorded, and a column shown in a window of the panel's size.

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "model.hpp"
#include "wire_types.hpp"

class LiveTranslationCaptionsView;

namespace captionstest {

LiveTranslationHelperCommittedCard card(const std::string &id, const std::string &translation,
    const std::string &source = "Original text");

// A snapshot with n cards "card-0" .. "card-(n-1)", each with a few words of text.
LiveTranslationHelperSnapshot withCards(int count, int firstId = 0);

// A model whose commands are recorded.
struct RecordingModel {
    LiveTranslationHelperModel model;
    std::vector<LiveTranslationHelperCommand> commands;

    RecordingModel();
};

// The captions column in a shown window, 520 wide.
struct ShownColumn {
    std::unique_ptr<QWidget> window;
    LiveTranslationCaptionsView *view;

    explicit ShownColumn(int height = 500);
};

} // namespace captionstest
