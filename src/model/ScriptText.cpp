#include "model/ScriptText.h"

namespace vistrel::model {

ScriptText& ScriptText::line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
    ++lineCount_;
    return *this;
}

}  // namespace vistrel::model
