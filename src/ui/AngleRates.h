#pragma once
// What the main window passes to the edit to keep angles of different frame
// rates in step (model/MixedRates.h): the engine's rate probe, the window's
// question box and the conformed folder, or the stand-ins a test gives.

#include "model/MixedRates.h"

#include <QWidget>

#include <memory>
#include <string>

namespace vistrel::ui {

class AngleRates {
public:
    // Empty parts mean the real ones; an empty folder, $XDG_DATA_HOME/vistrel/conformed.
    AngleRates(std::unique_ptr<model::ClipRateProbe> rates, model::QuestionBox& questions, std::string conformedFolder,
               model::MessageSink& messages, QWidget* window);

    model::RateMatching& matching() { return matching_; }

private:
    std::unique_ptr<model::ClipRateProbe> rates_;
    model::RateMatching matching_;
};

}  // namespace vistrel::ui
