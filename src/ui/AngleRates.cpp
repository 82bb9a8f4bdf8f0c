#include "ui/AngleRates.h"

#include "ui/EngineRateProbe.h"

namespace vistrel::ui {
namespace {

template <typename Part, typename Real>
std::unique_ptr<Part> orReal(std::unique_ptr<Part> given, QWidget* window) {
    return given ? std::move(given) : std::make_unique<Real>(window);
}

}  // namespace

AngleRates::AngleRates(std::unique_ptr<model::ClipRateProbe> rates, model::QuestionBox& questions,
                       std::string conformedFolder, model::MessageSink& messages, QWidget* window)
    : rates_(orReal<model::ClipRateProbe, EngineRateProbe>(std::move(rates), window)),
      matching_{
          *rates_, questions, messages,
          conformedFolder.empty() ? model::RateMatching::conformedFolderForPlatform() : std::move(conformedFolder)} {}

}  // namespace vistrel::ui
