#include "model/TextField.h"

namespace vistrel::model {

void TextField::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (listener_) listener_(text_);
    if (ownerHears_) ownerHears_();
}

}  // namespace vistrel::model
